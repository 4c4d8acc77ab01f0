#include "reportengine/stripbuilder.h"

#include <QTextLayout>

namespace {

constexpr double Pad = 40;

PageItem line(double x1, double y1, double x2, double y2)
{
    return {PageItem::Kind::Line, QRectF(QPointF(x1, y1), QPointF(x2, y2)), {}, 0};
}

double baseline(int font)
{
    const QFontMetricsF& m = ReportFonts::metrics(font);
    return (StripBuilder::lineHeight(font) - m.height()) / 2 + m.ascent();
}

// The lines of one paragraph set in a given width: broken between words, and within a word
// only where the word alone is wider.
QStringList wrapped(const QString& paragraph, int font, double width)
{
    QTextLayout layout(paragraph, ReportFonts::font(font));
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    for (QTextLine textLine = layout.createLine(); textLine.isValid();
         textLine = layout.createLine())
        textLine.setLineWidth(width);
    layout.endLayout();
    QStringList lines;
    for (int i = 0; i < layout.lineCount(); ++i) {
        const QTextLine textLine = layout.lineAt(i);
        lines << paragraph.mid(textLine.textStart(), textLine.textLength()).trimmed();
    }
    return lines;
}

} // namespace

StripBuilder::StripBuilder(const ReportLayout& layout, double left, double right)
    : m_layout(layout), m_left(left), m_right(right)
{
}

double StripBuilder::lineHeight(int font)
{
    return ReportFonts::metrics(font).height() * 1.3;
}

double StripBuilder::columnLeft(int column) const
{
    double share = 0;
    for (int i = 0; i < column; ++i)
        share += m_layout.columns[i].width;
    return m_left + share * (m_right - m_left);
}

double StripBuilder::columnRight(int column) const
{
    return columnLeft(column) + m_layout.columns[column].width * (m_right - m_left);
}

void StripBuilder::cell(Strip& strip, const QString& text, int font, double left, double right,
                        bool alignRight, double base) const
{
    if (text.isEmpty())
        return;
    const QFontMetricsF& m = ReportFonts::metrics(font);
    const double room = right - left - 2 * Pad;
    QString shown = text;
    double width = 0;
    // Measuring is the costly part of a long report: skip it for left-aligned text that
    // surely fits.
    if (alignRight || static_cast<double>(text.size()) * m.maxWidth() > room) {
        width = m.horizontalAdvance(text);
        if (width > room) {
            shown = m.elidedText(text, Qt::ElideRight, room);
            width = m.horizontalAdvance(shown);
        }
    }
    const double x = alignRight ? right - Pad - width : left + Pad;
    strip.items.append({PageItem::Kind::Text, QRectF(x, base, 0, 0), shown, font});
}

int StripBuilder::wholeCell(Strip& strip, const QString& text, int font, double left, double right,
                            bool alignRight, double top) const
{
    const double room = right - left - 2 * Pad;
    const QStringList lines = ReportFonts::metrics(font).horizontalAdvance(text) > room
                                  ? wrapped(text, font, room)
                                  : QStringList{text};
    for (qsizetype i = 0; i < lines.size(); ++i)
        cell(strip, lines[i], font, left, right, alignRight,
             top + static_cast<double>(i) * lineHeight(font) + baseline(font));
    return static_cast<int>(lines.size());
}

Strip StripBuilder::columnHeader() const
{
    Strip strip;
    strip.height = lineHeight(ReportFonts::Bold) * 1.15;
    strip.items.append(
        {PageItem::Kind::Shade, QRectF(m_left, 0, m_right - m_left, strip.height), {}, 0});
    const double base =
        (strip.height - lineHeight(ReportFonts::Bold)) / 2 + baseline(ReportFonts::Bold);
    for (int i = 0; i < m_layout.columns.size(); ++i)
        cell(strip, m_layout.columns[i].title, ReportFonts::Bold, columnLeft(i), columnRight(i),
             m_layout.columns[i].alignRight, base);
    return strip;
}

Strip StripBuilder::detailRow(const TemplateContext& context) const
{
    Strip strip;
    strip.height = lineHeight(ReportFonts::Normal);
    const double base = baseline(ReportFonts::Normal);
    for (int i = 0; i < m_layout.columns.size(); ++i) {
        const LayoutColumn& column = m_layout.columns[i];
        cell(strip, Templates::fill(column.text, context), ReportFonts::Normal, columnLeft(i),
             columnRight(i), column.alignRight, base);
    }
    return strip;
}

QList<Strip> StripBuilder::text(const QString& text, int font, double indent) const
{
    QList<Strip> strips;
    const double height = lineHeight(font);
    const double base = baseline(font);
    QString normalised = text;
    normalised.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    for (const QString& paragraph : normalised.split(QLatin1Char('\n'))) {
        for (const QString& line : wrapped(paragraph, font, m_right - m_left - indent - 2 * Pad)) {
            Strip strip;
            strip.height = height;
            cell(strip, line, font, m_left + indent, m_right, false, base);
            strips.append(strip);
        }
        if (paragraph.isEmpty())
            strips.append(Strip{{}, height});
    }
    return strips;
}

QList<Strip> StripBuilder::band(const LayoutBand& band, const TemplateContext& context) const
{
    switch (band.kind) {
    case LayoutBand::Kind::Space:
        return {Strip{{}, lineHeight(ReportFonts::Normal) * 0.6}};
    case LayoutBand::Kind::Heading: {
        const int font = band.size >= 14 ? ReportFonts::Title : ReportFonts::Heading;
        QList<Strip> strips = text(Templates::fill(band.text, context), font);
        if (band.rule && !strips.isEmpty()) {
            Strip& last = strips.last();
            last.items.append(line(m_left, last.height, m_right, last.height));
            last.height += Pad;
        }
        return strips;
    }
    case LayoutBand::Kind::Paragraph: {
        QList<Strip> strips;
        if (!band.label.isEmpty())
            strips = text(band.label, ReportFonts::Bold);
        const QString body = Templates::fill(band.text, context).trimmed();
        if (!body.isEmpty())
            strips += text(body, ReportFonts::Normal, Pad * 4);
        return strips;
    }
    case LayoutBand::Kind::Block:
        return {block(band, context)};
    case LayoutBand::Kind::Row:
        return {row(band, context)};
    case LayoutBand::Kind::Totals:
        return {totals(band, context)};
    case LayoutBand::Kind::Breakdown:
        return breakdown(band, context);
    }
    return {};
}

Strip StripBuilder::block(const LayoutBand& band, const TemplateContext& context) const
{
    Strip strip;
    const double normal = lineHeight(ReportFonts::Normal);
    const double middle = m_left + (m_right - m_left) * 0.5;
    const double rightLeft = m_left + (m_right - m_left) * 0.58;

    double y = 0;
    if (!band.label.isEmpty()) {
        cell(strip, band.label, ReportFonts::Bold, m_left, middle, false,
             y + baseline(ReportFonts::Bold));
        y += lineHeight(ReportFonts::Bold);
        strip.items.append(line(m_left + Pad, y, middle - Pad, y));
        y += Pad;
    }
    for (const TextTemplate& text : band.lines) {
        if (Templates::blank(text, context))
            continue;
        cell(strip, Templates::fill(text, context), ReportFonts::Normal, m_left, middle, false,
             y + baseline(ReportFonts::Normal));
        y += normal;
    }
    double rightY = 0;
    if (!band.rightTitle.isEmpty()) {
        cell(strip, band.rightTitle, ReportFonts::Bold, rightLeft, m_right, false,
             baseline(ReportFonts::Bold));
        rightY += lineHeight(ReportFonts::Bold);
        strip.items.append(line(rightLeft + Pad, rightY, m_right - Pad, rightY));
        rightY += Pad;
    }
    const double labelRight = rightLeft + (m_right - rightLeft) * 0.45;
    for (const auto& [label, value] : band.pairs) {
        cell(strip, label, ReportFonts::Bold, rightLeft, labelRight, false,
             rightY + baseline(ReportFonts::Normal));
        cell(strip, Templates::fill(value, context), ReportFonts::Normal, labelRight, m_right, true,
             rightY + baseline(ReportFonts::Normal));
        rightY += normal;
    }
    strip.height = std::max(y, rightY) + normal * 0.5;
    return strip;
}

Strip StripBuilder::row(const LayoutBand& band, const TemplateContext& context) const
{
    Strip strip;
    const int font = band.bold ? ReportFonts::Bold : ReportFonts::Normal;
    double top = 0;
    if (band.rule) {
        strip.items.append(line(m_left, Pad / 2, m_right, Pad / 2));
        top = Pad;
    }
    // A cell too narrow for its text spreads over the empty columns after it (before it when
    // right-aligned), as far as it needs and no other cell has taken them.
    const QFontMetricsF& metrics = ReportFonts::metrics(font);
    QList<bool> taken(m_layout.columns.size(), false);
    for (const auto& [column, text] : band.cells)
        taken[column] = true;
    struct Spread {
        QString text;
        int first;
        int last;
        bool alignRight;
    };
    QList<Spread> spreads;
    for (const auto& [column, text] : band.cells)
        spreads.append(
            {Templates::fill(text, context), column, column, m_layout.columns[column].alignRight});
    auto fits = [&](const Spread& spread) {
        return metrics.horizontalAdvance(spread.text) + 2 * Pad <=
               columnRight(spread.last) - columnLeft(spread.first);
    };
    for (Spread& spread : spreads)
        while (!spread.alignRight && !fits(spread) && spread.last + 1 < taken.size() &&
               !taken[spread.last + 1])
            taken[++spread.last] = true;
    for (Spread& spread : spreads)
        while (spread.alignRight && !fits(spread) && spread.first > 0 && !taken[spread.first - 1])
            taken[--spread.first] = true;
    int lines = 1;
    for (const Spread& spread : spreads)
        lines = std::max(lines, wholeCell(strip, spread.text, font, columnLeft(spread.first),
                                          columnRight(spread.last), spread.alignRight, top));
    strip.height = top + lines * lineHeight(font);
    return strip;
}

Strip StripBuilder::totals(const LayoutBand& band, const TemplateContext& context) const
{
    Strip strip;
    const double width = m_right - m_left;
    const double lastColumn = m_layout.columns.isEmpty() ? 0 : m_layout.columns.last().width;
    const double valueLeft = m_right - std::max(lastColumn, 0.16) * width;
    const double labelLeft = valueLeft - 0.25 * width;
    double y = Pad / 2;
    for (qsizetype i = 0; i < band.pairs.size(); ++i) {
        const bool last = i == band.pairs.size() - 1;
        const int font = last && band.bold ? ReportFonts::Bold : ReportFonts::Normal;
        if (last && band.rule) {
            strip.items.append(line(labelLeft + Pad, y, m_right, y));
            y += Pad;
        }
        // A label wider than its place runs on to the left, where nothing else stands.
        const double labelRoom =
            ReportFonts::metrics(font).horizontalAdvance(band.pairs[i].first) + 2 * Pad;
        const int lines =
            std::max(wholeCell(strip, band.pairs[i].first, font,
                               std::max(m_left, std::min(labelLeft, valueLeft - labelRoom)),
                               valueLeft, true, y),
                     wholeCell(strip, Templates::fill(band.pairs[i].second, context), font,
                               valueLeft, m_right, true, y));
        y += lines * lineHeight(font);
    }
    strip.height = y;
    return strip;
}

QList<Strip> StripBuilder::breakdown(const LayoutBand& band, const TemplateContext& context) const
{
    QList<Strip> strips;
    const LayoutBreakdown& counted = m_layout.breakdowns[band.breakdown];
    const double width = m_right - m_left;
    const double countRight = m_left + width * 0.45;
    const double averageRight = m_left + width * 0.7;
    auto line3 = [&](int font, const QString& a, const QString& b, const QString& c) {
        Strip strip;
        int lines =
            std::max(wholeCell(strip, a, font, m_left, countRight - width * 0.12, false, 0),
                     wholeCell(strip, b, font, countRight - width * 0.12, countRight, true, 0));
        if (counted.average >= 0)
            lines = std::max(lines, wholeCell(strip, c, font, countRight, averageRight, true, 0));
        strip.height = lines * lineHeight(font);
        strips.append(strip);
    };
    line3(ReportFonts::Bold, counted.title, QStringLiteral("Count"), counted.averageTitle);
    strips.last().items.append(
        line(m_left + Pad, strips.last().height, averageRight - Pad, strips.last().height));
    if (!context.totals)
        return strips;
    const auto& entries = context.totals->breakdown(band.breakdown);
    for (auto it = entries.begin(); it != entries.end(); ++it) {
        const QString average =
            it->measured ? QString::number(it->total / it->measured, 'f', 1) : QStringLiteral("-");
        line3(ReportFonts::Normal, it.key().isEmpty() ? QStringLiteral("(none)") : it.key(),
              QString::number(it->count), average);
    }
    strips.append(Strip{{}, lineHeight(ReportFonts::Normal) * 0.5});
    return strips;
}
