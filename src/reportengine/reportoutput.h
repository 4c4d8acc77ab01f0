#pragma once

#include "data/status.h"
#include "reportengine/reportpage.h"

#include <QGlyphRun>
#include <QHash>
#include <QPageLayout>
#include <QRawFont>
#include <array>
#include <memory>

class QPainter;
class QPdfWriter;
class QSaveFile;

/** Report text is plain text in one font per item: mapping characters to glyphs directly
 *  spares the shaping that QPainter::drawText does for every item, which dominates the time of
 *  a long report. Repeated texts (dates, amounts, names) reuse their glyph runs. */
class GlyphRuns {
public:
    /** The run for the text; an empty run when the font lacks a character, which then needs
     *  the full text engine with its font fallback. */
    const QGlyphRun& run(int font, const QString& text);

private:
    const QRawFont& rawFont(int font);

    std::array<QRawFont, ReportFonts::Count> m_fonts;
    std::array<QHash<QString, QGlyphRun>, ReportFonts::Count> m_cache;
};

/** Draws report pages on printers, previews and PDF files. */
namespace ReportOutput {

/** Letter paper without margins: the pages carry their own. */
QPageLayout pageLayout(bool landscape);
/** Paints a page on a device whose resolution is `dotsPerInch`, from the paper's corner. */
void paintPage(QPainter& painter, const ReportPage& page, double dotsPerInch, GlyphRuns& glyphs);
Status writePdf(const RenderedReport& report, const QString& path);

} // namespace ReportOutput

/** Writes each page to a PDF file as soon as it is finished. The pages go to a temporary file
 *  beside the target, which replaces the target only when close() finds every byte written: a
 *  report that fails, or is never closed, leaves the target as it was. */
class PdfPageSink : public PageSink {
public:
    PdfPageSink(const QString& path, const QString& title, bool landscape);
    ~PdfPageSink() override;

    void addPage(ReportPage&& page) override;
    /** Ends the file and puts it in place of the target; an error when it could not be
     *  written, and then the target is left as it was. */
    Status close();
    int pageCount() const { return m_pages; }

private:
    Status failure(const QString& reason) const;

    QString m_path;
    QString m_openError;
    std::unique_ptr<QSaveFile> m_file;
    std::unique_ptr<QPdfWriter> m_writer;
    std::unique_ptr<QPainter> m_painter;
    GlyphRuns m_glyphs;
    int m_pages = 0;
};

/** Keeps the pages for a preview. */
class CollectingPageSink : public PageSink {
public:
    void addPage(ReportPage&& page) override { pages.append(std::move(page)); }
    QList<ReportPage> pages;
};
