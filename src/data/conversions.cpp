#include "data/conversions.h"

#include <QRegularExpression>
#include <cmath>
#include <limits>

namespace conv {

namespace {

const QRegularExpression& numberPattern()
{
    static const QRegularExpression pattern(
        QStringLiteral(R"(^\s*[+-]?(\d+\.?\d*|\.\d+)([eE][+-]?\d+)?\s*$)"));
    return pattern;
}

// Zero-pads a whole-number text to `width` digits and inserts `separator` at the given
// distances from the right.
QString maskDigits(const QString& text, int width, std::initializer_list<int> cutsFromRight,
                   QChar separator)
{
    if (!isNumeric(text))
        return text;
    const double value = std::round(text.trimmed().toDouble());
    QString digits = QString::number(static_cast<qint64>(std::fabs(value)));
    digits = digits.rightJustified(width, QLatin1Char('0'));
    for (int cut : cutsFromRight)
        digits.insert(digits.size() - cut, separator);
    return value < 0 ? QLatin1Char('-') + digits : digits;
}

template <typename T> Whole<T> toWhole(const QString& text)
{
    Whole<T> result;
    if (!isNumeric(text)) {
        result.error = Whole<T>::Error::NotNumeric;
        return result;
    }
    const double value = std::nearbyint(text.trimmed().toDouble()); // halves to even
    if (value < std::numeric_limits<T>::min() || value > std::numeric_limits<T>::max()) {
        result.error = Whole<T>::Error::Overflow;
        return result;
    }
    result.value = static_cast<T>(value);
    return result;
}

} // namespace

QString formatAmount(double value)
{
    // Straight to cents from the value's 15 significant digits: no rounding on the way.
    const auto cents = Currency::parseScaled(QString::number(value, 'g', 15), 2,
                                             Currency::Rounding::HalfAwayFromZero);
    return Currency::fromUnits(cents.value_or(0) * 100).toString();
}

QString formatAmount(Currency value)
{
    return value.toString();
}

QString formatAmountText(const QString& text)
{
    if (!isNumeric(text))
        return text;
    return formatAmount(text.trimmed().toDouble());
}

QString formatSixDigits(std::int64_t value)
{
    const QString digits =
        QString::number(value < 0 ? -value : value).rightJustified(6, QLatin1Char('0'));
    return value < 0 ? QLatin1Char('-') + digits : digits;
}

QString formatSlashedDate(const QString& text)
{
    return maskDigits(text, 6, {4, 2}, QLatin1Char('/'));
}

QString formatSsn(const QString& text)
{
    return maskDigits(text, 9, {6, 4}, QLatin1Char('-'));
}

QString formatDate(const QDate& date)
{
    return date.isValid() ? date.toString(QStringLiteral("MM/dd/yy")) : QString();
}

std::optional<QDate> parseDate(const QString& text)
{
    static const QRegularExpression pattern(
        QStringLiteral(R"(^\s*(\d{1,2})[/-](\d{1,2})[/-](\d{2}|\d{4})\s*$)"));
    const auto match = pattern.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    const int month = match.captured(1).toInt();
    const int day = match.captured(2).toInt();
    int year = match.captured(3).toInt();
    if (match.captured(3).size() == 2)
        year += year < 30 ? 2000 : 1900;
    const QDate date(year, month, day);
    if (!date.isValid())
        return std::nullopt;
    return date;
}

bool isNumeric(const QString& text)
{
    return numberPattern().match(text).hasMatch();
}

Whole<std::int32_t> toInt32(const QString& text)
{
    return toWhole<std::int32_t>(text);
}

Whole<std::int16_t> toInt16(const QString& text)
{
    return toWhole<std::int16_t>(text);
}

double leadingNumber(const QString& text)
{
    static const QRegularExpression pattern(
        QStringLiteral(R"(^\s*[+-]?(\d+\.?\d*|\.\d+)([eE][+-]?\d+)?)"));
    const auto match = pattern.match(text);
    return match.hasMatch() ? match.captured(0).trimmed().toDouble() : 0.0;
}

} // namespace conv
