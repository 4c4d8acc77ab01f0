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

/** How many tables the database holds: none in one that a new shop may be created in. */
Result<int> tableCount(Database& db);
/** Names of the 25 access flags of EmployeeAccess, in column order. */
const QStringList& accessFlagColumns();

} // namespace Schema
