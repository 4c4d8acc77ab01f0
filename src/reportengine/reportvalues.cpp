#include "reportengine/reportvalues.h"

#include "data/conversions.h"
#include "data/currency.h"

#include <QLocale>
#include <cmath>

namespace ReportValues {

QString format(const ReportValue& value, FieldType type)
{
    if (value.null)
        return {};
    switch (type) {
    case FieldType::Text:
        return value.text;
    case FieldType::Number:
        return QString::number(value.whole);
    case FieldType::Decimal:
        return QString::number(value.real, 'g', 15);
    case FieldType::Money:
        return Currency::fromUnits(value.whole).toString();
    case FieldType::Date:
        return conv::formatDate(QDate::fromString(value.text, Qt::ISODate));
    case FieldType::YesNo:
        return value.whole ? QStringLiteral("Yes") : QStringLiteral("No");
    }
    return {};
}

QString plain(const ReportValue& value, FieldType type)
{
    if (value.null)
        return {};
    switch (type) {
    case FieldType::Decimal:
        return QString::number(value.real, 'f', QLocale::FloatingPointShortest);
    case FieldType::Date: {
        const QDate date = QDate::fromString(value.text.left(10), Qt::ISODate);
        return date.isValid() ? date.toString(Qt::ISODate) : value.text;
    }
    case FieldType::Text:
    case FieldType::Number:
    case FieldType::Money:
    case FieldType::YesNo:
        break;
    }
    return format(value, type);
}

double number(const ReportValue& value, FieldType type)
{
    if (value.null)
        return 0;
    switch (type) {
    case FieldType::Number:
    case FieldType::YesNo:
        return static_cast<double>(value.whole);
    case FieldType::Decimal:
        return value.real;
    case FieldType::Money:
        return Currency::fromUnits(value.whole).toDouble();
    case FieldType::Text:
    case FieldType::Date:
        break;
    }
    return 0;
}

namespace {

ReportValue fromNumber(double result, FieldType type)
{
    ReportValue value;
    value.null = false;
    if (type == FieldType::Money)
        value.whole = Currency::fromDouble(result).units();
    else if (type == FieldType::Decimal)
        value.real = result;
    else
        value.whole = static_cast<std::int64_t>(std::llround(result));
    return value;
}

} // namespace

void compute(ReportRow& row, const ReportLayout& layout)
{
    for (qsizetype i = 0; i < layout.fields.size(); ++i) {
        const LayoutField& field = layout.fields[i];
        if (field.source == LayoutField::Source::Column)
            continue;
        const ReportValue& left = row[field.left];
        const ReportValue& right = row[field.right];
        const FieldType leftType = layout.fields[field.left].type;
        const FieldType rightType = layout.fields[field.right].type;
        switch (field.source) {
        case LayoutField::Source::Product:
            row[i] =
                left.null || right.null
                    ? ReportValue()
                    : fromNumber(number(left, leftType) * number(right, rightType), field.type);
            break;
        case LayoutField::Source::Difference:
            // A missing subtrahend (no payment yet) counts as nothing paid.
            row[i] = left.null ? ReportValue()
                               : fromNumber(number(left, leftType) - number(right, rightType),
                                            field.type);
            break;
        case LayoutField::Source::Days: {
            const QDate from = QDate::fromString(left.text, Qt::ISODate);
            const QDate to = QDate::fromString(right.text, Qt::ISODate);
            row[i] = left.null || right.null || !from.isValid() || !to.isValid()
                         ? ReportValue()
                         : fromNumber(static_cast<double>(from.daysTo(to)), field.type);
            break;
        }
        case LayoutField::Source::Column:
            break;
        }
    }
}

} // namespace ReportValues

Accumulator::Accumulator(const ReportLayout& layout)
    : m_layout(layout), m_sums(layout.fields.size()), m_breakdowns(layout.breakdowns.size())
{
}

void Accumulator::reset()
{
    m_count = 0;
    std::fill(m_sums.begin(), m_sums.end(), Sum());
    for (auto& breakdown : m_breakdowns)
        breakdown.clear();
}

void Accumulator::add(const ReportRow& row)
{
    ++m_count;
    for (size_t i = 0; i < m_sums.size(); ++i) {
        const ReportValue& value = row[i];
        if (value.null)
            continue;
        Sum& sum = m_sums[i];
        ++sum.measured;
        if (m_layout.fields[i].type == FieldType::Decimal)
            sum.real += value.real;
        else
            sum.whole += value.whole;
    }
    for (size_t i = 0; i < m_breakdowns.size(); ++i) {
        const LayoutBreakdown& breakdown = m_layout.breakdowns[i];
        Entry& entry = m_breakdowns[i][ReportValues::format(row[breakdown.by],
                                                            m_layout.fields[breakdown.by].type)];
        ++entry.count;
        if (breakdown.average >= 0 && !row[breakdown.average].null) {
            entry.total += ReportValues::number(row[breakdown.average],
                                                m_layout.fields[breakdown.average].type);
            ++entry.measured;
        }
    }
}

QString Accumulator::sumText(int field) const
{
    const Sum& sum = m_sums[field];
    ReportValue value;
    value.null = false;
    value.whole = sum.whole;
    value.real = sum.real;
    const FieldType type = m_layout.fields[field].type;
    return ReportValues::format(value, type == FieldType::YesNo ? FieldType::Number : type);
}

QString Accumulator::averageText(int field) const
{
    const Sum& sum = m_sums[field];
    if (sum.measured == 0)
        return QStringLiteral("-");
    const FieldType type = m_layout.fields[field].type;
    const double total = type == FieldType::Decimal ? sum.real
                         : type == FieldType::Money ? Currency::fromUnits(sum.whole).toDouble()
                                                    : static_cast<double>(sum.whole);
    const double average = total / static_cast<double>(sum.measured);
    return type == FieldType::Money ? conv::formatAmount(average)
                                    : QString::number(average, 'f', 1);
}
