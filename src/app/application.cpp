#include "app/application.h"

#include "app/commandline.h"
#include "app/mainwindowplace.h"
#include "app/mdihelpdesk.h"
#include "app/terminal.h"
#include "data/database.h"
#include "data/databasesetup.h"
#include "data/programfolder.h"
#include "data/serversettings.h"
#include "data/shopcopy.h"
#include "reportengine/reportcommand.h"
#include "reportengine/reportpage.h"
#include "upkeep/ownkey.h"
#include "widgets/singlelinetext.h"
#include "widgets/windowconventions.h"

#include <QApplication>
#include <QSettings>
#include <iostream>

namespace {

int createDatabase(const CommandLine& line)
{
    std::optional<QString> password = line.adminPassword;
    if (!password) {
        password = readSecretFromTerminal(QStringLiteral("Password for ADMIN: "));
        const auto again = readSecretFromTerminal(QStringLiteral("Once more: "));
        if (!password || password != again) {
            std::cerr << "The two passwords differ; no database was created.\n";
            return 1;
        }
    }
    if (!line.server.isEmpty()) {
        if (const QString problem = DatabaseSetup::adminPasswordProblem(*password);
            !line.demo && !problem.isEmpty()) {
            std::cerr << problem.toStdString() << " No database was created.\n";
            return 1;
        }
    }
    const Status status = line.server.isEmpty()
                              ? DatabaseSetup::createShop(*password, line.demo)
                              : DatabaseSetup::createOnServer(line.server, *password, line.demo);
    if (!status) {
        std::cerr << status.message().toStdString() << " No database was created.\n";
        return 1;
    }
    const QString created =
        line.server.isEmpty()
            ? ProgramFolder::filePath(QString::fromLatin1(Database::FileName))
            : QStringLiteral("the shop on ") + ServerSettings::describe(line.server);
    std::cout << "Created " << created.toStdString() << (line.demo ? " with the demo shop" : "")
              << ".\n";
    return 0;
}

int copyToServer(const CommandLine& line)
{
    const QString file = ProgramFolder::filePath(QString::fromLatin1(Database::FileName));
    std::optional<ShopKey> key;
    if (!line.keyFile.isEmpty()) {
        const Result<ShopKey> read = ShopKey::readFile(line.keyFile);
        if (!read) {
            std::cerr << read.status().message().toStdString() << " Nothing was copied.\n";
            return 1;
        }
        key = *read;
    }
    const auto copied = ShopCopy::toServer(file, line.copyToServer, key);
    if (!copied) {
        std::cerr << copied.status().message().toStdString();
        if (copied.status().kind() == Status::Kind::WrongKey)
            std::cerr << (key ? " The key file given does not open it either."
                              : " Name the key file that opens it with --key-file FILE.");
        std::cerr << " Nothing was copied.\n";
        return 1;
    }
    qint64 rows = 0;
    for (const ShopCopy::CopiedTable& table : *copied) {
        std::cout << QStringLiteral("%1 %2\n").arg(table.table, -20).arg(table.rows).toStdString();
        rows += table.rows;
    }
    std::cout << QStringLiteral("Copied %1 rows of %2 tables from %3 to %4; every table's count "
                                "matches.\n")
                     .arg(rows)
                     .arg(copied->size())
                     .arg(file, ServerSettings::describe(line.copyToServer))
                     .toStdString();
    return 0;
}

int rekey()
{
    const Result<OwnKey::Moved> moved = OwnKey::protect();
    if (!moved) {
        std::cerr << moved.status().message().toStdString() << '\n';
        return moved.status().isDuplicate() ? 0 : 1;
    }
    std::cout << QStringLiteral("The shop's database is now protected with its own key, in %1. "
                                "Keep a copy of that file, or print the key's recovery sheet, "
                                "away from the computer. The backup made before, %2, still "
                                "opens with the old password.\n")
                     .arg(moved->keyFile, moved->backup)
                     .toStdString();
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
    // The name places the user's data folder and settings.
    QCoreApplication::setApplicationName(QStringLiteral("Quorvane"));
    if (!line.programFolder.isEmpty())
        ProgramFolder::setPath(line.programFolder);
    if (line.createDatabase) {
        QCoreApplication app(argc, argv);
        return createDatabase(line);
    }
    if (!line.copyToServer.isEmpty()) {
        QCoreApplication app(argc, argv);
        return copyToServer(line);
    }
    if (line.rekey) {
        QCoreApplication app(argc, argv);
        return rekey();
    }
    // Work without windows needs no display.
    if (line.wantsReport() && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setWindowIcon(WindowConventions::applicationIcon());
    if (const Status fonts = ReportFonts::install(); !fonts)
        std::cerr << fonts.message().toStdString() << '\n';
    ProgramFolder::layOutShippedFiles();
    if (line.wantsReport())
        return runReportCommand(line.reportLayout, line.reportFormula, line.reportPdf,
                                line.reportCsv);

    SingleLineText::keepInEveryBox();
    MDIHelpDesk main;
    QSettings userSettings(QSettings::NativeFormat, QSettings::UserScope,
                           QStringLiteral("Quorvane"), QStringLiteral("quorvane"));
    MainWindowPlace::restore(main, userSettings);
    main.show();
    main.start();
    const int exitCode = QApplication::exec();
    MainWindowPlace::remember(main, userSettings);
    return exitCode;
}
