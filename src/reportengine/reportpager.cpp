#include "reportengine/reportpager.h"

#include <QElapsedTimer>

ReportPager::ReportPager(std::shared_ptr<ReportJob> job)
    : m_job(std::move(job)), m_composer(m_job->layout(), m_job->company(), m_job->title(), *this),
      m_report{m_job->title(), m_job->layout().landscape, {}}
{
}

ReportPager::~ReportPager() = default;

Result<std::unique_ptr<ReportPager>> ReportPager::open(std::shared_ptr<ReportJob> job)
{
    std::unique_ptr<ReportPager> pager(new ReportPager(std::move(job)));
    const Status read =
        pager->m_job->read([&](const ReportRow& row) { pager->m_rows.push_back(row); });
    if (!read)
        return read;
    return pager;
}

void ReportPager::addPage(ReportPage&& page)
{
    m_report.pages.append(std::move(page));
}

void ReportPager::layOutNext()
{
    if (m_finished)
        return;
    if (m_next < m_rows.size()) {
        m_composer.add(m_rows[m_next]);
        // A record laid out is not needed again; its memory goes back at once.
        ReportRow().swap(m_rows[m_next]);
        ++m_next;
        return;
    }
    m_composer.finish();
    m_finished = true;
    std::vector<ReportRow>().swap(m_rows);
}

void ReportPager::layOutPages(int pages)
{
    while (!m_finished && m_report.pages.size() < pages)
        layOutNext();
}

bool ReportPager::layOutFor(int budgetMs)
{
    QElapsedTimer timer;
    timer.start();
    do
        layOutNext();
    while (!m_finished && !timer.hasExpired(budgetMs));
    return !m_finished;
}

void ReportPager::layOutAll()
{
    while (!m_finished)
        layOutNext();
}
