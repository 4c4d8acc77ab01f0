#pragma once

#include "data/database.h"

#include <QStringList>

/** The choice lists of the help desk window, one query each. */
namespace LookupStore {

Result<QStringList> problemTypes(Database& db);
Result<QStringList> hardwareTypes(Database& db);
Result<QStringList> softwareTypes(Database& db);
/** Active customers as "CustID   CustName", by ID. */
Result<QStringList> customerLines(Database& db);
/** The customer's name, street, and "City, ST  Zip" lines. */
Result<QStringList> customerAddress(Database& db, const QString& custId);
/** Active employees as "EmpID   First  Last". */
Result<QStringList> technicianLines(Database& db);
/** Active inventory items as "ItemNo - ItemDescp", by item number. */
Result<QStringList> partLines(Database& db);

/** The three address lines shown for a customer. */
QStringList addressLines(const QString& name, const QString& street, const QString& city,
                         const QString& state, const QString& zip);

/** The first column of every row the query returns, as text. */
Result<QStringList> firstColumn(Query query);

/** The key of a choice line: its text before the first blank. */
QString keyOfLine(const QString& line);

} // namespace LookupStore
