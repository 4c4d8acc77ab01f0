#pragma once

#include "reportengine/reportcomposer.h"
#include "reportengine/reportjob.h"

#include <memory>
#include <vector>

/**
 * A report whose records are read at once and whose pages are laid out a slice at a time, so
 * that a window can show the first page of a long report while the rest is still being made.
 * The pages come out exactly as ReportJob::run makes them.
 */
class ReportPager : private PageSink {
public:
    /** Reads every record of the job; an error when they cannot be read. No page is laid out
     *  yet. */
    static Result<std::unique_ptr<ReportPager>> open(std::shared_ptr<ReportJob> job);
    ~ReportPager() override;
    ReportPager(const ReportPager&) = delete;
    ReportPager& operator=(const ReportPager&) = delete;

    /** Lays out records until `pages` pages are finished or the report is. */
    void layOutPages(int pages);
    /** Lays out records for about `budgetMs`, at least one; true while records remain. */
    bool layOutFor(int budgetMs);
    void layOutAll();
    bool finished() const { return m_finished; }

    /** The pages so far; every page once finished(). */
    const RenderedReport& report() const { return m_report; }
    /** Gives the report away; only once finished(). */
    RenderedReport takeReport() { return std::move(m_report); }

private:
    explicit ReportPager(std::shared_ptr<ReportJob> job);
    void addPage(ReportPage&& page) override;
    void layOutNext();

    std::shared_ptr<ReportJob> m_job;
    std::vector<ReportRow> m_rows;
    size_t m_next = 0;
    ReportComposer m_composer;
    RenderedReport m_report;
    bool m_finished = false;
};
