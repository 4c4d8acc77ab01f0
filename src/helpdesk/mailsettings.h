#pragma once

#include "data/status.h"

#include <QString>

/** Where and as whom e-mail goes out: section [mail] of quorvane.ini in the program folder. */
struct MailSettings {
    static constexpr const char* FileName = "quorvane.ini";
    static constexpr int DefaultTimeoutSeconds = 60;

    /** smtp://host:port or smtps://host:port */
    QString server;
    QString sender;
    /** Empty when the server takes mail without signing in. */
    QString userName;
    QString password;
    /** Whether a smtp:// connection must switch to TLS before anything else is said. */
    bool startTls = true;
    /** Longest a send may take, connecting included. */
    int timeoutSeconds = DefaultTimeoutSeconds;

    /** The program folder's settings; the error says what is missing or wrong. */
    static Result<MailSettings> read();
    static Result<MailSettings> readFile(const QString& path);
};
