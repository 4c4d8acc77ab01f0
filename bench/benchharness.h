#pragma once

#include <QList>
#include <QString>
#include <cstdint>
#include <functional>
#include <vector>

/** Times actions by their median over several runs and prints them beside their SQL floor. */
namespace BenchHarness {

/** One line of the results table. A floor or target of 0 is shown as "-". */
struct Row {
    QString action;
    double ms = 0;
    double floorMs = 0;
    double targetMs = 0;
    QString note;
    /** Whether the three-times-the-floor rule applies; a report's layout work has no floor. */
    bool ratioApplies = true;
    /** What the counter counted in a run of the action and of its floor; -1: not counted. */
    double count = -1;
    double floorCount = -1;
};

/** Counts something beside the time of each run, such as the requests sent to a database
 *  server; without one, nothing is counted. */
void setCounter(std::function<std::uint64_t()> counter);
/** The counter's value now; 0 without a counter. */
std::uint64_t countNow();
/** The median count of the runs of the last timing; -1 without a counter. */
double lastCount();
/** Sets lastCount() for a timing made by hand, from the count of each of its runs. */
void noteCounts(std::vector<double> counts);

/** The middle of the times, or the mean of the two middle ones. */
double median(std::vector<double> times);

/** The median of `runs` timings of `timed`; `before` and `after` run untimed around each. */
double medianMs(int runs, const std::function<void()>& timed,
                const std::function<void()>& before = {}, const std::function<void()>& after = {});

/** The table in markdown, with the ratio to the floor and whether the targets are met: at most
 *  the target time, and at most three times the floor for an action over 10 ms. The counts
 *  get a column of their own, named `countTitle`, when any row has one. */
QString markdownTable(const QList<Row>& rows, const QString& countTitle = {});

/** The peak resident memory of the process so far, in megabytes. */
double peakMemoryMb();

} // namespace BenchHarness
