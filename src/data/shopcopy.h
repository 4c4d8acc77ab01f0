#pragma once

#include "data/status.h"

#include <QList>
#include <QString>

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
 * temporary copy first, as the program does with a shop it opens, and copied from there.
 */
Result<QList<CopiedTable>> toServer(const QString& path, const QString& address);

} // namespace ShopCopy
