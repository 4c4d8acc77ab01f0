#include "masterdata/employeeinput.h"

#include "data/conversions.h"

#include <cmath>

namespace EmployeeInput {

namespace {

// A number as a fixed count of zero-padded digits, the way the shop's digit masks read it:
// "12345" padded to six is "012345"; other text comes back unchanged.
QString padded(const QString& text, int width)
{
    if (!conv::isNumeric(text))
        return text;
    const double value = std::round(text.trimmed().toDouble());
    const QString digits =
        QString::number(static_cast<qint64>(std::fabs(value))).rightJustified(width, u'0');
    return value < 0 ? QLatin1Char('-') + digits : digits;
}

} // namespace

QString employeeId(const QString& first, const QString& middle, const QString& last,
                   std::int64_t number)
{
    // The middle initial is trimmed as well: a blank in an ID would cut it short wherever the
    // ID is read back from a list line.
    const QString initials =
        first.left(1).trimmed() + middle.left(1).trimmed() + last.left(1).trimmed();
    return initials.toUpper() + QLatin1Char('-') + QString::number(number);
}

Checked checkSsn(const QString& text)
{
    if (text == padded(text, 9))
        return {conv::formatSsn(text), false};
    return {text, true};
}

Checked checkDate(const QString& text)
{
    if (text.isEmpty() || conv::isDate(text))
        return {text, false};
    const QString shown =
        conv::isNumeric(text) && text == padded(text, 6) ? conv::formatSlashedDate(text) : text;
    return {shown, !conv::isDate(shown)};
}

} // namespace EmployeeInput
