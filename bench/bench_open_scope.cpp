// Measures one handler's database scope: open, one read, close. "cold" pays the key derivation
// each time (what a fresh connection per scope would cost); "kept" is the program's way.
#include "data/database.h"
#include "data/databasesetup.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

double medianMs(int rounds, bool closeBetween, const QString& path)
{
    std::vector<double> times;
    for (int i = 0; i < rounds; ++i) {
        if (closeBetween)
            Database::closeKeptConnections();
        QElapsedTimer timer;
        timer.start();
        {
            Database db(path);
            Query q = db.query(QStringLiteral("SELECT TicketNum FROM TicketCount"));
            q.next();
        }
        times.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("helpdesk-e.mdb"));
    if (!DatabaseSetup::create(path, QStringLiteral("bench"), false))
        return 1;
    const double cold = medianMs(30, true, path);
    const double kept = medianMs(1000, false, path);
    std::printf("open/read/close scope, median: fresh connection %.3f ms, kept connection %.3f ms "
                "(%.0fx)\n",
                cold, kept, cold / kept);
    return 0;
}
