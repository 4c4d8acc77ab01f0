#pragma once

#include "data/shopkey.h"
#include "data/status.h"

#include <QList>
#include <QString>
#include <optional>

/** Moves a shop from its encrypted file to a database server, as a shop that outgrows one
 *  workstation does once. */
namespace ShopCopy {

struct CopiedTable {
    QString table;
    qint64 rows = 0;
};

/**
 * Copies every table of the shop's file at `path` into the empty database on the server at
 * `address`, in one transaction on the server, keeping the order the rows were added in. Every
 * table's row count is compared before the transaction commits; on any difference or failure
 * the server is left as it was. The file is only read: an older one is brought up to date in a
 * temporary copy first, as the program does with a shop it opens, and copied from there. The
 * file opens with the shop's keys, or with `key` alone when one is given (from a key file the
 * user names); WrongKey when the keys tried do not open it.
 */
Result<QList<CopiedTable>> toServer(const QString& path, const QString& address,
                                    const std::optional<ShopKey>& key = std::nullopt);

} // namespace ShopCopy
