#pragma once

#include "data/status.h"

#include <QString>

/** Compaction of a shop whose data lives on a database server, and the tool that backs it up
 *  (ServerBackup runs it). */
namespace ServerUpkeep {

/** The server's dump tool when it is installed on this workstation; empty otherwise. */
QString dumpTool();

/** Reclaims the space of deleted rows and refreshes the planner's statistics. */
Status compact(const QString& address);

} // namespace ServerUpkeep
