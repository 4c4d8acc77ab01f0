#pragma once

#include <QString>
#include <compare>
#include <cstdint>
#include <optional>

/**
 * Exact money amount with four decimal places, held as a count of ten-thousandths.
 * Conversions from text or from a double round to four places, halves to even; rounding to
 * cents goes through the "#0.00" format, halves away from zero.
 */
class Currency {
public:
    static constexpr std::int64_t Scale = 10000;

    constexpr Currency() = default;
    static constexpr Currency fromUnits(std::int64_t tenThousandths)
    {
        Currency c;
        c.m_units = tenThousandths;
        return c;
    }
    static Currency fromDouble(double value);
    static Currency fromInt(std::int64_t whole) { return fromUnits(whole * Scale); }
    /** Reads a decimal number such as "12.5", "-3", "1,234.56"; nothing when it is not one. */
    static std::optional<Currency> parse(const QString& text);
    /** As parse, with text that is not a number read as zero. */
    static Currency fromText(const QString& text) { return parse(text).value_or(Currency()); }

    enum class Rounding { HalfEven, HalfAwayFromZero };
    /** Reads decimal text as a whole count of 10^-places, rounding the digits beyond. */
    static std::optional<std::int64_t> parseScaled(const QString& text, int places,
                                                   Rounding rounding);

    constexpr std::int64_t units() const { return m_units; }
    double toDouble() const { return static_cast<double>(m_units) / Scale; }
    bool isZero() const { return m_units == 0; }

    /** Halves away from zero, to two decimals. */
    Currency roundedToCents() const;
    /** "#0.00": two decimals, halves away from zero, no thousands separator. */
    QString toString() const;
    /** Shortest plain text: "30", "2.475", "-0.5". */
    QString toPlainString() const;

    Currency operator+(Currency o) const { return fromUnits(m_units + o.m_units); }
    Currency operator-(Currency o) const { return fromUnits(m_units - o.m_units); }
    Currency operator-() const { return fromUnits(-m_units); }
    Currency& operator+=(Currency o)
    {
        m_units += o.m_units;
        return *this;
    }
    Currency& operator-=(Currency o)
    {
        m_units -= o.m_units;
        return *this;
    }
    /** Product rounded to four places, halves to even. */
    Currency operator*(double factor) const;
    auto operator<=>(const Currency&) const = default;

private:
    std::int64_t m_units = 0;
};
