#pragma once

#include "reportengine/reportdata.h"
#include "reportengine/reportpage.h"
#include "reportengine/stripbuilder.h"

#include <vector>

/**
 * Fills pages from a layout and its records, fed one record at a time: page headings with the
 * company, group headings and totals, column headings repeated on each page, the report's
 * closing totals. Finished pages go to the sink at once, so long reports are not held whole.
 */
class ReportComposer {
public:
    ReportComposer(const ReportLayout& layout, CompanyHeading company, QString title,
                   PageSink& sink);

    void add(const ReportRow& row);
    void finish();

    static QSizeF pageSize(bool landscape);

private:
    void startPage();
    void finishPage();
    void newPage(bool repeatColumns);
    void place(const Strip& strip);
    void place(const QList<Strip>& strips, bool keepTogether = false, double reserve = 0);
    void placeBands(const QList<LayoutBand>& bands, const TemplateContext& context);
    void closeGroups(int from);
    void openGroups(int from, const ReportRow& row);
    QString groupKey(const ReportRow& row, int level) const;
    TemplateContext context(const ReportRow* row, const Accumulator* totals) const;

    const ReportLayout& m_layout;
    CompanyHeading m_company;
    QString m_title;
    PageSink& m_sink;
    QSizeF m_size;
    StripBuilder m_strips;
    double m_bottom = 0;
    double m_bodyTop = 0;
    double m_y = 0;
    int m_pageNumber = 0;
    ReportPage m_page;
    bool m_started = false;
    bool m_hasRow = false;
    ReportRow m_lastRow;
    std::vector<QString> m_keys;
    std::vector<Accumulator> m_groupTotals;
    Accumulator m_reportTotals;
};
