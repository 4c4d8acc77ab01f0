#pragma once

#include "data/database.h"

/** Creates a new database file with the tables and the content a shop starts from. */
namespace DatabaseSetup {

/**
 * Creates `path` with the tables, the problem and part types, counters at zero and the
 * administrator ADMIN (login and every access right) with `adminPassword`. With `demo` a small
 * believable shop is added. Refuses to touch an existing file.
 */
Status create(const QString& path, const QString& adminPassword, bool demo);

/** Adds an employee's login and access row: `rights` are the 25 flags in column order. */
Status addLogin(Database& db, const QString& empId, const QString& password,
                const QList<bool>& rights);

} // namespace DatabaseSetup

/** The demo shop: customers, staff, parts, tickets, a work order, an invoice and a payment. */
namespace DemoData {
Status fill(Database& db);
}
