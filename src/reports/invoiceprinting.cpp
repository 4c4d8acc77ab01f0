#include "reports/invoiceprinting.h"

#include "data/database.h"
#include "reports/reportpreview.h"
#include "widgets/prompter.h"

#include <QList>

namespace {

const QString PrintTitle = QStringLiteral("Print Invoice");

/** Marks the invoices printed in one transaction; a failure is shown and nothing is marked. */
Status markPrinted(const QList<std::int32_t>& invoices)
{
    const Status status = Database::write([&](Database& db) {
        for (std::int32_t number : invoices) {
            if (Status marked = db.exec(
                    QStringLiteral("UPDATE ARInvoice SET InvPrinted = 1 WHERE InvNum = ?"), number);
                !marked)
                return marked;
        }
        return Status::ok();
    });
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
    if (Status run = previewReport({QStringLiteral("invoice2.rpt"),
                                    QStringLiteral("{ARINVOICE.InvNum}=%1").arg(invoiceNumber),
                                    PrintTitle,
                                    {}});
        !run)
        return run;
    return markPrinted({invoiceNumber});
}

Status printAllUnprinted()
{
    // Only the invoices read here are marked printed, so without them nothing is printed.
    const Result<QList<std::int32_t>> unprinted =
        Database::read([](Database& db) -> Result<QList<std::int32_t>> {
            QList<std::int32_t> numbers;
            Query query =
                db.query(QStringLiteral("SELECT InvNum FROM ARInvoice WHERE InvPrinted = 0"));
            while (query.next())
                numbers << static_cast<std::int32_t>(query.integer(0));
            if (!query.status())
                return query.status();
            return numbers;
        });
    if (!unprinted) {
        prompter().message(QStringLiteral("The invoices to print could not be read:\n%1")
                               .arg(unprinted.status().message()));
        return unprinted.status();
    }
    if (Status run = previewReport({QStringLiteral("invoice.rpt"),
                                    QStringLiteral("{ARINVOICE.InvPrinted}= No"),
                                    PrintTitle,
                                    {}});
        !run)
        return run;
    if (unprinted->isEmpty())
        return Status::ok();
    return markPrinted(*unprinted);
}

} // namespace InvoicePrinting
