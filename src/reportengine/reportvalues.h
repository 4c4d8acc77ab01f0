#pragma once

#include "reportengine/reportlayout.h"

#include <QMap>
#include <QString>
#include <cstdint>
#include <vector>

/** One value of a report record: whole numbers, money, yes/no in `whole`, decimals in `real`,
 *  text and ISO dates in `text`. */
struct ReportValue {
    bool null = true;
    std::int64_t whole = 0;
    double real = 0;
    QString text;
};

/** A record of the report's data, one value per layout field. */
using ReportRow = std::vector<ReportValue>;

namespace ReportValues {

/** The value as the report prints it: money "#0.00", dates "mm/dd/yy", yes/no as Yes or No. */
QString format(const ReportValue& value, FieldType type);
/** The value as a spreadsheet reads it: numbers with a dot decimal and no grouping, money to
 *  the cent, dates as YYYY-MM-DD, yes/no as Yes or No; nothing for no value. */
QString plain(const ReportValue& value, FieldType type);
/** The value as a number: money in whole currency units, dates as nothing. */
double number(const ReportValue& value, FieldType type);
/** Fills the computed fields of a row from its columns. */
void compute(ReportRow& row, const ReportLayout& layout);

} // namespace ReportValues

/** Running counts, sums and breakdowns over the records of one group or of the whole report. */
class Accumulator {
public:
    explicit Accumulator(const ReportLayout& layout);

    void add(const ReportRow& row);
    void reset();

    std::int64_t count() const { return m_count; }
    QString sumText(int field) const;
    QString averageText(int field) const;

    struct Entry {
        std::int64_t count = 0;
        double total = 0;
        std::int64_t measured = 0;
    };
    const QMap<QString, Entry>& breakdown(int index) const { return m_breakdowns[index]; }

private:
    struct Sum {
        std::int64_t whole = 0;
        double real = 0;
        std::int64_t measured = 0;
    };

    const ReportLayout& m_layout;
    std::int64_t m_count = 0;
    std::vector<Sum> m_sums;
    std::vector<QMap<QString, Entry>> m_breakdowns;
};
