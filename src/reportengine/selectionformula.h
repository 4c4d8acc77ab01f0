#pragma once

#include "data/database.h"
#include "data/status.h"
#include "reportengine/reportlayout.h"

#include <QList>
#include <QString>
#include <functional>

/** A record selection as an SQL condition whose values are all bound parameters. */
struct SelectionCondition {
    QString sql; // empty: every record
    QList<SqlValue> values;
};

/** What a formula needs to know of a field it names: its SQL reference and its kind. */
struct FormulaField {
    QString sql;
    FieldType type = FieldType::Text;
};

using FormulaFieldResolver =
    std::function<Result<FormulaField>(const QString& table, const QString& column)>;

/**
 * The record selection formulas of the report layouts: comparisons of a {Table.Column} field
 * with text in quotes, a number, Yes/No/True/False or Date(y,m,d), the range form
 * "{field} in Date(y,m,d) to Date(y,m,d)", joined with and/or/not and parentheses. The empty
 * formula selects every record. Values never become SQL text. Longer or deeper formulas than the
 * bounds below are refused.
 */
namespace SelectionFormula {

/** Bounds that keep a formula, and the SQL made from it, within what the database accepts. */
inline constexpr int MaxLength = 10000;
inline constexpr int MaxNesting = 20; // parentheses and "not" together
inline constexpr int MaxComparisons = 200;

Result<SelectionCondition> parse(const QString& formula, const FormulaFieldResolver& resolve);

} // namespace SelectionFormula
