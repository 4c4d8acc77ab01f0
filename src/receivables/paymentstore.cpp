#include "receivables/paymentstore.h"

#include "data/database.h"

namespace {

// Each invoice joined with the sum of its payments, so that a whole list is one query. Every
// column shown is grouped by, as a server engine requires.
const QString OpenInvoiceSelect =
    QStringLiteral("SELECT i.InvNum, i.InvDate, i.InvTotal, COALESCE(SUM(a.AmtPaid), 0) "
                   "FROM ARInvoice i LEFT JOIN AmountPaid a ON a.InvNum = i.InvNum "
                   "WHERE i.CustID = ? AND i.InvPaid = 0");
const QString OpenInvoiceGroups = QStringLiteral(" GROUP BY i.InvNum, i.InvDate, i.InvTotal");

PaymentStore::OpenInvoice readInvoice(const Query& q)
{
    return {static_cast<std::int32_t>(q.integer(0)), q.date(1), q.money(2), q.money(3)};
}

Result<std::optional<PaymentStore::OpenInvoice>>
findOpenInvoice(Database& db, const QString& custId, std::int32_t invNum)
{
    Query q = db.query(OpenInvoiceSelect + QStringLiteral(" AND i.InvNum = ?") + OpenInvoiceGroups,
                       custId, invNum);
    if (q.next())
        return std::optional(readInvoice(q));
    if (!q.status())
        return q.status();
    return std::optional<PaymentStore::OpenInvoice>();
}

Status markInvoice(Database& db, const PaymentStore::Payment& payment, bool paidInFull)
{
    if (payment.byCreditMemo) {
        return db.exec(QStringLiteral("UPDATE ARInvoice SET InvPaid = ?, CreditMemo = ?, "
                                      "PayDate = ? WHERE InvNum = ? AND CustID = ?"),
                       paidInFull, payment.creditMemo, payment.payDate, payment.invNum,
                       payment.custId);
    }
    return db.exec(QStringLiteral("UPDATE ARInvoice SET InvPaid = ?, PayDate = ?, CheckNo = ? "
                                  "WHERE InvNum = ? AND CustID = ?"),
                   paidInFull, payment.payDate, payment.checkNo, payment.invNum, payment.custId);
}

// The payment's own row, with the check number or the credit memo it was made by.
Status insertPayment(Database& db, const PaymentStore::Payment& payment)
{
    return db.exec(QStringLiteral("INSERT INTO AmountPaid (InvNum, CustID, AmtPaid, PayDate, Paid, "
                                  "CheckNo, CreditMemo) VALUES (?, ?, ?, ?, 1, ?, ?)"),
                   payment.invNum, payment.custId, payment.amount, payment.payDate,
                   payment.byCreditMemo ? std::nullopt : std::optional(payment.checkNo),
                   payment.byCreditMemo ? std::optional(payment.creditMemo) : std::nullopt);
}

} // namespace

namespace PaymentStore {

Result<std::optional<Address>> customerAddress(const QString& custId)
{
    return Database::read([&](Database& db) -> Result<std::optional<Address>> {
        Query q = db.query(QStringLiteral("SELECT CustName, CustAdd, CustCity, CustState, CustZip "
                                          "FROM Customer WHERE CustID = ?"),
                           custId);
        if (q.next())
            return std::optional(Address{q.text(0), q.text(1), q.text(2), q.text(3), q.text(4)});
        if (!q.status())
            return q.status();
        return std::optional<Address>();
    });
}

Result<QList<OpenInvoice>> openInvoices(const QString& custId)
{
    return Database::read([&](Database& db) -> Result<QList<OpenInvoice>> {
        Query q = db.query(
            OpenInvoiceSelect + OpenInvoiceGroups + QStringLiteral(" ORDER BY i.InvNum"), custId);
        QList<OpenInvoice> invoices;
        while (q.next())
            invoices << readInvoice(q);
        if (!q.status())
            return q.status();
        return invoices;
    });
}

Result<std::optional<OpenInvoice>> openInvoice(const QString& custId, std::int32_t invNum)
{
    return Database::read([&](Database& db) { return findOpenInvoice(db, custId, invNum); });
}

Result<QList<RecordedPayment>> payments(std::int32_t invNum)
{
    return Database::read([&](Database& db) -> Result<QList<RecordedPayment>> {
        Query q = db.query(QStringLiteral("SELECT PayDate, AmtPaid, CheckNo, CreditMemo "
                                          "FROM AmountPaid WHERE InvNum = ? ORDER BY rowid"),
                           invNum);
        QList<RecordedPayment> recorded;
        while (q.next()) {
            recorded << RecordedPayment{
                q.date(0), q.money(1),
                q.isNull(2) ? std::nullopt : std::optional(static_cast<std::int32_t>(q.integer(2))),
                q.text(3)};
        }
        if (!q.status())
            return q.status();
        return recorded;
    });
}

Result<Outcome> record(const Payment& payment)
{
    return Database::write([&](Database& db) -> Result<Outcome> {
        // The balance is read inside the transaction, so that two workstations paying the same
        // invoice cannot both take it for the balance due.
        const auto invoice = findOpenInvoice(db, payment.custId, payment.invNum);
        if (!invoice)
            return invoice.status();
        if (!*invoice)
            return Outcome::NotOpen;
        const Currency balance = (*invoice)->balance();
        if (payment.amount > balance)
            return Outcome::MoreThanBalance;
        const bool paidInFull = payment.amount == balance;

        if (Status status = markInvoice(db, payment, paidInFull); !status)
            return status;
        if (Status status = insertPayment(db, payment); !status)
            return status;
        if (Status status = db.exec(
                QStringLiteral("UPDATE InvDetail SET Paid = 1 WHERE InvNum = ?"), payment.invNum);
            !status)
            return status;
        return paidInFull ? Outcome::PaidInFull : Outcome::PartlyPaid;
    });
}

} // namespace PaymentStore
