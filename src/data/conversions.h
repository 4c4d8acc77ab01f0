#pragma once

#include "data/currency.h"

#include <QDate>
#include <QString>
#include <cstdint>
#include <optional>

/** The number, date and text conversions that the windows share. */
namespace conv {

/** "#0.00": two decimals, halves away from zero, read from 15 significant digits. */
QString formatAmount(double value);
QString formatAmount(Currency value);
/** "#0.00" applied to text: a number is formatted, any other text comes back unchanged. */
QString formatAmountText(const QString& text);
/** "000000": at least six digits, zero-padded. */
QString formatSixDigits(std::int64_t value);
/** "00/00/00" applied to text: a whole number such as 120626 becomes 12/06/26. */
QString formatSlashedDate(const QString& text);
/** "000-00-0000" applied to text: a whole number such as 123456789 becomes 123-45-6789. */
QString formatSsn(const QString& text);
/** "mm/dd/yy". */
QString formatDate(const QDate& date);

/** Reads "mm/dd/yy", "m/d/yy" or a four-digit year; two-digit years 00-29 are 20xx. */
std::optional<QDate> parseDate(const QString& text);
inline bool isDate(const QString& text)
{
    return parseDate(text).has_value();
}

/** A decimal number, optionally signed, with an optional exponent; blanks around it allowed. */
bool isNumeric(const QString& text);

/** Conversion of text to a whole number: fractions round halves to even, as the shop's
 *  earlier system did; text that is no number and values out of range are told apart. */
template <typename T> struct Whole {
    enum class Error { None, NotNumeric, Overflow };
    T value{};
    Error error = Error::None;
    bool ok() const { return error == Error::None; }
};
Whole<std::int32_t> toInt32(const QString& text);
Whole<std::int16_t> toInt16(const QString& text);

/** The leading number of a text, as a lenient "Val" reads it: "12abc" is 12, "abc" is 0. */
double leadingNumber(const QString& text);

} // namespace conv
