#include "data/currency.h"

Currency Currency::fromDouble(double value)
{
    // Go through 15 significant digits first so that 2.475 is taken as written, not as the
    // nearest binary fraction 2.47499999...
    return fromUnits(
        parseScaled(QString::number(value, 'g', 15), 4, Rounding::HalfEven).value_or(0));
}

std::optional<Currency> Currency::parse(const QString& text)
{
    const auto units = parseScaled(text, 4, Rounding::HalfEven);
    if (!units)
        return std::nullopt;
    return fromUnits(*units);
}

std::optional<std::int64_t> Currency::parseScaled(const QString& text, int places,
                                                  Rounding rounding)
{
    QString s = text.trimmed();
    s.remove(QLatin1Char(','));
    bool negative = false;
    int i = 0;
    if (!s.isEmpty() && (s[0] == QLatin1Char('-') || s[0] == QLatin1Char('+'))) {
        negative = s[0] == QLatin1Char('-');
        ++i;
    }
    QString digits; // every digit, the decimal point dropped
    int pointAt = -1;
    for (; i < s.size(); ++i) {
        if (s[i].isDigit())
            digits += s[i];
        else if (s[i] == QLatin1Char('.') && pointAt < 0)
            pointAt = static_cast<int>(digits.size());
        else
            break;
    }
    if (digits.isEmpty())
        return std::nullopt;
    if (pointAt < 0)
        pointAt = static_cast<int>(digits.size());
    if (i < s.size()) {
        // An exponent moves the decimal point.
        if (s[i] != QLatin1Char('e') && s[i] != QLatin1Char('E'))
            return std::nullopt;
        bool ok = false;
        const int exponent = s.mid(i + 1).toInt(&ok);
        if (!ok || exponent > 30 || exponent < -300)
            return std::nullopt;
        pointAt += exponent;
    }
    while (pointAt < 0) {
        digits.prepend(QLatin1Char('0'));
        ++pointAt;
    }
    while (digits.size() < pointAt + places)
        digits += QLatin1Char('0');
    const int kept = pointAt + places;
    if (kept > 18)
        return std::nullopt;
    std::int64_t units = 0;
    for (int d = 0; d < kept; ++d)
        units = units * 10 + digits[d].digitValue();
    const QStringView rest = QStringView(digits).mid(kept);
    if (!rest.isEmpty()) {
        const int first = rest[0].digitValue();
        bool tail = false;
        for (qsizetype d = 1; d < rest.size(); ++d)
            tail = tail || rest[d] != QLatin1Char('0');
        const bool half = first == 5 && !tail;
        if (first > 5 || (first == 5 && tail) ||
            (half && (rounding == Rounding::HalfAwayFromZero || units % 2 != 0)))
            ++units;
    }
    return negative ? -units : units;
}

Currency Currency::roundedToCents() const
{
    const std::int64_t magnitude = m_units < 0 ? -m_units : m_units;
    const std::int64_t cents = (magnitude + 50) / 100;
    return fromUnits((m_units < 0 ? -cents : cents) * 100);
}

QString Currency::toString() const
{
    const std::int64_t rounded = roundedToCents().units() / 100;
    const std::int64_t magnitude = rounded < 0 ? -rounded : rounded;
    QString text =
        QStringLiteral("%1.%2").arg(magnitude / 100).arg(magnitude % 100, 2, 10, QLatin1Char('0'));
    return rounded < 0 ? QLatin1Char('-') + text : text;
}

QString Currency::toPlainString() const
{
    const std::int64_t magnitude = m_units < 0 ? -m_units : m_units;
    QString text = QString::number(magnitude / Scale);
    std::int64_t fraction = magnitude % Scale;
    if (fraction != 0) {
        QString digits = QStringLiteral("%1").arg(fraction, 4, 10, QLatin1Char('0'));
        while (digits.endsWith(QLatin1Char('0')))
            digits.chop(1);
        text += QLatin1Char('.') + digits;
    }
    return m_units < 0 ? QLatin1Char('-') + text : text;
}

Currency Currency::operator*(double factor) const
{
    return fromDouble(toDouble() * factor);
}
