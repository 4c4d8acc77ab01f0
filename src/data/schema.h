#pragma once

#include "data/database.h"

#include <QStringList>

/** The tables of the program's database, and the steps that bring an older file up to date. */
namespace Schema {

/** The version a file has after upgrade(). */
int currentVersion();
/** The version recorded in the file; 0 for a file without tables. */
int versionOf(Database& db);
/** Runs every step the file has not had yet up to `toVersion`, each in its own transaction. */
Status upgrade(Database& db, int toVersion = currentVersion());

/** The names of the tables the database holds, as its catalogue spells them. */
Result<QStringList> tableNames(Database& db);
/** The number of rows of `table`, a name from tableNames() of either engine. */
Result<qint64> rowCount(Database& db, const QString& table);
/** How a column's values are kept, named alike for both engines. */
enum class ColumnKind { Integer, Real, Text, Date };
struct ColumnInfo {
    QString name; // as the catalogue spells it: lower case on the server
    ColumnKind kind = ColumnKind::Text;
};
/** The columns of `table` in their order, without the server's own rowid; empty when there is
 *  no such table. `table` is a name of the schema, in any case. */
Result<QList<ColumnInfo>> columns(Database& db, const QString& table);
/** Refuses a database that already holds tables, where a new shop is about to be made. */
Status requireEmpty(Database& db);
/** Names of the 25 access flags of EmployeeAccess, in column order. */
const QStringList& accessFlagColumns();

} // namespace Schema
