#include "upkeep/dailybackup.h"

#include "data/database.h"
#include "data/programfolder.h"
#include "data/serversettings.h"
#include "upkeep/backupfile.h"
#include "upkeep/serverupkeep.h"
#include "upkeep/shopplace.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSettings>
#include <algorithm>
#include <functional>

namespace DailyBackup {

namespace {

const QString DayFormat = QStringLiteral("yyyy-MM-dd");

/** The names this feature gives its backups; no other file is ever pruned. */
const QRegularExpression& ownName()
{
    static const QRegularExpression name(
        QStringLiteral("^helpdesk-[0-9]{4}-[0-9]{2}-[0-9]{2}\\.(bak|dump)$"));
    return name;
}

QString reasonOf(const BackupFile::Outcome& outcome)
{
    using BackupFile::Failure;
    switch (outcome.failure) {
    case Failure::DiskFull:
        return QStringLiteral("the disk is full.");
    case Failure::PermissionDenied:
        return QStringLiteral("the folder cannot be written to.");
    case Failure::InvalidPath:
        return QStringLiteral("the name is no valid path.");
    case Failure::PathNotFound:
        return QStringLiteral("the folder does not exist.");
    case Failure::None:
    case Failure::Other:
        break;
    }
    return outcome.detail;
}

/** Writes the backup to `target`; why not, when it fails. */
QString writeBackup(const QString& target)
{
    if (const QString server = ServerSettings::address(); !server.isEmpty()) {
        const Status status = ServerUpkeep::backUp(server, target);
        return status ? QString() : status.message();
    }
    const BackupFile::Outcome outcome = BackupFile::copyDatabaseTo(target);
    return outcome.isOk() ? QString() : reasonOf(outcome);
}

Status recordDone(const QDateTime& at)
{
    return Database::write([&](Database& db) {
        return db.exec(QStringLiteral("UPDATE DailyBackup SET LastBackup = ?"),
                       at.toString(Qt::ISODate));
    });
}

} // namespace

Settings settings()
{
    const QSettings ini(ProgramFolder::filePath(QStringLiteral("quorvane.ini")),
                        QSettings::IniFormat);
    Settings read;
    const QString folder = ini.value(QStringLiteral("backup/folder")).toString().trimmed();
    if (!folder.isEmpty())
        read.folder = QDir(ProgramFolder::path()).absoluteFilePath(folder);
    bool isNumber = false;
    const int keep = ini.value(QStringLiteral("backup/keep")).toInt(&isNumber);
    if (isNumber)
        read.keep = std::max(keep, 1);
    const QString daily = ini.value(QStringLiteral("backup/daily")).toString().trimmed();
    read.daily = daily.compare(QLatin1String("on"), Qt::CaseInsensitive) == 0;
    return read;
}

QString fileName(const QDate& day, bool onServer)
{
    return QStringLiteral("helpdesk-%1.%2")
        .arg(day.toString(DayFormat), onServer ? QStringLiteral("dump") : QStringLiteral("bak"));
}

void prune(const QString& folder, int keep)
{
    const QDir dir(folder);
    QStringList backups = dir.entryList(QDir::Files, QDir::Name).filter(ownName());
    // The names hold the day, so that their order is the days' order.
    std::sort(backups.begin(), backups.end(), std::greater<>());
    for (qsizetype i = std::max(keep, 1); i < backups.size(); ++i)
        QFile::remove(dir.filePath(backups[i]));
}

Result<bool> claim(const QDate& day)
{
    const QString claimed = day.toString(DayFormat);
    return Database::write([&](Database& db) -> Result<bool> {
        // Only the first claimant changes the row; the others find the day taken already.
        const Status status = db.exec(
            QStringLiteral("UPDATE DailyBackup SET PreviousDay = Day, Day = ? WHERE Day < ?"),
            claimed, claimed);
        if (!status)
            return status;
        return db.changes() > 0;
    });
}

Status release(const QDate& day)
{
    return Database::write([&](Database& db) {
        return db.exec(QStringLiteral("UPDATE DailyBackup SET Day = PreviousDay WHERE Day = ?"),
                       day.toString(DayFormat));
    });
}

QDateTime lastBackup()
{
    const Result<QDateTime> last = Database::read([](Database& db) -> Result<QDateTime> {
        Query query = db.query(QStringLiteral("SELECT LastBackup FROM DailyBackup"));
        if (!query.next())
            return query.status();
        return QDateTime::fromString(query.text(0), Qt::ISODate);
    });
    return last ? *last : QDateTime();
}

Run runFor(const QDate& day, const QDateTime& at)
{
    const Settings wanted = settings();
    if (!wanted.isOn())
        return {};
    const QString target =
        QDir(wanted.folder).filePath(fileName(day, !ServerSettings::address().isEmpty()));
    auto failed = [&](const QString& why) {
        return Run{Outcome::Failed,
                   ShopPlace::naming(QStringLiteral("The daily backup could not be written to "
                                                    "%1: %2\nIt will be tried again tomorrow.")
                                         .arg(target, why))};
    };
    const Result<bool> claimed = claim(day);
    if (!claimed)
        return failed(claimed.status().message());
    if (!*claimed)
        return {Outcome::NotDue, {}};
    if (const QString why = writeBackup(target); !why.isEmpty()) {
        release(day);
        return failed(why);
    }
    recordDone(at);
    prune(wanted.folder, wanted.keep);
    return {Outcome::Written, {}};
}

} // namespace DailyBackup
