#include "upkeep/serverupkeep.h"

#include "data/database.h"
#include "data/serversettings.h"
#include "upkeep/backupfile.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>

namespace ServerUpkeep {

namespace {

// A dump of a ten-year shop takes seconds; a server that does not answer in this time is down.
constexpr int DumpTimeoutMs = 30 * 60 * 1000;

} // namespace

QString dumpTool()
{
    return QStandardPaths::findExecutable(QStringLiteral("pg_dump"));
}

Status backUp(const QString& address, const QString& target)
{
    const QString server = ServerSettings::describe(address);
    const QString tool = dumpTool();
    if (tool.isEmpty())
        return Status::failed(
            QStringLiteral("The shop's data is on the database server %1. pg_dump is not "
                           "installed on this workstation: install the PostgreSQL client "
                           "(postgresql-client), or back up the server with its own tools.")
                .arg(server));
    const QString partial = target + QStringLiteral(".partial");
    QFile::remove(partial);
    QProcess dump;
    dump.setProcessChannelMode(QProcess::MergedChannels);
    dump.start(tool, {QStringLiteral("--format=custom"), QStringLiteral("--no-password"),
                      QStringLiteral("--file=") + partial, QStringLiteral("--dbname=") + address});
    const bool finished = dump.waitForFinished(DumpTimeoutMs);
    const QString said = QString::fromLocal8Bit(dump.readAll()).trimmed();
    if (!finished || dump.exitStatus() != QProcess::NormalExit || dump.exitCode() != 0) {
        dump.kill();
        QFile::remove(partial);
        return Status::failed(QStringLiteral("pg_dump could not back up the database server %1: %2")
                                  .arg(server, said.isEmpty() ? dump.errorString() : said));
    }
    const BackupFile::Outcome replaced = BackupFile::replaceFile(partial, target);
    if (!replaced.isOk()) {
        QFile::remove(partial);
        return Status::failed(QStringLiteral("The backup could not be written to %1: %2")
                                  .arg(target, replaced.detail));
    }
    return Status::ok();
}

Status compact(const QString& address)
{
    Database db = Database::atServer(address);
    if (!db.isOpen())
        return db.openStatus();
    return db.exec(QStringLiteral("VACUUM (ANALYZE)"));
}

} // namespace ServerUpkeep
