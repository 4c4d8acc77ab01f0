#pragma once

#include "data/status.h"

#include <QString>

/** Backup and compaction of a shop whose data lives on a database server. */
namespace ServerUpkeep {

/** The server's dump tool when it is installed on this workstation; empty otherwise. */
QString dumpTool();

/**
 * Writes the server's database to `target` as a pg_dump archive in its custom format, which
 * pg_restore reads. The archive replaces a file of that name only once it is complete. Without
 * pg_dump on this workstation, says how to back up the server instead.
 */
Status backUp(const QString& address, const QString& target);

/** Reclaims the space of deleted rows and refreshes the planner's statistics. */
Status compact(const QString& address);

} // namespace ServerUpkeep
