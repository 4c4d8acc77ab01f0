#pragma once

#include "upkeep/dailybackupjob.h"

#include <QDate>
#include <QDateTime>
#include <QObject>
#include <QTimer>

class QLabel;
class QStatusBar;

/**
 * Runs the daily backup: at start and then on a timer, once a day, while the windows go on
 * answering. A failure is told once; the day after tries again. While another workstation is
 * making the day's backup, a later check looks again (and takes the day over once that claim
 * has grown stale). The status bar shows when the newest daily backup that is still in the
 * folder was made.
 */
class AutoBackup : public QObject {
    Q_OBJECT

public:
    /** Adds the panel (StatusBar1Panel4) to `statusBar`. */
    AutoBackup(QStatusBar* statusBar, QObject* parent = nullptr);

    /** Makes the backup of today if this workstation has not tried it yet, then starts the
     *  timer that makes the next day's. */
    void start();
    /** Starts the backup of `now`'s day unless this workstation has tried it already or is
     *  making it; tells why it failed and updates the panel once it is over. */
    void check(const QDateTime& now);
    /** Whether a backup is being written now. */
    bool isRunning() const { return m_job.isRunning(); }

    QLabel* panel() const { return m_panel; }

private:
    void runFinished(const DailyBackup::Run& run);
    void showLastBackup();

    QLabel* m_panel;
    QTimer m_timer;
    DailyBackupJob m_job;
    /** The day of the run going on. */
    QDate m_runDay;
    /** The last day this workstation tried to make the backup of (or found it done). */
    QDate m_triedDay;
};
