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
/** Refuses a database that already holds tables, where a new shop is about to be made. */
Status requireEmpty(Database& db);
/** Names of the 25 access flags of EmployeeAccess, in column order. */
const QStringList& accessFlagColumns();

} // namespace Schema
