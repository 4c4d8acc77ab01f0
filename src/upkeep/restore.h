#pragma once

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

/** Opens `backup` with the shop's key and checks that it is a sound copy of a shop's database:
 *  not empty, readable page by page, with every table of a shop, from this release or an
 *  earlier one. Gives what it holds, or why it cannot be restored. */
Result<Contents> inspect(const QString& backup);

/** The lines that tell the user what a backup holds. */
QString describe(const Contents& contents);

/** The name the replaced database is kept under beside the new one. */
QString keptName(const QDateTime& at);

/**
 * Replaces the program's database with a checked copy of `backup`, brought up to date, under
 * the exclusive lock that compaction takes, so that no workstation writes meanwhile; the
 * replaced database is kept beside it under keptName(at), whose full path is given back.
 * Other workstations' next handlers open the restored file. On a failure the database stays
 * as it was and nothing is left beside it.
 */
Result<QString> run(const QString& backup, const QDateTime& at = QDateTime::currentDateTime());

/** How a shop on a database server is restored, with the server's own tools. */
QString serverAdvice(const QString& address);

} // namespace Restore
