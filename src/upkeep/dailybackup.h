#pragma once

#include "data/status.h"

#include <QDate>
#include <QDateTime>
#include <QString>

/**
 * The automatic backup of the day, set up in the [backup] section of the program folder's
 * quorvane.ini: `folder=` where the backups go (relative to the program folder unless
 * absolute), `keep=` how many of them stay (14 unless set), `daily=on` to make them. The first
 * workstation to start on a day (or whose program is running when the day begins) claims the
 * day in the database and writes the backup; the others leave it to that one, unless its claim
 * has grown older than a backup can take (it was cut off), when the next one takes it over.
 * DailyBackupJob runs the steps.
 */
namespace DailyBackup {

struct Settings {
    QString folder;
    int keep = 14;
    bool daily = false;
    bool isOn() const { return daily && !folder.isEmpty(); }
};

/** The settings as the program folder's quorvane.ini has them now. */
Settings settings();

/** The name of the day's backup: helpdesk-2026-12-07.bak, or .dump for a server's archive. */
QString fileName(const QDate& day, bool onServer);

/** How old a claim may grow before another workstation takes it over: longer than a backup
 *  may run. */
qint64 claimLifetimeMs();

enum class Claim {
    Taken, ///< this workstation makes the day's backup now
    Done,  ///< the day's backup has been made (or a later day's claimed)
    Busy,  ///< another workstation is making it; its claim is still fresh
};

/** Takes the day of `at` on for this workstation, in one transaction, unless the day is done
 *  or another workstation's fresh claim holds it. The claim is known by its time `at`. */
Result<Claim> claim(const QDateTime& at);
/** Marks the day of the claim made at `at` done, once its backup has been written. */
Status markDone(const QDateTime& at);
/** Gives the claim made at `at` back after its backup failed, so that it can be tried again. */
Status release(const QDateTime& at);

/** Removes the partial backups of every day that runs which were cut off left in `folder`,
 *  once nothing uses them. */
void removeLeftovers(const QString& folder, bool onServer);

/** Records the backup `name` just written into `folder` at `at`, then deletes the oldest
 *  recorded backups that are still as they were written, so that the newest `keep` (at least
 *  the one just written) stay. Files that were not recorded, or have changed since, stay and
 *  are forgotten by the record. */
Status recordAndPrune(const QString& folder, const QString& name, const QDateTime& at, int keep);

/** When the newest backup that the settings' folder still holds as written was completed;
 *  invalid when there is none. */
QDateTime lastBackup();

enum class Outcome {
    Off,     ///< the settings do not ask for daily backups
    NotDue,  ///< the day's backup is done (here or on another workstation)
    Busy,    ///< another workstation is making it now
    Written, ///< the day's backup has been written
    Failed,  ///< the backup (or the claim) failed; message says why
};

struct Run {
    Outcome outcome = Outcome::Off;
    /** What the user is told: why it failed, or what went wrong after it was written. */
    QString message;
};

} // namespace DailyBackup
