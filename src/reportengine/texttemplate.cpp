#include "reportengine/texttemplate.h"

#include "data/conversions.h"

#include <QDate>

using Piece = TextTemplate::Piece;

Result<TextTemplate> parseTemplate(const QString& text, const ReportLayout& layout)
{
    TextTemplate result;
    qsizetype position = 0;
    while (position < text.size()) {
        const qsizetype open = text.indexOf(QLatin1Char('{'), position);
        if (open < 0) {
            result.pieces.append({Piece::Kind::Literal, text.mid(position), -1});
            break;
        }
        if (open > position)
            result.pieces.append({Piece::Kind::Literal, text.mid(position, open - position), -1});
        const qsizetype close = text.indexOf(QLatin1Char('}'), open);
        if (close < 0)
            return Status::failed(QStringLiteral("\"%1\" has an unclosed {.").arg(text));
        const QString inner = text.mid(open + 1, close - open - 1).trimmed();
        position = close + 1;

        static const QList<std::pair<QString, Piece::Kind>> words = {
            {QStringLiteral("count"), Piece::Kind::Count},
            {QStringLiteral("page"), Piece::Kind::Page},
            {QStringLiteral("today"), Piece::Kind::Today},
            {QStringLiteral("title"), Piece::Kind::Title},
        };
        auto word = std::find_if(words.begin(), words.end(),
                                 [&](const auto& entry) { return entry.first == inner; });
        if (word != words.end()) {
            result.pieces.append({word->second, {}, -1});
            continue;
        }
        Piece piece{Piece::Kind::Field, {}, -1};
        QString name = inner;
        if (inner.startsWith(QLatin1String("sum:"))) {
            piece.kind = Piece::Kind::Sum;
            name = inner.mid(4);
        } else if (inner.startsWith(QLatin1String("avg:"))) {
            piece.kind = Piece::Kind::Average;
            name = inner.mid(4);
        }
        piece.field = layout.fieldIndex(name);
        if (piece.field < 0)
            return Status::failed(
                QStringLiteral("\"%1\" names the unknown field %2.").arg(text, name));
        result.pieces.append(piece);
    }
    return result;
}

namespace Templates {

QString fill(const TextTemplate& text, const TemplateContext& context)
{
    QString result;
    for (const Piece& piece : text.pieces) {
        switch (piece.kind) {
        case Piece::Kind::Literal:
            result += piece.text;
            break;
        case Piece::Kind::Field:
            if (context.row)
                result += ReportValues::format((*context.row)[piece.field],
                                               context.layout.fields[piece.field].type);
            break;
        case Piece::Kind::Sum:
            if (context.totals)
                result += context.totals->sumText(piece.field);
            break;
        case Piece::Kind::Average:
            if (context.totals)
                result += context.totals->averageText(piece.field);
            break;
        case Piece::Kind::Count:
            if (context.totals)
                result += QString::number(context.totals->count());
            break;
        case Piece::Kind::Page:
            result += QString::number(context.page);
            break;
        case Piece::Kind::Today:
            result += conv::formatDate(QDate::currentDate());
            break;
        case Piece::Kind::Title:
            result += context.title;
            break;
        }
    }
    return result;
}

bool blank(const TextTemplate& text, const TemplateContext& context)
{
    if (!text.refersToFields() || !context.row)
        return false;
    for (const Piece& piece : text.pieces) {
        if (piece.kind != Piece::Kind::Field)
            continue;
        const ReportValue& value = (*context.row)[piece.field];
        if (!value.null && !(context.layout.fields[piece.field].type == FieldType::Text &&
                             value.text.trimmed().isEmpty()))
            return false;
    }
    return true;
}

} // namespace Templates
