#include "upkeep/dailybackup.h"

#include "data/database.h"
#include "data/programfolder.h"
#include "upkeep/backupfile.h"
#include "upkeep/backuprecord.h"
#include "upkeep/serverbackup.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <algorithm>

namespace DailyBackup {

namespace {

const QString DayFormat = QStringLiteral("yyyy-MM-dd");

// The claim's Day column holds the day alone once its backup is done, and the day with the
// time of the claim while a workstation makes it: the time tells a claim that was cut off.
// Both sort by the day first, and a done day before the claims of that day.
QString stampOf(const QDateTime& at)
{
    return at.toString(QStringLiteral("yyyy-MM-dd'T'HH:mm:ss"));
}

// Beyond the longest a backup runs, for the clocks of the workstations that differ a little.
constexpr qint64 ClaimMarginMs = 10 * 60 * 1000;

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

qint64 claimLifetimeMs()
{
    return ServerBackup::limits().overallMs + ClaimMarginMs;
}

Result<Claim> claim(const QDateTime& at)
{
    const QString day = at.date().toString(DayFormat);
    const QString staleBefore = stampOf(at.addMSecs(-claimLifetimeMs()));
    return Database::write([&](Database& db) -> Result<Claim> {
        // Only the first claimant changes the row; the others find the day taken already.
        const Status status =
            db.exec(QStringLiteral("UPDATE DailyBackup SET PreviousDay = Day, Day = ? "
                                   "WHERE Day < ? OR (Day > ? AND Day < ?)"),
                    stampOf(at), day, day, staleBefore);
        if (!status)
            return status;
        if (db.changes() > 0)
            return Claim::Taken;
        Query held = db.query(QStringLiteral("SELECT Day FROM DailyBackup"));
        if (!held.next())
            return held.status() ? Status::failed(QStringLiteral("The table DailyBackup is empty."))
                                 : held.status();
        return held.text(0).startsWith(day + QLatin1Char('T')) ? Claim::Busy : Claim::Done;
    });
}

Status markDone(const QDateTime& at)
{
    return Database::write([&](Database& db) {
        return db.exec(QStringLiteral("UPDATE DailyBackup SET Day = ? WHERE Day = ?"),
                       at.date().toString(DayFormat), stampOf(at));
    });
}

Status release(const QDateTime& at)
{
    return Database::write([&](Database& db) {
        return db.exec(QStringLiteral("UPDATE DailyBackup SET Day = PreviousDay WHERE Day = ?"),
                       stampOf(at));
    });
}

void removeLeftovers(const QString& folder, bool onServer)
{
    BackupFile::removeLeftovers(QDir(folder),
                                QStringLiteral("helpdesk-[0-9]{4}-[0-9]{2}-[0-9]{2}\\.(bak|dump)"),
                                onServer ? ServerBackup::limits().overallMs : 0);
}

Status recordAndPrune(const QString& folder, const QString& name, const QDateTime& at, int keep)
{
    std::vector<BackupRecord::Entry> entries = BackupRecord::read(folder);
    std::erase_if(entries, [&](const BackupRecord::Entry& entry) { return entry.name == name; });
    const std::optional<BackupRecord::Entry> written = BackupRecord::entryFor(folder, name, at);
    if (!written)
        return Status::failed(
            QStringLiteral("The backup %1 is not there after it was written.").arg(name));
    entries.push_back(*written);
    // Newest first: the one just written, then the others in the order they were written.
    std::vector<BackupRecord::Entry> kept;
    for (auto entry = entries.rbegin(); entry != entries.rend(); ++entry) {
        if (!BackupRecord::isIntact(folder, *entry))
            continue;
        if (qsizetype(kept.size()) < std::max(keep, 1) ||
            !QFile::remove(QDir(folder).filePath(entry->name)))
            kept.insert(kept.begin(), *entry);
    }
    return BackupRecord::write(folder, kept);
}

QDateTime lastBackup()
{
    const QString folder = settings().folder;
    if (folder.isEmpty())
        return {};
    const std::vector<BackupRecord::Entry> entries = BackupRecord::read(folder);
    for (auto entry = entries.rbegin(); entry != entries.rend(); ++entry)
        if (BackupRecord::isIntact(folder, *entry))
            return entry->written;
    return {};
}

} // namespace DailyBackup
