#pragma once

#include "data/database.h"

/** Creates a new database file with the tables and the content a shop starts from. */
namespace DatabaseSetup {

/**
 * Creates `path` with the tables, the problem and part types, counters at zero and the
 * administrator ADMIN (login and every access right) with `adminPassword`. With `demo` a small
 * believable shop is added. The file is encrypted with a random key of its own, kept in the
 * key file beside it. Refuses to touch an existing file, or an existing key file.
 */
Status create(const QString& path, const QString& adminPassword, bool demo);
/** As create, in the empty database on the server at `address`; refuses one that holds tables. */
Status createOnServer(const QString& address, const QString& adminPassword, bool demo);

/** The shortest administrator password a new shop accepts. */
inline constexpr int MinimumAdminPassword = 8;

/** Why an administrator password cannot protect a new shop; empty when it can. */
QString adminPasswordProblem(const QString& password);

/**
 * Creates the shop's database in the program folder, as create() does, and gives the folder the
 * shipped files it lacks. A new shop's administrator password needs MinimumAdminPassword
 * characters; the demo shop takes any.
 */
Status createShop(const QString& adminPassword, bool demo);

/**
 * Whether `path` holds a shop's database: NotFound when there is no file, an error that says
 * what is wrong when the file is empty or is not a shop's database. The file is only read.
 */
Status checkShop(const QString& path);

/** Adds an employee's login and access row: `rights` are the 25 flags in column order. */
Status addLogin(Database& db, const QString& empId, const QString& password,
                const QList<bool>& rights);

} // namespace DatabaseSetup

/** The demo shop: customers, staff, parts, tickets, a work order, an invoice and a payment. */
namespace DemoData {
Status fill(Database& db);
}
