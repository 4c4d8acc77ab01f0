#pragma once

#include "data/status.h"
#include "reports/reportpage.h"

#include <QPageLayout>
#include <memory>

class QPainter;
class QPdfWriter;

/** Draws report pages on printers, previews and PDF files. */
namespace ReportOutput {

/** Letter paper without margins: the pages carry their own. */
QPageLayout pageLayout(bool landscape);
/** Paints a page on a device whose resolution is `dotsPerInch`, from the paper's corner. */
void paintPage(QPainter& painter, const ReportPage& page, double dotsPerInch);
Status writePdf(const RenderedReport& report, const QString& path);

} // namespace ReportOutput

/** Writes each page to a PDF file as soon as it is finished. */
class PdfPageSink : public PageSink {
public:
    PdfPageSink(const QString& path, const QString& title, bool landscape);
    ~PdfPageSink() override;

    void addPage(ReportPage&& page) override;
    /** Ends the file; an error when it could not be written. */
    Status close();
    int pageCount() const { return m_pages; }

private:
    QString m_path;
    std::unique_ptr<QPdfWriter> m_writer;
    std::unique_ptr<QPainter> m_painter;
    int m_pages = 0;
};

/** Keeps the pages for a preview. */
class CollectingPageSink : public PageSink {
public:
    void addPage(ReportPage&& page) override { pages.append(std::move(page)); }
    QList<ReportPage> pages;
};
