#pragma once

#include "data/currency.h"

#include <QDate>
#include <QString>
#include <concepts>
#include <cstdint>
#include <optional>

/** A SQL value bound to a statement parameter: null, whole number, real, text, date, money or
 *  yes/no. Dates travel as ISO text, money as ten-thousandths, yes/no as 0 or 1. */
class SqlValue {
public:
    enum class Type { Null, Integer, Real, Text };

    SqlValue() = default;
    SqlValue(std::nullopt_t) {}
    template <std::integral T>
    requires(!std::same_as<T, bool>) SqlValue(T v)
        : m_type(Type::Integer), m_integer(static_cast<std::int64_t>(v))
    {
    }
    SqlValue(bool v) : m_type(Type::Integer), m_integer(v ? 1 : 0) {}
    SqlValue(double v) : m_type(Type::Real), m_real(v) {}
    SqlValue(const QString& v) : m_type(Type::Text), m_text(v) {}
    SqlValue(const char* v) : m_type(Type::Text), m_text(QString::fromUtf8(v)) {}
    SqlValue(Currency v) : m_type(Type::Integer), m_integer(v.units()) {}
    SqlValue(const QDate& v);
    template <typename T> SqlValue(const std::optional<T>& v)
    {
        if (v)
            *this = SqlValue(*v);
    }

    Type type() const { return m_type; }
    std::int64_t integer() const { return m_integer; }
    double real() const { return m_real; }
    const QString& text() const { return m_text; }

private:
    Type m_type = Type::Null;
    std::int64_t m_integer = 0;
    double m_real = 0;
    QString m_text;
};
