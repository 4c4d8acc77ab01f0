#include "benchharness.h"

#include <QElapsedTimer>
#include <algorithm>
#include <sys/resource.h>

namespace BenchHarness {

namespace {

constexpr double MaxRatio = 3.0;
// Below this an action is instant whatever its ratio: the fixed cost of a window's widgets
// dominates a floor of a few statements.
constexpr double RatioMattersFromMs = 10.0;

std::function<std::uint64_t()> counter;
double lastMedianCount = -1;

QString countText(double count)
{
    return count < 0 ? QStringLiteral("-") : QString::number(count, 'f', count < 10 ? 1 : 0);
}

QString milliseconds(double ms)
{
    if (ms <= 0)
        return QStringLiteral("-");
    return QString::number(ms, 'f', ms < 10 ? 2 : (ms < 1000 ? 1 : 0));
}

QString verdict(const Row& row)
{
    QStringList misses;
    if (row.targetMs > 0 && row.ms > row.targetMs)
        misses << QStringLiteral("over %1 ms").arg(row.targetMs);
    if (row.ratioApplies && row.targetMs > 0 && row.floorMs > 0 && row.ms > RatioMattersFromMs &&
        row.ms > MaxRatio * row.floorMs)
        misses << QStringLiteral("over 3x floor");
    if (row.targetMs <= 0)
        return QStringLiteral("-");
    return misses.isEmpty() ? QStringLiteral("ok") : misses.join(QStringLiteral(", "));
}

} // namespace

double median(std::vector<double> times)
{
    if (times.empty())
        return 0;
    std::sort(times.begin(), times.end());
    const size_t middle = times.size() / 2;
    return times.size() % 2 ? times[middle] : (times[middle - 1] + times[middle]) / 2;
}

void setCounter(std::function<std::uint64_t()> newCounter)
{
    counter = std::move(newCounter);
}

std::uint64_t countNow()
{
    return counter ? counter() : 0;
}

double lastCount()
{
    return lastMedianCount;
}

void noteCounts(std::vector<double> counts)
{
    lastMedianCount = counter ? median(std::move(counts)) : -1;
}

double medianMs(int runs, const std::function<void()>& timed, const std::function<void()>& before,
                const std::function<void()>& after)
{
    std::vector<double> times;
    std::vector<double> counts;
    for (int i = 0; i < std::max(1, runs); ++i) {
        if (before)
            before();
        const std::uint64_t counted = countNow();
        QElapsedTimer timer;
        timer.start();
        timed();
        times.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
        counts.push_back(static_cast<double>(countNow() - counted));
        if (after)
            after();
    }
    noteCounts(std::move(counts));
    return median(std::move(times));
}

QString markdownTable(const QList<Row>& rows, const QString& countTitle)
{
    const bool counted = std::any_of(rows.begin(), rows.end(), [](const Row& row) {
        return row.count >= 0 || row.floorCount >= 0;
    });
    QString table = QStringLiteral("| Action | Median ms | SQL floor ms | Ratio | Target | "
                                   "Verdict |");
    if (counted)
        table += QStringLiteral(" %1 (action / floor) |").arg(countTitle);
    table += QStringLiteral(" Note |\n|---|---:|---:|---:|---:|---|") +
             (counted ? QStringLiteral("---:|") : QString()) + QStringLiteral("---|\n");
    for (const Row& row : rows) {
        const QString ratio =
            row.floorMs > 0 ? QString::number(row.ms / row.floorMs, 'f', 1) : QStringLiteral("-");
        const QString target =
            row.targetMs > 0 ? QStringLiteral("%1 ms").arg(row.targetMs) : QStringLiteral("-");
        table += QStringLiteral("| %1 | %2 | %3 | %4 | %5 | %6 |")
                     .arg(row.action, milliseconds(row.ms), milliseconds(row.floorMs), ratio,
                          target, verdict(row));
        if (counted)
            table +=
                QStringLiteral(" %1 / %2 |").arg(countText(row.count), countText(row.floorCount));
        table += QStringLiteral(" %1 |\n").arg(row.note);
    }
    return table;
}

double peakMemoryMb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

} // namespace BenchHarness
