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
 * day in the database and writes the backup; the others leave it to that one.
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

/** Deletes the oldest backups in `folder` that this feature wrote, so that the newest `keep`
 *  (at least one) stay; every other file stays. */
void prune(const QString& folder, int keep);

/** Takes the day on for this workstation, in one transaction: true for the first claimant of
 *  `day`, false when a workstation has claimed it (or a later day) already. */
Result<bool> claim(const QDate& day);
/** Gives the claim of `day` back after its backup failed, so that it can be tried again. */
Status release(const QDate& day);
/** When the last automatic backup was completed; invalid before the first. */
QDateTime lastBackup();

enum class Outcome {
    Off,     ///< the settings do not ask for daily backups
    NotDue,  ///< another workstation has taken the day on already
    Written, ///< the day's backup has been written
    Failed,  ///< the backup (or the claim) failed; message() says why
};

struct Run {
    Outcome outcome = Outcome::Off;
    QString message;
};

/** Makes the backup of `day` when it is due: claims the day, writes the backup with the same
 *  online copy that Backup Database makes, records its time `at` and prunes the old ones. A
 *  failed backup gives its claim back. */
Run runFor(const QDate& day, const QDateTime& at = QDateTime::currentDateTime());

} // namespace DailyBackup
