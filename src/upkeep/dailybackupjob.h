#pragma once

#include "upkeep/dailybackup.h"
#include "upkeep/serverbackup.h"

#include <QDateTime>
#include <QObject>

/**
 * Makes the day's automatic backup without holding up the windows: claims the day, removes
 * what runs that were cut off left, writes the backup (the file's online copy, which takes
 * seconds, or pg_dump for a server's shop, a process the event loop watches), then marks the
 * day done, records the backup and prunes the old ones. A backup that fails gives its claim
 * back.
 */
class DailyBackupJob : public QObject {
    Q_OBJECT

public:
    explicit DailyBackupJob(QObject* parent = nullptr);

    /** Starts the backup of `at`'s day, known by the time `at`, when it is due; finished()
     *  follows once, never before start() returns. Does nothing while a run is going on. */
    void start(const QDateTime& at = QDateTime::currentDateTime());
    bool isRunning() const { return m_running; }

Q_SIGNALS:
    void finished(const DailyBackup::Run& run);

private:
    void writeFileCopy();
    /** Ends the run whose backup was written, or failed for `why`. */
    void written(const QString& why);
    void finish(DailyBackup::Run run);
    void finishLater(DailyBackup::Run run);
    DailyBackup::Run failed(const QString& why) const;

    ServerBackup m_dump;
    DailyBackup::Settings m_settings;
    QDateTime m_at;
    QString m_target;
    bool m_running = false;
};
