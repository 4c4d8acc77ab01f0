#pragma once

#include "data/status.h"

#include <QFont>
#include <QFontMetricsF>
#include <QList>
#include <QPointF>
#include <QRectF>
#include <QString>

/** Something drawn on a report page, in page units of 1/1200 inch from the paper's corner. */
struct PageItem {
    enum class Kind { Text, Line, Shade };
    Kind kind = Kind::Text;
    QRectF rect; // Text: baseline start in topLeft; Line: from topLeft to bottomRight
    QString text;
    int font = 0;
};

struct ReportPage {
    QList<PageItem> items;
};

/** A report laid out into pages, ready for a preview, a printer or a PDF file. */
struct RenderedReport {
    QString title;
    bool landscape = false;
    QList<ReportPage> pages;
};

/** Takes the pages of a report as they are finished. */
class PageSink {
public:
    virtual ~PageSink() = default;
    virtual void addPage(ReportPage&& page) = 0;
};

/** The fonts of the reports, sized in page units so that they measure the same everywhere. They
 *  are one family shipped with the program, so a report looks alike on every machine. */
namespace ReportFonts {

enum Font { Normal, Bold, Small, Heading, Title, Company, Count };

inline constexpr double UnitsPerInch = 1200;
inline constexpr double UnitsPerPoint = UnitsPerInch / 72;

/** Family of every report font. */
inline constexpr char Family[] = "Liberation Sans";

/** Registers the shipped font files, regular and bold, once per process; an error names the
 *  files that could not be loaded (reports then use a face the machine substitutes). */
Status install();

const QFont& font(int which);
const QFontMetricsF& metrics(int which);

} // namespace ReportFonts
