#include "reports/invoiceprinting.h"

#include "widgets/prompter.h"
#include "data/database.h"
#include "reports/reportcontrol.h"

#include <QList>

namespace {

const QString PrintTitle = QStringLiteral("Print Invoice");

Status markPrinted(Database& db, const QList<std::int32_t>& invoices)
{
    Transaction transaction(db);
    if (!transaction.isActive())
        return transaction.beginStatus();
    for (std::int32_t number : invoices) {
        if (Status status = db.exec(
                QStringLiteral("UPDATE ARInvoice SET InvPrinted = 1 WHERE InvNum = ?"), number);
            !status)
            return status;
    }
    return transaction.commit();
}

Status reportMarking(const Status& status)
{
    if (!status)
        prompter().message(
            QStringLiteral("The invoices were shown but could not be marked as printed:\n%1")
                .arg(status.message()));
    return status;
}

} // namespace

namespace InvoicePrinting {

Status printInvoice(std::int32_t invoiceNumber)
{
    if (Status run =
            runReport(QStringLiteral("invoice2.rpt"),
                      QStringLiteral("{ARINVOICE.InvNum}=%1").arg(invoiceNumber), PrintTitle);
        !run)
        return run;
    Database db;
    if (!db.isOpen())
        return reportMarking(db.openStatus());
    return reportMarking(markPrinted(db, {invoiceNumber}));
}

Status printAllUnprinted()
{
    QList<std::int32_t> unprinted;
    {
        Database db;
        Query query = db.query(QStringLiteral("SELECT InvNum FROM ARInvoice WHERE InvPrinted = 0"));
        while (query.next())
            unprinted << static_cast<std::int32_t>(query.integer(0));
    }
    if (Status run = runReport(QStringLiteral("invoice.rpt"),
                               QStringLiteral("{ARINVOICE.InvPrinted}= No"), PrintTitle);
        !run)
        return run;
    if (unprinted.isEmpty())
        return Status::ok();
    Database db;
    if (!db.isOpen())
        return reportMarking(db.openStatus());
    return reportMarking(markPrinted(db, unprinted));
}

} // namespace InvoicePrinting
