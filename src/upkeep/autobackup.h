#pragma once

#include <QDate>
#include <QObject>
#include <QTimer>

class QLabel;
class QStatusBar;

/**
 * Runs the daily backup: at start and then on a timer, once a day, under the hourglass (a
 * backup is one online copy that takes seconds even for a large shop, and a day's first start
 * is when it runs). A failure is told once; the day after tries again. The status bar shows
 * when the last daily backup was made.
 */
class AutoBackup : public QObject {
    Q_OBJECT

public:
    /** Adds the panel (StatusBar1Panel4) to `statusBar`. */
    AutoBackup(QStatusBar* statusBar, QObject* parent = nullptr);

    /** Makes the backup of `today` if this workstation has not tried it yet, then starts the
     *  timer that makes the next day's. */
    void start();
    /** Makes the backup of `today` unless this workstation has tried it already; shows why it
     *  failed; updates the panel. */
    void check(const QDate& today);

    QLabel* panel() const { return m_panel; }

private:
    void showLastBackup();

    QLabel* m_panel;
    QTimer m_timer;
    /** The last day this workstation tried to make the backup of (or found it taken). */
    QDate m_triedDay;
};
