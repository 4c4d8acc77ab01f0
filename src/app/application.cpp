#include "app/application.h"

#include "app/commandline.h"
#include "app/mdihelpdesk.h"
#include "app/terminal.h"
#include "app/windowconventions.h"
#include "data/database.h"
#include "data/databasesetup.h"
#include "data/programfolder.h"

#include <QApplication>
#include <iostream>

namespace {

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
    const Status status = DatabaseSetup::create(path, *password, line.demo);
    if (!status) {
        std::cerr << status.message().toStdString() << '\n';
        return 1;
    }
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

    MDIHelpDesk main;
    main.show();
    main.startLogin();
    return QApplication::exec();
}
