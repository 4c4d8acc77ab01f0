#pragma once

#include "data/database.h"

#include <QStringList>

/** The choice lists of the help desk window, one query each on a read scope of its own. */
namespace LookupStore {

Result<QStringList> problemTypes();
Result<QStringList> hardwareTypes();
Result<QStringList> softwareTypes();
/** Active customers as "CustID   CustName", by ID. */
Result<QStringList> customerLines();
/** The customer's name, street, and "City, ST  Zip" lines. */
Result<QStringList> customerAddress(const QString& custId);
/** Active employees as "EmpID   First  Last". */
Result<QStringList> technicianLines();
/** Active inventory items as "ItemNo - ItemDescp", by item number. */
Result<QStringList> partLines();

/** The three address lines shown for a customer. */
QStringList addressLines(const QString& name, const QString& street, const QString& city,
                         const QString& state, const QString& zip);

/** The first column of every row the query returns, as text. */
Result<QStringList> firstColumn(Query query);

/** The first column of every row of `sql`, read on a scope of its own. */
template <typename... Args> Result<QStringList> column(const QString& sql, const Args&... args)
{
    return Database::read([&](Database& db) { return firstColumn(db.query(sql, args...)); });
}

/** The key of a choice line: its text before the first blank. */
QString keyOfLine(const QString& line);

} // namespace LookupStore
