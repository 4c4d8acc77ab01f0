#include "helpdesk/invoicestore.h"

#include "helpdesk/numberedsave.h"

namespace {

// The ticket's first work order, as the repair frame shows it: its row and number.
struct TicketWorkOrderRow {
    std::int64_t rowId = 0;
    std::int32_t number = 0;
};

Result<std::optional<TicketWorkOrderRow>> firstWorkOrder(Database& db, std::int32_t ticket)
{
    Query query = db.query(QStringLiteral("SELECT rowid, WorkNum FROM RepairOrder "
                                          "WHERE TicketNum = ? ORDER BY rowid LIMIT 1"),
                           ticket);
    if (query.next())
        return std::optional<TicketWorkOrderRow>(
            TicketWorkOrderRow{query.integer(0), static_cast<std::int32_t>(query.integer(1))});
    if (!query.status())
        return query.status();
    return std::optional<TicketWorkOrderRow>();
}

Status writeRows(Database& db, const NewInvoice& invoice, std::int32_t number)
{
    const auto workOrder = firstWorkOrder(db, invoice.ticket);
    if (!workOrder)
        return workOrder.status();
    // A work order created since the ticket was chosen is the one billed, not the next number
    // that the repair frame shows after creating it.
    const std::optional<std::int32_t> workNumber =
        *workOrder ? std::optional<std::int32_t>((*workOrder)->number) : invoice.shownWorkOrder;

    Status status = db.exec(QStringLiteral("INSERT INTO ARInvoice (InvNum, InvDate, CustID, "
                                           "InvTax, InvTotal, WrkOrdNum, PostDate) "
                                           "VALUES (?, ?, ?, ?, ?, ?, ?)"),
                            number, invoice.date, invoice.customerId, invoice.tax, invoice.total,
                            workNumber, invoice.date);
    if (status.isDuplicate())
        return Status::error(Status::Kind::Duplicate,
                             QStringLiteral("Invoice %1 already exists.").arg(number));
    for (const InvoiceLine& line : invoice.lines) {
        if (!status)
            return status;
        status = db.exec(QStringLiteral("INSERT INTO InvDetail (InvNum, PartNo, PartDescp, "
                                        "PartQty, PartPrice) VALUES (?, ?, ?, ?, ?)"),
                         number, line.partNo, line.description, line.quantity, line.price);
    }
    if (status && *workOrder)
        status = db.exec(QStringLiteral("UPDATE RepairOrder SET Invoiced = 1 WHERE rowid = ?"),
                         (*workOrder)->rowId);
    return status;
}

} // namespace

namespace InvoiceStore {

Result<PartPricing> part(const QString& itemNo)
{
    return Database::read([&](Database& db) -> Result<PartPricing> {
        Query query = db.query(QStringLiteral("SELECT ItemDescp, ItemPrice1, Taxable, TaxRate "
                                              "FROM Inventory WHERE ItemNo = ?"),
                               itemNo);
        if (!query.next()) {
            if (!query.status())
                return query.status();
            return Status::error(Status::Kind::NotFound,
                                 QStringLiteral("Part %1 is not in the inventory.").arg(itemNo));
        }
        return PartPricing{query.text(0), query.money(1), query.boolean(2), query.real(3)};
    });
}

Result<std::int32_t> write(const NewInvoice& invoice, std::int32_t shownNumber)
{
    return NumberedSave::save(
        Counter::Invoice, shownNumber,
        [&](Database& db, std::int32_t number) { return writeRows(db, invoice, number); });
}

} // namespace InvoiceStore
