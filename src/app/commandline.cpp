#include "app/commandline.h"

CommandLine CommandLine::parse(const QStringList& arguments)
{
    CommandLine line;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        auto value = [&](QString& target) {
            if (i + 1 >= arguments.size()) {
                line.error = QStringLiteral("%1 needs a value.").arg(argument);
                return;
            }
            target = arguments[++i];
        };
        if (argument == QLatin1String("--program-folder")) {
            value(line.programFolder);
        } else if (argument == QLatin1String("--create-database")) {
            line.createDatabase = true;
        } else if (argument == QLatin1String("--demo")) {
            line.demo = true;
        } else if (argument == QLatin1String("--admin-password")) {
            QString password;
            value(password);
            line.adminPassword = password;
        } else if (argument == QLatin1String("--server")) {
            value(line.server);
        } else if (argument == QLatin1String("--copy-to-server")) {
            value(line.copyToServer);
        } else if (argument == QLatin1String("--key-file")) {
            value(line.keyFile);
        } else if (argument == QLatin1String("--rekey")) {
            line.rekey = true;
        } else if (argument == QLatin1String("--report")) {
            value(line.reportLayout);
        } else if (argument == QLatin1String("--formula")) {
            value(line.reportFormula);
        } else if (argument == QLatin1String("--pdf")) {
            value(line.reportPdf);
        } else if (argument == QLatin1String("--csv")) {
            value(line.reportCsv);
        } else {
            line.error = QStringLiteral("Unknown option %1.").arg(argument);
        }
        if (!line.error.isEmpty())
            break;
    }
    if (line.error.isEmpty() && (line.demo || line.adminPassword) && !line.createDatabase)
        line.error = QStringLiteral("--demo and --admin-password go with --create-database.");
    if (line.error.isEmpty() && !line.server.isEmpty() && !line.createDatabase)
        line.error = QStringLiteral("--server goes with --create-database.");
    if (line.error.isEmpty() && !line.keyFile.isEmpty() && line.copyToServer.isEmpty())
        line.error = QStringLiteral("--key-file goes with --copy-to-server.");
    if (line.error.isEmpty() && line.wantsReport() && line.reportPdf.isEmpty() &&
        line.reportCsv.isEmpty())
        line.error = QStringLiteral("--report needs --pdf OUT or --csv OUT.");
    return line;
}

QString CommandLine::usage()
{
    return QStringLiteral(
        "Usage: quorvane [--program-folder DIR]\n"
        "       quorvane [--program-folder DIR] --create-database [--demo] [--admin-password PW]\n"
        "       quorvane --create-database --server URL [--demo] [--admin-password PW]\n"
        "       quorvane [--program-folder DIR] --copy-to-server URL [--key-file FILE]\n"
        "       quorvane [--program-folder DIR] --rekey\n"
        "       quorvane [--program-folder DIR] --report LAYOUT [--formula F] --pdf OUT\n"
        "       quorvane [--program-folder DIR] --report LAYOUT [--formula F] --csv OUT [--pdf "
        "OUT]\n");
}
