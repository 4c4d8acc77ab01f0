#include "reportengine/reportdata.h"

#include <QHash>

namespace {

QString quoted(const QString& identifier)
{
    return QStringLiteral("\"%1\"").arg(identifier);
}

QString joinSource(const LayoutJoin& join)
{
    const QString where =
        join.unless.isEmpty() ? QString() : QStringLiteral(" WHERE NOT ") + quoted(join.unless);
    if (join.kind == LayoutJoin::Kind::Rows)
        return where.isEmpty()
                   ? quoted(join.table)
                   : QStringLiteral("(SELECT * FROM %1%2) AS %1").arg(quoted(join.table), where);
    QStringList columns{quoted(join.key)};
    for (const QString& column : join.columns)
        columns << (join.kind == LayoutJoin::Kind::Sum
                        ? QStringLiteral("sum(%1) AS %1").arg(quoted(column))
                        : quoted(column));
    // SQLite takes the bare columns of a min() aggregate from the row holding the minimum, so a
    // First join brings the earliest stored row of each key.
    if (join.kind == LayoutJoin::Kind::First)
        columns << QStringLiteral("min(rowid) AS FirstRow");
    return QStringLiteral("(SELECT %1 FROM %2%3 GROUP BY %4) AS %2")
        .arg(columns.join(QStringLiteral(", ")), quoted(join.table), where, quoted(join.key));
}

FieldType typeOfDeclared(const QString& declared)
{
    if (declared.contains(QLatin1String("DATE"), Qt::CaseInsensitive))
        return FieldType::Date;
    if (declared.contains(QLatin1String("REAL"), Qt::CaseInsensitive))
        return FieldType::Decimal;
    if (declared.contains(QLatin1String("INT"), Qt::CaseInsensitive))
        return FieldType::Number;
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
        std::optional<FormulaField> found;
        const LayoutJoin* join = layout.joinOf(*known);
        // The table name is one of the layout's checked identifiers, never the formula's text.
        Query info = db.query(QStringLiteral("PRAGMA table_info(%1)").arg(quoted(*known)));
        while (info.next()) {
            const QString name = info.text(1);
            if (name.compare(column, Qt::CaseInsensitive) != 0)
                continue;
            if (join && join->kind != LayoutJoin::Kind::Rows && join->key != name &&
                !join->columns.contains(name, Qt::CaseInsensitive))
                break;
            found = FormulaField{ColumnRef{*known, name}.sql(), typeOfDeclared(info.text(2))};
        }
        if (!found)
            return Status::failed(
                QStringLiteral("the field {%1.%2} is not known to this report").arg(table, column));
        return *found;
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
    QString sql = QStringLiteral("SELECT %1 FROM %2")
                      .arg(columns.join(QStringLiteral(", ")), quoted(layout.from));
    for (const LayoutJoin& join : layout.joins)
        sql += QStringLiteral(" LEFT JOIN %1 ON %2.%3 = %4")
                   .arg(joinSource(join), quoted(join.table), quoted(join.key), join.from.sql());
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
