#pragma once

#include "data/shopkey.h"
#include "data/status.h"

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QPair>
#include <QString>

/** Puts a backup of the shop's file in place of the database, after checking that it is one. */
namespace Restore {

/** What a backup holds, as the user is shown it before the database is replaced. */
struct Contents {
    QDate lastTicket;  ///< the newest ticket's opening date; null without tickets
    QDate lastInvoice; ///< the newest invoice's date; null without invoices
    /** Rows of the main records, by their name for the user ("Tickets", "Invoices", ...). */
    QList<QPair<QString, qint64>> counts;
};

/** Opens `backup` with the shop's keys, or with `key` alone when one is given (from a key file
 *  the user chose), and checks that it is a sound copy of a shop's database: not empty,
 *  readable page by page, with every table of a shop, from this release or an earlier one.
 *  Gives what it holds, or why it cannot be restored: WrongKey when the keys tried do not open
 *  it, so that the user can be asked for its key file. */
Result<Contents> inspect(const QString& backup, const std::optional<ShopKey>& key = std::nullopt);

/** The lines that tell the user what a backup holds. */
QString describe(const Contents& contents);

/** The name the replaced database is kept under beside the new one. */
QString keptName(const QDateTime& at);

/**
 * Replaces the program's database with a checked copy of `backup` (opened as inspect() opens
 * it), brought up to date, under the exclusive lock that compaction takes, so that no
 * workstation writes meanwhile; the replaced database is kept beside it under keptName(at),
 * whose full path is given back. The copy is written under the key the database has now, so
 * that the shop's key file opens it on every workstation whatever key the backup was made
 * with, and it takes the database's mode, owner and group. Other workstations' next handlers
 * open the restored file. On a failure the database stays as it was and nothing is left beside
 * it.
 */
Result<QString> run(const QString& backup, const std::optional<ShopKey>& key = std::nullopt,
                    const QDateTime& at = QDateTime::currentDateTime());

/** How a shop on a database server is restored, with the server's own tools. */
QString serverAdvice(const QString& address);

} // namespace Restore
