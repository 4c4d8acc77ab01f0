#pragma once

#include "data/database.h"

#include <QDate>
#include <QList>
#include <QString>
#include <cstdint>
#include <optional>

/** What a part costs and how it is taxed. */
struct PartPricing {
    QString description;
    Currency price;
    bool taxable = false;
    /** A percentage: 8.25 means 8.25 %. */
    double taxRate = 0;
};

/** One billed part of an invoice. */
struct InvoiceLine {
    QString partNo;
    QString description;
    double quantity = 0;
    Currency price;
};

/** An invoice as the invoice frame writes it. */
struct NewInvoice {
    QString customerId;
    /** Both the invoice date and the post date. */
    QDate date;
    Currency tax;
    Currency total;
    /** The ticket whose work order is marked invoiced; 0 when none was chosen. */
    std::int32_t ticket = 0;
    /** The work order number shown, used when the ticket has no work order. */
    std::optional<std::int32_t> shownWorkOrder;
    QList<InvoiceLine> lines;
};

/** The invoices: pricing a part and writing an invoice with its lines, each on a scope of the
 *  program's database of its own. */
namespace InvoiceStore {

/** The part's description, price and tax; NotFound when there is no such part. */
Result<PartPricing> part(const QString& itemNo);

/**
 * Writes the invoice header and its lines, marks the ticket's work order invoiced and commits
 * the invoice counter, all or nothing. The invoice gets `shownNumber`, or the counter's next
 * number when the counter has moved past it since; the number used is returned.
 */
Result<std::int32_t> write(const NewInvoice& invoice, std::int32_t shownNumber);

} // namespace InvoiceStore
