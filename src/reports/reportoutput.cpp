#include "reports/reportoutput.h"

#include <QFileInfo>
#include <QPainter>
#include <QPdfWriter>

namespace ReportOutput {

QPageLayout pageLayout(bool landscape)
{
    return QPageLayout(QPageSize(QPageSize::Letter),
                       landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                       QMarginsF(0, 0, 0, 0));
}

void paintPage(QPainter& painter, const ReportPage& page, double dotsPerInch)
{
    painter.save();
    painter.scale(dotsPerInch / ReportFonts::UnitsPerInch, dotsPerInch / ReportFonts::UnitsPerInch);
    painter.setPen(QPen(Qt::black, 6));
    int font = -1;
    for (const PageItem& item : page.items) {
        switch (item.kind) {
        case PageItem::Kind::Text:
            if (item.font != font) {
                font = item.font;
                painter.setFont(ReportFonts::font(font));
            }
            painter.drawText(item.rect.topLeft(), item.text);
            break;
        case PageItem::Kind::Line:
            painter.drawLine(item.rect.topLeft(), item.rect.bottomRight());
            break;
        case PageItem::Kind::Shade:
            painter.fillRect(item.rect, QColor(225, 228, 234));
            break;
        }
    }
    painter.restore();
}

Status writePdf(const RenderedReport& report, const QString& path)
{
    PdfPageSink sink(path, report.title, report.landscape);
    for (const ReportPage& page : report.pages)
        sink.addPage(ReportPage(page));
    return sink.close();
}

} // namespace ReportOutput

PdfPageSink::PdfPageSink(const QString& path, const QString& title, bool landscape)
    : m_path(path), m_writer(std::make_unique<QPdfWriter>(path))
{
    m_writer->setResolution(static_cast<int>(ReportFonts::UnitsPerInch));
    m_writer->setPageLayout(ReportOutput::pageLayout(landscape));
    m_writer->setTitle(title);
    m_writer->setCreator(QStringLiteral("Quorvane"));
    m_painter = std::make_unique<QPainter>();
    m_painter->begin(m_writer.get());
}

PdfPageSink::~PdfPageSink() = default;

void PdfPageSink::addPage(ReportPage&& page)
{
    if (!m_painter->isActive())
        return;
    if (m_pages > 0)
        m_writer->newPage();
    ReportOutput::paintPage(*m_painter, page, m_writer->resolution());
    ++m_pages;
}

Status PdfPageSink::close()
{
    const bool written = m_painter->isActive() && m_painter->end();
    if (!written || !QFileInfo(m_path).isFile())
        return Status::failed(QStringLiteral("The file %1 cannot be written.").arg(m_path));
    return Status::ok();
}
