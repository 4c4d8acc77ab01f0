#include "upkeep/dailybackupjob.h"

#include "data/serversettings.h"
#include "upkeep/backupfile.h"
#include "upkeep/shopplace.h"
#include "widgets/hourglass.h"

#include <QDir>
#include <QFileInfo>
#include <QTimer>

namespace {

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

} // namespace

DailyBackupJob::DailyBackupJob(QObject* parent) : QObject(parent)
{
    connect(&m_dump, &ServerBackup::finished, this,
            [this](const Status& status) { written(status ? QString() : status.message()); });
}

void DailyBackupJob::start(const QDateTime& at)
{
    using DailyBackup::Outcome;
    if (m_running)
        return;
    m_running = true;
    m_at = at;
    m_settings = DailyBackup::settings();
    if (!m_settings.isOn())
        return finishLater({});
    const QString server = ServerSettings::address();
    m_target =
        QDir(m_settings.folder).filePath(DailyBackup::fileName(at.date(), !server.isEmpty()));
    const Result<DailyBackup::Claim> claimed = DailyBackup::claim(at);
    if (!claimed)
        return finishLater(failed(claimed.status().message()));
    if (*claimed == DailyBackup::Claim::Done)
        return finishLater({Outcome::NotDue, {}});
    if (*claimed == DailyBackup::Claim::Busy)
        return finishLater({Outcome::Busy, {}});
    // The day is this workstation's now: no other one writes a daily backup meanwhile.
    DailyBackup::removeLeftovers(m_settings.folder, !server.isEmpty());
    if (!server.isEmpty())
        m_dump.start(server, m_target);
    else
        // After the windows have shown what the start or the last action changed.
        QTimer::singleShot(0, this, &DailyBackupJob::writeFileCopy);
}

void DailyBackupJob::writeFileCopy()
{
    const BackupFile::Outcome outcome =
        Hourglass::around([&] { return BackupFile::copyDatabaseTo(m_target); });
    written(outcome.isOk() ? QString() : reasonOf(outcome));
}

void DailyBackupJob::written(const QString& why)
{
    using DailyBackup::Outcome;
    if (!why.isEmpty()) {
        DailyBackup::release(m_at);
        return finish(failed(why));
    }
    QStringList problems;
    if (const Status done = DailyBackup::markDone(m_at); !done)
        problems << done.message();
    if (const Status recorded = DailyBackup::recordAndPrune(
            m_settings.folder, QFileInfo(m_target).fileName(), m_at, m_settings.keep);
        !recorded)
        problems << recorded.message() +
                        QStringLiteral(" Without its record the backup is not pruned later.");
    finish({Outcome::Written,
            problems.isEmpty()
                ? QString()
                : ShopPlace::naming(QStringLiteral("The daily backup has been written to %1, "
                                                   "but: %2")
                                        .arg(m_target, problems.join(QLatin1Char(' '))))});
}

DailyBackup::Run DailyBackupJob::failed(const QString& why) const
{
    return {DailyBackup::Outcome::Failed,
            ShopPlace::naming(QStringLiteral("The daily backup could not be written to %1: "
                                             "%2\nIt will be tried again tomorrow.")
                                  .arg(m_target, why))};
}

void DailyBackupJob::finishLater(DailyBackup::Run run)
{
    QMetaObject::invokeMethod(
        this, [this, run] { finish(run); }, Qt::QueuedConnection);
}

void DailyBackupJob::finish(DailyBackup::Run run)
{
    m_running = false;
    Q_EMIT finished(run);
}
