#include "reportengine/reportdata.h"

#include "data/schema.h"

#include <QHash>

namespace {

// Table and column names go into the SQL unquoted, as the schema itself writes them, so that
// the server, which keeps them in lower case, finds them as the file does. A layout's names are
// checked to be plain identifiers when it is read.
QString joinSource(const LayoutJoin& join)
{
    // Yes/no columns hold 0 or 1 on both engines; the server has no NOT for a number.
    const QString kept =
        join.unless.isEmpty() ? QString() : QStringLiteral(" WHERE %1 = 0").arg(join.unless);
    if (join.kind == LayoutJoin::Kind::Rows)
        return kept.isEmpty() ? join.table
                              : QStringLiteral("(SELECT * FROM %1%2) AS %1").arg(join.table, kept);
    QStringList columns{join.key};
    for (const QString& column : join.columns)
        columns << (join.kind == LayoutJoin::Kind::Sum ? QStringLiteral("sum(%1) AS %1").arg(column)
                                                       : column);
    if (join.kind == LayoutJoin::Kind::Sum)
        return QStringLiteral("(SELECT %1 FROM %2%3 GROUP BY %4) AS %2")
            .arg(columns.join(QStringLiteral(", ")), join.table, kept, join.key);
    // A First join brings the earliest stored row of each key: rowids count in insertion order
    // on both engines.
    return QStringLiteral("(SELECT %1 FROM %2 WHERE rowid IN (SELECT min(rowid) FROM %2%3 GROUP BY "
                          "%4)) AS %2")
        .arg(columns.join(QStringLiteral(", ")), join.table, kept, join.key);
}

FieldType typeOfColumn(Schema::ColumnKind kind)
{
    switch (kind) {
    case Schema::ColumnKind::Integer:
        return FieldType::Number;
    case Schema::ColumnKind::Real:
        return FieldType::Decimal;
    case Schema::ColumnKind::Date:
        return FieldType::Date;
    case Schema::ColumnKind::Text:
        break;
    }
    return FieldType::Text;
}

} // namespace

namespace ReportData {

FormulaFieldResolver fieldResolver(Database& db, const ReportLayout& layout)
{
    return [&db, &layout](const QString& table, const QString& column) -> Result<FormulaField> {
        const QStringList tables = layout.tables();
        const auto known = std::find_if(tables.begin(), tables.end(), [&](const QString& name) {
            return name.compare(table, Qt::CaseInsensitive) == 0;
        });
        if (known == tables.end())
            return Status::failed(
                QStringLiteral("the table %1 is not read by this report").arg(table));
        // A field the layout shows keeps the layout's kind (money, yes/no); others take the
        // kind their column is declared with.
        for (const LayoutField& field : layout.fields) {
            if (field.source == LayoutField::Source::Column &&
                field.column.table.compare(table, Qt::CaseInsensitive) == 0 &&
                field.column.column.compare(column, Qt::CaseInsensitive) == 0)
                return FormulaField{field.column.sql(), field.type};
        }
        // A Sum or First join offers only its key and its columns.
        const LayoutJoin* join = layout.joinOf(*known);
        if (!join || join->kind == LayoutJoin::Kind::Rows ||
            join->key.compare(column, Qt::CaseInsensitive) == 0 ||
            join->columns.contains(column, Qt::CaseInsensitive)) {
            const auto columns = Schema::columns(db, *known);
            if (!columns)
                return columns.status();
            for (const Schema::ColumnInfo& info : *columns) {
                if (info.name.compare(column, Qt::CaseInsensitive) == 0)
                    return FormulaField{ColumnRef{*known, info.name}.sql(),
                                        typeOfColumn(info.kind)};
            }
        }
        return Status::failed(
            QStringLiteral("the field {%1.%2} is not known to this report").arg(table, column));
    };
}

QString selectStatement(const ReportLayout& layout, const SelectionCondition& condition)
{
    QStringList columns;
    for (const LayoutField& field : layout.fields)
        if (field.source == LayoutField::Source::Column)
            columns << field.column.sql();
    if (columns.isEmpty())
        columns << QStringLiteral("1");
    QString sql =
        QStringLiteral("SELECT %1 FROM %2").arg(columns.join(QStringLiteral(", ")), layout.from);
    for (const LayoutJoin& join : layout.joins)
        sql += QStringLiteral(" LEFT JOIN %1 ON %2.%3 = %4")
                   .arg(joinSource(join), join.table, join.key, join.from.sql());
    if (!condition.sql.isEmpty())
        sql += QStringLiteral(" WHERE ") + condition.sql;
    QStringList order;
    for (const auto& [column, descending] : layout.order)
        order << column.sql() + (descending ? QStringLiteral(" DESC") : QString());
    if (!order.isEmpty())
        sql += QStringLiteral(" ORDER BY ") + order.join(QStringLiteral(", "));
    return sql;
}

Status stream(Database& db, const ReportLayout& layout, const SelectionCondition& condition,
              const std::function<void(const ReportRow&)>& onRow)
{
    Query query =
        db.prepare(selectStatement(layout, condition),
                   std::span<const SqlValue>(condition.values.constData(),
                                             static_cast<size_t>(condition.values.size())));
    if (!query.status())
        return Status::failed(QStringLiteral("The report %1 cannot read its data: %2")
                                  .arg(layout.name, query.status().message()));
    ReportRow row(static_cast<size_t>(layout.fields.size()));
    while (query.next()) {
        int column = 0;
        for (int i = 0; i < layout.fields.size(); ++i) {
            const LayoutField& field = layout.fields[i];
            if (field.source != LayoutField::Source::Column)
                continue;
            ReportValue& value = row[static_cast<size_t>(i)];
            value.null = query.isNull(column);
            switch (field.type) {
            case FieldType::Text:
            case FieldType::Date:
                value.text = query.text(column);
                break;
            case FieldType::Decimal:
                value.real = query.real(column);
                break;
            case FieldType::Number:
            case FieldType::Money:
            case FieldType::YesNo:
                value.whole = query.integer(column);
                break;
            }
            ++column;
        }
        ReportValues::compute(row, layout);
        onRow(row);
    }
    if (!query.status())
        return Status::failed(QStringLiteral("The report %1 stopped reading its data: %2")
                                  .arg(layout.name, query.status().message()));
    return Status::ok();
}

CompanyHeading companyHeading(Database& db)
{
    CompanyHeading heading;
    Query query = db.query(QStringLiteral(
        "SELECT CompName, CompAdd, CompCity, CompState, CompZip, CompPhone, CompFax, CompEmail, "
        "CompWeb FROM COMPANY LIMIT 1"));
    if (!query.next())
        return heading;
    heading.name = query.text(0);
    auto add = [&](const QString& line) {
        if (!line.trimmed().isEmpty())
            heading.lines << line.trimmed();
    };
    add(query.text(1));
    const QString city = query.text(2).trimmed();
    add((city.isEmpty() ? QString() : city + QStringLiteral(", ")) +
        QStringList{query.text(3).trimmed(), query.text(4).trimmed()}.join(QLatin1Char(' ')));
    QStringList contact;
    if (!query.text(5).isEmpty())
        contact << QStringLiteral("Phone %1").arg(query.text(5));
    if (!query.text(6).isEmpty())
        contact << QStringLiteral("Fax %1").arg(query.text(6));
    add(contact.join(QStringLiteral("   ")));
    add(QStringList{query.text(7), query.text(8)}.join(QStringLiteral("   ")));
    return heading;
}

} // namespace ReportData
