#include "reportengine/reportoutput.h"

#include "data/privatefile.h"

#include <QDir>
#include <QFileInfo>
#include <QGlyphRun>
#include <QHash>
#include <QPainter>
#include <QPdfWriter>
#include <QRawFont>
#include <QSaveFile>
#include <array>

const QGlyphRun& GlyphRuns::run(int font, const QString& text)
{
    auto& cache = m_cache[static_cast<size_t>(font)];
    auto found = cache.constFind(text);
    if (found != cache.constEnd())
        return *found;
    if (cache.size() > 20000)
        cache.clear();
    const QRawFont& raw = rawFont(font);
    const QList<quint32> glyphs = raw.glyphIndexesForString(text);
    if (glyphs.contains(0u))
        return *cache.insert(text, QGlyphRun());
    const QList<QPointF> advances = raw.advancesForGlyphIndexes(glyphs);
    QList<QPointF> positions;
    positions.reserve(glyphs.size());
    QPointF at;
    for (const QPointF& advance : advances) {
        positions.append(at);
        at += advance;
    }
    QGlyphRun run;
    run.setRawFont(raw);
    run.setGlyphIndexes(glyphs);
    run.setPositions(positions);
    return *cache.insert(text, run);
}

const QRawFont& GlyphRuns::rawFont(int font)
{
    QRawFont& raw = m_fonts[static_cast<size_t>(font)];
    if (!raw.isValid())
        raw = QRawFont::fromFont(ReportFonts::font(font));
    return raw;
}

namespace ReportOutput {

QPageLayout pageLayout(bool landscape)
{
    return QPageLayout(QPageSize(QPageSize::Letter),
                       landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                       QMarginsF(0, 0, 0, 0));
}

void paintPage(QPainter& painter, const ReportPage& page, double dotsPerInch, GlyphRuns& glyphs)
{
    painter.save();
    painter.scale(dotsPerInch / ReportFonts::UnitsPerInch, dotsPerInch / ReportFonts::UnitsPerInch);
    painter.setPen(QPen(Qt::black, 6));
    for (const PageItem& item : page.items) {
        switch (item.kind) {
        case PageItem::Kind::Text:
            if (const QGlyphRun& run = glyphs.run(item.font, item.text); !run.isEmpty()) {
                painter.drawGlyphRun(item.rect.topLeft(), run);
            } else {
                painter.setFont(ReportFonts::font(item.font));
                painter.drawText(item.rect.topLeft(), item.text);
            }
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
    : m_path(path), m_file(std::make_unique<QSaveFile>(path))
{
    // A device or a pipe is never replaced by a file of ours.
    const QFileInfo target(path);
    if (target.exists() && !target.isFile()) {
        m_openError = QStringLiteral("it is not a plain file");
        return;
    }
    // A report holds the shop's data: the file is its owner's alone.
    if (const PrivateFile::CreationGuard ownerOnly; !m_file->open(QIODevice::WriteOnly)) {
        m_openError = m_file->errorString();
        return;
    }
    m_writer = std::make_unique<QPdfWriter>(m_file.get());
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
    // Pages after a failed write would only be thrown away with the file.
    if (!m_painter || !m_painter->isActive() || m_file->error() != QFileDevice::NoError)
        return;
    if (m_pages > 0)
        m_writer->newPage();
    ReportOutput::paintPage(*m_painter, page, m_writer->resolution(), m_glyphs);
    ++m_pages;
}

Status PdfPageSink::close()
{
    if (!m_painter)
        return failure(m_openError);
    const bool ended = m_painter->isActive() && m_painter->end();
    // The last bytes leave the buffer here; a disk that fills up now must not pass unnoticed.
    const bool flushed = m_file->flush();
    if (!ended || !flushed || m_file->error() != QFileDevice::NoError) {
        const QString reason = m_file->errorString();
        m_file->cancelWriting();
        return failure(reason);
    }
    if (!m_file->commit())
        return failure(m_file->errorString());
    return Status::ok();
}

Status PdfPageSink::failure(const QString& reason) const
{
    return Status::failed(QStringLiteral("The file %1 cannot be written: %2.")
                              .arg(QDir::toNativeSeparators(m_path), reason));
}
