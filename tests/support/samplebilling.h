#pragma once

#include "data/currency.h"
#include "data/database.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QVariant>

/** Builders for invoices, payments, customers and tickets written straight into the program
 *  folder's database. Each returns false (and warns) when a write fails. */
namespace SampleBilling {

/** An unpaid invoice dated `date` with `lineCount` unpaid lines, and one AmountPaid row per
 *  earlier payment. */
bool addInvoice(int invNum, const QString& custId, Currency total,
                const QList<Currency>& payments = {}, int lineCount = 2,
                const QDate& date = QDate(2024, 3, 5));

bool addCustomer(const QString& custId, const QString& name, bool inactive = false);

struct Ticket {
    int number = 0;
    QString custId;
    QString status = QStringLiteral("Open");
    QString probType = QStringLiteral("Hardware");
    QString specific = QStringLiteral("Laptop");
    QString tech = QStringLiteral("JTT-1");
    QString comments;
    QString quick;
    QString problem;
    QString solution;
};
/** A CallLog row, and its ProbSol row when `quick` is not empty. */
bool addTicket(const Ticket& ticket);

/** Runs one statement with bound values; for odd set-ups in tests. */
template <typename... Args> bool exec(const QString& sql, const Args&... args)
{
    Database db;
    const Status status = db.exec(sql, args...);
    if (!status)
        qWarning("%s: %s", qPrintable(sql), qPrintable(status.message()));
    return status.isOk();
}

/** The first column of the first row as text; null when there is no row or the value is null. */
template <typename... Args> QVariant scalar(const QString& sql, const Args&... args)
{
    Database db;
    Query q = db.query(sql, args...);
    if (!q.next() || q.isNull(0))
        return QVariant();
    return QVariant(q.text(0));
}

} // namespace SampleBilling
