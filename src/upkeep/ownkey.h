#pragma once

#include "data/status.h"

#include <QDateTime>
#include <QString>

/** Moves a shop's file made with the password of older releases to a key of its own. */
namespace OwnKey {

/** Where the move left the shop. */
struct Moved {
    /** The backup made first, still keyed with the old password. */
    QString backup;
    /** The key file that now opens the database. */
    QString keyFile;
};

/** The name of the backup made before the move, beside the database. */
QString backupName(const QDateTime& at);

/**
 * Backs the database up beside itself, writes the key file (a key file that is there already
 * is kept and used), then rewrites the database under its new key in one step, as compaction
 * does, so that other workstations open the new file with the key file from their next action
 * on. Refused on a server and for a database that has its own key already (Duplicate); on a
 * failure the database stays as it was.
 */
Result<Moved> protect(const QDateTime& at = QDateTime::currentDateTime());

} // namespace OwnKey
