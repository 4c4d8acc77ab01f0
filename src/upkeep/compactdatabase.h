#pragma once

#include "data/shopkey.h"
#include "data/status.h"

#include <optional>

/** Rewrites the program's database without its unused space: the compacted copy is written
 *  beside it, checked, and only then put in its place. */
namespace CompactDatabase {

/** The copy's name in the program folder while compaction runs. */
inline constexpr const char* CopyName = "helpdesk1.mdb";

/** Compacts the database. A copy left over from an earlier run that was cut off is removed once
 *  the database is locked; on a failure the database stays as it was and no copy is left. The
 *  copy keeps the database's key, or takes `newKey`, and the database's mode, owner and group. */
Status run(const std::optional<ShopKey>& newKey = std::nullopt);

} // namespace CompactDatabase
