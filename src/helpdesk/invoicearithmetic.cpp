#include "helpdesk/invoicearithmetic.h"

#include "data/conversions.h"

namespace InvoiceArithmetic {

QString lineAmountText(const QString& quantity, const QString& price)
{
    const auto unitPrice = Currency::parse(price);
    if (quantity.isEmpty() || !conv::isNumeric(quantity) || !unitPrice)
        return QString();
    return QString::number(quantity.trimmed().toDouble() * unitPrice->toDouble(), 'g', 15);
}

Currency lineTax(double amount, double ratePercent)
{
    return Currency::fromDouble(amount * ratePercent / 100).roundedToCents();
}

LineCharge addLine(InvoiceTally& tally, double quantity, double price, const QString& amountText,
                   std::optional<double> taxRate)
{
    const Currency before = Currency::fromText(tally.totalText);
    LineCharge line;
    if (taxRate) {
        const double amount = quantity * price;
        line.taxable = true;
        line.tax = lineTax(amount, *taxRate);
        tally.tax += line.tax;
        tally.taxText = tally.tax.toPlainString();
        tally.totalText = conv::formatAmount(before.toDouble() + amount + line.tax.toDouble());
    } else {
        tally.totalText = (Currency::fromText(amountText) + before).toString();
    }
    line.charged = Currency::fromText(tally.totalText) - before;
    return line;
}

void removeLine(InvoiceTally& tally, const LineCharge& line, bool listNowEmpty)
{
    const Currency total = Currency::fromText(tally.totalText) - line.charged;
    if (!line.taxable) {
        tally.totalText = total.toString();
        return;
    }
    tally.tax -= line.tax;
    if (listNowEmpty) {
        tally.taxText = QStringLiteral("0.00");
        tally.totalText = QStringLiteral("0.00");
    } else {
        tally.taxText = tally.tax.toPlainString();
        tally.totalText = total.toString();
    }
}

} // namespace InvoiceArithmetic
