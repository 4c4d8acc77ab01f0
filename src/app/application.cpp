#include "app/application.h"

#include "app/commandline.h"
#include "app/mdihelpdesk.h"
#include "app/terminal.h"
#include "widgets/windowconventions.h"
#include "data/database.h"
#include "data/databasesetup.h"
#include "data/programfolder.h"
#include "reportengine/reportcommand.h"
#include "reportengine/reportpage.h"

#include <QApplication>
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
    if (const Status status = DatabaseSetup::createShop(*password, line.demo); !status) {
        std::cerr << status.message().toStdString() << " No database was created.\n";
        return 1;
    }
    std::cout << "Created "
              << ProgramFolder::filePath(QString::fromLatin1(Database::FileName)).toStdString()
              << (line.demo ? " with the demo shop" : "") << ".\n";
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
    // Work without windows needs no display.
    if (line.wantsReport() && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setWindowIcon(WindowConventions::applicationIcon());
    if (const Status fonts = ReportFonts::install(); !fonts)
        std::cerr << fonts.message().toStdString() << '\n';
    ProgramFolder::layOutShippedFiles();
    if (line.wantsReport())
        return runReportCommand(line.reportLayout, line.reportFormula, line.reportPdf);

    MDIHelpDesk main;
    main.show();
    main.start();
    return QApplication::exec();
}
