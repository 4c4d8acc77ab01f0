#include "reportengine/reportcomposer.h"

#include "data/conversions.h"

#include <QDate>

namespace {

constexpr double Margin = 600; // half an inch
constexpr double FooterHeight = 300;

} // namespace

ReportComposer::ReportComposer(const ReportLayout& layout, CompanyHeading company, QString title,
                               PageSink& sink)
    : m_layout(layout), m_company(std::move(company)), m_title(std::move(title)), m_sink(sink),
      m_size(pageSize(layout.landscape)), m_strips(layout, Margin, m_size.width() - Margin),
      m_keys(static_cast<size_t>(layout.groups.size())), m_reportTotals(layout)
{
    m_bottom = m_size.height() - Margin - FooterHeight;
    for (qsizetype i = 0; i < layout.groups.size(); ++i)
        m_groupTotals.emplace_back(layout);
}

QSizeF ReportComposer::pageSize(bool landscape)
{
    const QSizeF letter(8.5 * ReportFonts::UnitsPerInch, 11 * ReportFonts::UnitsPerInch);
    return landscape ? letter.transposed() : letter;
}

TemplateContext ReportComposer::context(const ReportRow* row, const Accumulator* totals) const
{
    return {m_layout, row, totals, m_pageNumber, m_title};
}

void ReportComposer::startPage()
{
    m_page = ReportPage();
    ++m_pageNumber;
    const double left = Margin;
    const double right = m_size.width() - Margin;
    double y = Margin;
    auto text = [&](const QString& s, int font, double yBase, bool alignRight) {
        const double x =
            alignRight ? right - ReportFonts::metrics(font).horizontalAdvance(s) : left;
        m_page.items.append({PageItem::Kind::Text, QRectF(x, yBase, 0, 0), s, font});
    };
    double leftY = y;
    if (m_layout.companyHeader && !m_company.name.isEmpty()) {
        leftY += ReportFonts::metrics(ReportFonts::Company).ascent();
        text(m_company.name, ReportFonts::Company, leftY, false);
        leftY += ReportFonts::metrics(ReportFonts::Company).descent() + 40;
        for (const QString& line : m_company.lines) {
            leftY += StripBuilder::lineHeight(ReportFonts::Small);
            text(line, ReportFonts::Small, leftY, false);
        }
    }
    double rightY = y + ReportFonts::metrics(ReportFonts::Title).ascent();
    text(m_title, ReportFonts::Title, rightY, true);
    rightY += ReportFonts::metrics(ReportFonts::Title).descent();
    y = std::max(leftY, rightY) + 120;
    m_page.items.append({PageItem::Kind::Line, QRectF(QPointF(left, y), QPointF(right, y)), {}, 0});
    m_bodyTop = m_y = y + 160;
}

void ReportComposer::finishPage()
{
    const double left = Margin;
    const double right = m_size.width() - Margin;
    const double y = m_size.height() - Margin;
    const double base = y - ReportFonts::metrics(ReportFonts::Small).descent();
    m_page.items.append(
        {PageItem::Kind::Line,
         QRectF(QPointF(left, y - FooterHeight + 60), QPointF(right, y - FooterHeight + 60)),
         {},
         0});
    m_page.items.append({PageItem::Kind::Text, QRectF(left, base, 0, 0),
                         QStringLiteral("Printed %1").arg(conv::formatDate(QDate::currentDate())),
                         ReportFonts::Small});
    if (!m_layout.footnote.isEmpty()) {
        const double width =
            ReportFonts::metrics(ReportFonts::Small).horizontalAdvance(m_layout.footnote);
        m_page.items.append({PageItem::Kind::Text, QRectF((left + right - width) / 2, base, 0, 0),
                             m_layout.footnote, ReportFonts::Small});
    }
    const QString page = QStringLiteral("Page %1").arg(m_pageNumber);
    m_page.items.append(
        {PageItem::Kind::Text,
         QRectF(right - ReportFonts::metrics(ReportFonts::Small).horizontalAdvance(page), base, 0,
                0),
         page, ReportFonts::Small});
    m_sink.addPage(std::move(m_page));
}

void ReportComposer::newPage(bool repeatColumns)
{
    finishPage();
    startPage();
    if (repeatColumns && !m_layout.columns.isEmpty())
        place(m_strips.columnHeader());
}

void ReportComposer::place(const Strip& strip)
{
    for (const PageItem& item : strip.items) {
        PageItem placed = item;
        placed.rect.translate(0, m_y);
        m_page.items.append(std::move(placed));
    }
    m_y += strip.height;
}

void ReportComposer::place(const QList<Strip>& strips, bool keepTogether, double reserve)
{
    if (keepTogether) {
        double total = reserve;
        for (const Strip& strip : strips)
            total += strip.height;
        if (m_y + total > m_bottom && m_y > m_bodyTop)
            newPage(false);
    }
    for (const Strip& strip : strips) {
        if (m_y + strip.height > m_bottom && m_y > m_bodyTop)
            newPage(false);
        place(strip);
    }
}

void ReportComposer::placeBands(const QList<LayoutBand>& bands, const TemplateContext& context)
{
    for (const LayoutBand& band : bands)
        place(m_strips.band(band, context), band.kind != LayoutBand::Kind::Paragraph);
}

QString ReportComposer::groupKey(const ReportRow& row, int level) const
{
    const int field = m_layout.groups[level].by;
    const ReportValue& value = row[static_cast<size_t>(field)];
    return value.null ? QString() : ReportValues::format(value, m_layout.fields[field].type);
}

void ReportComposer::closeGroups(int from)
{
    for (int level = static_cast<int>(m_layout.groups.size()) - 1; level >= from; --level) {
        placeBands(m_layout.groups[level].footer, context(&m_lastRow, &m_groupTotals[level]));
        m_groupTotals[level].reset();
    }
}

void ReportComposer::openGroups(int from, const ReportRow& row)
{
    for (int level = from; level < m_layout.groups.size(); ++level) {
        const LayoutGroup& group = m_layout.groups[level];
        if (group.newPage && m_y > m_bodyTop)
            newPage(false);
        // A heading stays with the column titles and the first line beneath it.
        QList<Strip> strips;
        for (const LayoutBand& band : group.header)
            strips += m_strips.band(band, context(&row, nullptr));
        double reserve = 0;
        if (level == m_layout.groups.size() - 1 && !m_layout.columns.isEmpty()) {
            strips.append(m_strips.columnHeader());
            reserve = StripBuilder::lineHeight(ReportFonts::Normal);
        }
        place(strips, true, reserve);
        m_keys[static_cast<size_t>(level)] = groupKey(row, level);
    }
}

void ReportComposer::add(const ReportRow& row)
{
    if (!m_started) {
        m_started = true;
        startPage();
        placeBands(m_layout.reportHeader, context(&row, nullptr));
        if (m_layout.groups.isEmpty() && !m_layout.columns.isEmpty())
            place(m_strips.columnHeader());
    }
    int changed = static_cast<int>(m_layout.groups.size());
    for (int level = 0; level < m_layout.groups.size(); ++level) {
        if (!m_hasRow || groupKey(row, level) != m_keys[static_cast<size_t>(level)]) {
            changed = level;
            break;
        }
    }
    if (m_hasRow)
        closeGroups(changed);
    openGroups(changed, row);

    if (m_layout.detailWhen < 0 || !row[static_cast<size_t>(m_layout.detailWhen)].null) {
        const TemplateContext here = context(&row, nullptr);
        if (!m_layout.columns.isEmpty()) {
            const Strip line = m_strips.detailRow(here);
            if (m_y + line.height > m_bottom)
                newPage(true);
            place(line);
        }
        placeBands(m_layout.detailBands, here);
        m_reportTotals.add(row);
        for (Accumulator& totals : m_groupTotals)
            totals.add(row);
    }
    m_lastRow = row;
    m_hasRow = true;
}

void ReportComposer::finish()
{
    if (!m_started) {
        m_started = true;
        startPage();
        placeBands(m_layout.reportHeader, context(nullptr, nullptr));
    }
    if (m_hasRow)
        closeGroups(0);
    else
        place(m_strips.text(m_layout.emptyText, ReportFonts::Normal));
    placeBands(m_layout.reportFooter, context(m_hasRow ? &m_lastRow : nullptr, &m_reportTotals));
    finishPage();
}
