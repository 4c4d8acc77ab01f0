#pragma once

#include <QString>
#include <QStringList>
#include <optional>

/** What the command line asks the program to do. */
struct CommandLine {
    QString programFolder;
    bool createDatabase = false;
    bool demo = false;
    std::optional<QString> adminPassword;
    /** The database server a new shop is created on, instead of a file. */
    QString server;
    /** The database server the program folder's shop is copied to. */
    QString copyToServer;
    /** The key file that opens the shop's file to copy, when its own keys do not. */
    QString keyFile;
    /** Whether the program folder's shop is moved from the old password to a key of its own. */
    bool rekey = false;
    QString reportLayout;
    QString reportFormula;
    QString reportPdf;
    QString reportCsv;
    QString error;

    bool wantsReport() const { return !reportLayout.isEmpty(); }
    static CommandLine parse(const QStringList& arguments);
    static QString usage();
};
