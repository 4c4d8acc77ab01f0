#include "reportengine/reportlayout.h"

#include "reportengine/texttemplate.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <stdexcept>

namespace {

/** A fault in a layout file; caught at the top of parse() and turned into a Status. */
struct LayoutError : std::runtime_error {
    explicit LayoutError(const QString& text) : std::runtime_error(text.toStdString()) {}
};

[[noreturn]] void fail(const QString& text)
{
    throw LayoutError(text);
}

bool isIdentifier(const QString& text)
{
    static const QRegularExpression identifier(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
    return identifier.match(text).hasMatch();
}

QString identifier(const QString& text)
{
    if (!isIdentifier(text))
        fail(QStringLiteral("\"%1\" is not a table or column name.").arg(text));
    return text;
}

ColumnRef columnRef(const QString& text)
{
    const QStringList parts = text.split(QLatin1Char('.'));
    if (parts.size() != 2)
        fail(QStringLiteral("\"%1\" should read Table.Column.").arg(text));
    return {identifier(parts[0]), identifier(parts[1])};
}

FieldType fieldType(const QString& name)
{
    static const QList<std::pair<QString, FieldType>> types = {
        {QStringLiteral("text"), FieldType::Text},
        {QStringLiteral("number"), FieldType::Number},
        {QStringLiteral("decimal"), FieldType::Decimal},
        {QStringLiteral("money"), FieldType::Money},
        {QStringLiteral("date"), FieldType::Date},
        {QStringLiteral("yesno"), FieldType::YesNo},
    };
    for (const auto& [text, type] : types)
        if (text == name)
            return type;
    fail(QStringLiteral("Unknown field type \"%1\".").arg(name));
}

class Parser {
public:
    explicit Parser(ReportLayout& layout) : m_layout(layout) {}

    void read(const QJsonObject& root)
    {
        m_layout.title = root.value(QStringLiteral("title")).toString();
        m_layout.landscape =
            root.value(QStringLiteral("orientation")).toString() == QLatin1String("landscape");
        m_layout.companyHeader = root.value(QStringLiteral("companyHeader")).toBool(true);
        m_layout.footnote = root.value(QStringLiteral("footnote")).toString();
        m_layout.emptyText =
            root.value(QStringLiteral("empty"))
                .toString(QStringLiteral("No records match the selection of this report."));
        readData(root.value(QStringLiteral("data")).toObject());
        readFields(root.value(QStringLiteral("fields")).toObject());
        const QJsonObject detail = root.value(QStringLiteral("detail")).toObject();
        readColumns(detail.value(QStringLiteral("columns")).toArray());
        if (detail.contains(QStringLiteral("when")))
            m_layout.detailWhen = field(detail.value(QStringLiteral("when")).toString());
        m_layout.detailBands = bands(detail.value(QStringLiteral("bands")).toArray());
        m_layout.reportHeader = bands(root.value(QStringLiteral("header")).toArray());
        m_layout.reportFooter = bands(root.value(QStringLiteral("footer")).toArray());
        for (const QJsonValue& value : root.value(QStringLiteral("groups")).toArray()) {
            const QJsonObject group = value.toObject();
            m_layout.groups.append({field(group.value(QStringLiteral("by")).toString()),
                                    group.value(QStringLiteral("newPage")).toBool(),
                                    bands(group.value(QStringLiteral("header")).toArray()),
                                    bands(group.value(QStringLiteral("footer")).toArray())});
        }
    }

private:
    void readData(const QJsonObject& data)
    {
        m_layout.from = identifier(data.value(QStringLiteral("from")).toString());
        m_layout.filter = data.value(QStringLiteral("filter")).toString();
        for (const QJsonValue& value : data.value(QStringLiteral("join")).toArray()) {
            const QJsonObject object = value.toObject();
            LayoutJoin join;
            join.table = identifier(object.value(QStringLiteral("table")).toString());
            join.key = identifier(object.value(QStringLiteral("key")).toString());
            join.from = columnRef(object.value(QStringLiteral("to")).toString());
            for (const auto& [key, kind] : {std::pair{"sum", LayoutJoin::Kind::Sum},
                                            std::pair{"first", LayoutJoin::Kind::First}}) {
                if (!object.contains(QLatin1String(key)))
                    continue;
                join.kind = kind;
                for (const QJsonValue& column : object.value(QLatin1String(key)).toArray())
                    join.columns << identifier(column.toString());
            }
            if (object.contains(QStringLiteral("unless")))
                join.unless = identifier(object.value(QStringLiteral("unless")).toString());
            if (!m_layout.tables().contains(join.from.table, Qt::CaseInsensitive))
                fail(QStringLiteral("The join of %1 refers to %2, which is not joined before it.")
                         .arg(join.table, join.from.table));
            m_layout.joins.append(join);
        }
        for (const QJsonValue& value : data.value(QStringLiteral("order")).toArray()) {
            QString text = value.toString().trimmed();
            const bool descending = text.endsWith(QLatin1String(" desc"), Qt::CaseInsensitive);
            if (descending)
                text.chop(5);
            m_layout.order.append({knownColumn(text.trimmed()), descending});
        }
    }

    ColumnRef knownColumn(const QString& text)
    {
        const ColumnRef ref = columnRef(text);
        if (!m_layout.tables().contains(ref.table, Qt::CaseInsensitive))
            fail(QStringLiteral("%1 is not one of the tables this layout reads.").arg(ref.table));
        const LayoutJoin* join = m_layout.joinOf(ref.table);
        if (join && join->kind != LayoutJoin::Kind::Rows && join->key != ref.column &&
            !join->columns.contains(ref.column))
            fail(QStringLiteral("The join of %1 does not bring %2.").arg(ref.table, ref.column));
        return ref;
    }

    void readFields(const QJsonObject& fields)
    {
        for (auto it = fields.begin(); it != fields.end(); ++it) {
            LayoutField f;
            f.name = identifier(it.key());
            if (it.value().isString()) {
                const QStringList parts =
                    it.value().toString().split(QLatin1Char(' '), Qt::SkipEmptyParts);
                f.column = knownColumn(parts.value(0));
                f.type = fieldType(parts.value(1, QStringLiteral("text")));
            } else {
                f.type = fieldType(it.value()
                                       .toObject()
                                       .value(QStringLiteral("type"))
                                       .toString(QStringLiteral("number")));
            }
            m_layout.fields.append(f);
        }
        // Operands are looked up once every field has its name, in whatever order they came.
        for (auto it = fields.begin(); it != fields.end(); ++it) {
            if (!it.value().isObject())
                continue;
            LayoutField& f = m_layout.fields[m_layout.fieldIndex(it.key())];
            const QJsonObject object = it.value().toObject();
            const QList<std::pair<QString, LayoutField::Source>> sources = {
                {QStringLiteral("product"), LayoutField::Source::Product},
                {QStringLiteral("difference"), LayoutField::Source::Difference},
                {QStringLiteral("days"), LayoutField::Source::Days},
            };
            for (const auto& [key, source] : sources) {
                if (!object.contains(key))
                    continue;
                const QJsonArray operands = object.value(key).toArray();
                f.source = source;
                f.left = field(operands.at(0).toString());
                f.right = field(operands.at(1).toString());
                if (m_layout.fields[f.left].source != LayoutField::Source::Column ||
                    m_layout.fields[f.right].source != LayoutField::Source::Column)
                    fail(QStringLiteral("%1 must be computed from plain columns.").arg(f.name));
            }
            if (f.source == LayoutField::Source::Column)
                fail(QStringLiteral("Field %1 names no column and no computation.").arg(f.name));
        }
    }

    int field(const QString& name)
    {
        const int index = m_layout.fieldIndex(name);
        if (index < 0)
            fail(QStringLiteral("Unknown field \"%1\".").arg(name));
        return index;
    }

    TextTemplate text(const QJsonValue& value)
    {
        Result<TextTemplate> parsed = parseTemplate(value.toString(), m_layout);
        if (!parsed)
            fail(parsed.status().message());
        return parsed.value();
    }

    void readColumns(const QJsonArray& columns)
    {
        double total = 0;
        for (const QJsonValue& value : columns) {
            const QJsonObject object = value.toObject();
            LayoutColumn column;
            column.key = object.value(QStringLiteral("key")).toString();
            column.title = object.value(QStringLiteral("title")).toString();
            column.text = text(object.value(QStringLiteral("text")));
            column.width = object.value(QStringLiteral("width")).toDouble(1);
            column.alignRight =
                object.value(QStringLiteral("align")).toString() == QLatin1String("right");
            total += column.width;
            m_layout.columns.append(column);
        }
        for (LayoutColumn& column : m_layout.columns)
            column.width /= total;
    }

    QList<std::pair<QString, TextTemplate>> pairs(const QJsonArray& array)
    {
        QList<std::pair<QString, TextTemplate>> result;
        for (const QJsonValue& value : array) {
            const QJsonArray pair = value.toArray();
            result.append({pair.at(0).toString(), text(pair.at(1))});
        }
        return result;
    }

    int columnPosition(const QString& key)
    {
        for (int i = 0; i < m_layout.columns.size(); ++i)
            if (m_layout.columns[i].key == key)
                return i;
        fail(QStringLiteral("Unknown detail column \"%1\".").arg(key));
    }

    LayoutBand band(const QJsonObject& object)
    {
        static const QList<std::pair<QString, LayoutBand::Kind>> kinds = {
            {QStringLiteral("block"), LayoutBand::Kind::Block},
            {QStringLiteral("heading"), LayoutBand::Kind::Heading},
            {QStringLiteral("paragraph"), LayoutBand::Kind::Paragraph},
            {QStringLiteral("row"), LayoutBand::Kind::Row},
            {QStringLiteral("totals"), LayoutBand::Kind::Totals},
            {QStringLiteral("breakdown"), LayoutBand::Kind::Breakdown},
            {QStringLiteral("space"), LayoutBand::Kind::Space},
        };
        LayoutBand band;
        const QString type = object.value(QStringLiteral("type")).toString();
        auto kind = std::find_if(kinds.begin(), kinds.end(),
                                 [&](const auto& entry) { return entry.first == type; });
        if (kind == kinds.end())
            fail(QStringLiteral("Unknown band type \"%1\".").arg(type));
        band.kind = kind->second;
        band.text = text(object.value(QStringLiteral("text")));
        band.label = object.value(QStringLiteral("title")).toString();
        for (const QJsonValue& line : object.value(QStringLiteral("lines")).toArray())
            band.lines.append(text(line));
        band.rightTitle = object.value(QStringLiteral("rightTitle")).toString();
        band.pairs = pairs(object.value(QStringLiteral("pairs")).toArray());
        const QJsonObject cells = object.value(QStringLiteral("cells")).toObject();
        for (auto it = cells.begin(); it != cells.end(); ++it)
            band.cells.append({columnPosition(it.key()), text(it.value())});
        band.bold = object.value(QStringLiteral("bold")).toBool();
        band.rule = object.value(QStringLiteral("rule")).toBool();
        band.size = object.value(QStringLiteral("size")).toInt();
        if (band.kind == LayoutBand::Kind::Breakdown) {
            LayoutBreakdown breakdown;
            breakdown.title = band.label;
            breakdown.by = field(object.value(QStringLiteral("by")).toString());
            if (object.contains(QStringLiteral("average")))
                breakdown.average = field(object.value(QStringLiteral("average")).toString());
            breakdown.averageTitle = object.value(QStringLiteral("averageTitle")).toString();
            band.breakdown = static_cast<int>(m_layout.breakdowns.size());
            m_layout.breakdowns.append(breakdown);
        }
        return band;
    }

    QList<LayoutBand> bands(const QJsonArray& array)
    {
        QList<LayoutBand> result;
        for (const QJsonValue& value : array)
            result.append(band(value.toObject()));
        return result;
    }

    ReportLayout& m_layout;
};

} // namespace

QString ColumnRef::sql() const
{
    return table + QLatin1Char('.') + column;
}

Result<ReportLayout> ReportLayout::load(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Status::error(Status::Kind::NotFound,
                             QStringLiteral("The report layout %1 cannot be opened.")
                                 .arg(QFileInfo(path).fileName()));
    return parse(file.readAll(), QFileInfo(path).fileName());
}

Result<ReportLayout> ReportLayout::parse(const QByteArray& json, const QString& name)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (!document.isObject())
        return Status::failed(QStringLiteral("The report layout %1 is damaged: %2 at offset %3.")
                                  .arg(name, error.errorString(), QString::number(error.offset)));
    ReportLayout layout;
    layout.name = name;
    try {
        Parser(layout).read(document.object());
    } catch (const LayoutError& e) {
        return Status::failed(QStringLiteral("The report layout %1 is damaged: %2")
                                  .arg(name, QString::fromStdString(e.what())));
    }
    return layout;
}

int ReportLayout::fieldIndex(const QString& name) const
{
    for (int i = 0; i < fields.size(); ++i)
        if (fields[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

QStringList ReportLayout::tables() const
{
    QStringList names{from};
    for (const LayoutJoin& join : joins)
        names << join.table;
    return names;
}

const LayoutJoin* ReportLayout::joinOf(const QString& table) const
{
    for (const LayoutJoin& join : joins)
        if (join.table.compare(table, Qt::CaseInsensitive) == 0)
            return &join;
    return nullptr;
}

bool TextTemplate::refersToFields() const
{
    return std::any_of(pieces.begin(), pieces.end(),
                       [](const Piece& piece) { return piece.kind == Piece::Kind::Field; });
}
