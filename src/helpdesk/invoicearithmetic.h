#pragma once

#include "data/currency.h"

#include <QString>
#include <optional>

/** What one line of the invoice list added to the invoice, so that removing it takes back
 *  exactly that. */
struct LineCharge {
    bool taxable = false;
    /** The line's tax, rounded to cents. */
    Currency tax;
    /** What the invoice total rose by, tax included. */
    Currency charged;
};

/** The invoice's running tax and total as the Tax and Invoice Total boxes show them. */
struct InvoiceTally {
    /** The tax of the lines on the list. */
    Currency tax;
    /** The tax as plain text ("1.5"), or "0.00" while no taxed line was added. */
    QString taxText = QStringLiteral("0.00");
    /** The total with two decimals. */
    QString totalText = QStringLiteral("0.00");
};

/**
 * The money arithmetic of an invoice being entered. Amounts are exact to four places and
 * rounded to cents, halves away from zero, where the shop's invoices always rounded them.
 */
namespace InvoiceArithmetic {

/** The amount of the line being entered, quantity times price, as plain text ("30",
 *  "19.485"); empty while the quantity is empty or either is not a number. */
QString lineAmountText(const QString& quantity, const QString& price);

/** The tax on `amount` at `ratePercent`, rounded to cents. */
Currency lineTax(double amount, double ratePercent);

/**
 * Adds a line of `quantity` at `price` to the tally. A taxed line (a rate is given) adds the
 * amount and its tax; an untaxed one adds `amountText`, the line amount as shown.
 */
LineCharge addLine(InvoiceTally& tally, double quantity, double price, const QString& amountText,
                   std::optional<double> taxRate);

/** Takes a line back out of the tally; `listNowEmpty` when it was the last one. */
void removeLine(InvoiceTally& tally, const LineCharge& line, bool listNowEmpty);

} // namespace InvoiceArithmetic
