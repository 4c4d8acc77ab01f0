#include "app/application.h"

#include "app/commandline.h"
#include "app/mdihelpdesk.h"
#include "app/prompter.h"
#include "app/terminal.h"
#include "app/windowconventions.h"
#include "data/database.h"
#include "data/databasesetup.h"
#include "data/programfolder.h"
#include "data/schema.h"
#include "reports/reportcommand.h"

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <iostream>

namespace {

// A program folder other than the executable's gets the shipped files it lacks (report layouts,
// the default employee picture, the user guide), so that a new shop's folder is complete.
void layOutShippedFiles()
{
    const QDir shipped(QCoreApplication::applicationDirPath());
    const QDir target(ProgramFolder::path());
    if (shipped == target)
        return;
    for (const QString& folder :
         {QStringLiteral("Reports"), QStringLiteral("EmpPics"), QStringLiteral("Help")}) {
        QDirIterator it(shipped.filePath(folder), QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString source = it.next();
            const QString copy = target.filePath(shipped.relativeFilePath(source));
            if (QFileInfo::exists(copy))
                continue;
            QDir().mkpath(QFileInfo(copy).path());
            QFile::copy(source, copy);
        }
    }
}

// A file from an earlier release gets the steps it has not had yet before anyone works on it.
void bringDatabaseUpToDate()
{
    Database db;
    if (!db.isOpen())
        return; // the login window says that the database cannot be reached
    if (const Status upgraded = Schema::upgrade(db); !upgraded)
        prompter().message(QStringLiteral("The database could not be brought up to date: %1")
                               .arg(upgraded.message()));
}

int createDatabase(const CommandLine& line)
{
    const QString path = ProgramFolder::filePath(QString::fromLatin1(Database::FileName));
    std::optional<QString> password = line.adminPassword;
    if (!password) {
        password = readSecretFromTerminal(QStringLiteral("Password for ADMIN: "));
        const auto again = readSecretFromTerminal(QStringLiteral("Once more: "));
        if (!password || password != again) {
            std::cerr << "The two passwords differ; no database was created.\n";
            return 1;
        }
    }
    if (password->isEmpty()) {
        std::cerr << "The administrator needs a password; no database was created.\n";
        return 1;
    }
    QDir().mkpath(ProgramFolder::path());
    const Status status = DatabaseSetup::create(path, *password, line.demo);
    if (!status) {
        std::cerr << status.message().toStdString() << '\n';
        return 1;
    }
    layOutShippedFiles();
    std::cout << "Created " << path.toStdString() << (line.demo ? " with the demo shop" : "")
              << ".\n";
    return 0;
}

} // namespace

int runQuorvane(int argc, char* argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const CommandLine line = CommandLine::parse(arguments);
    if (!line.error.isEmpty()) {
        std::cerr << line.error.toStdString() << '\n' << CommandLine::usage().toStdString();
        return 2;
    }
    if (!line.programFolder.isEmpty())
        ProgramFolder::setPath(line.programFolder);
    if (line.createDatabase) {
        QCoreApplication app(argc, argv);
        return createDatabase(line);
    }
    // Work without windows needs no display.
    if (line.wantsReport() && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorvane"));
    QApplication::setWindowIcon(WindowConventions::applicationIcon());
    if (line.wantsReport())
        return runReportCommand(line.reportLayout, line.reportFormula, line.reportPdf);

    bringDatabaseUpToDate();
    MDIHelpDesk main;
    main.show();
    main.startLogin();
    return QApplication::exec();
}
