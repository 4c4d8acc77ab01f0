#include "data/database.h"
#include "data/serversettings.h"
#include "support/dbprobe.h"
#include "support/filecontents.h"
#include "support/testfolder.h"
#include "upkeep/serverbackup.h"
#include "upkeep/serverupkeep.h"

#include <QDir>
#include <QElapsedTimer>
#include <QtTest>
#include <sys/stat.h>
#include <unistd.h>

namespace {

/** Runs a ServerBackup of the test's shop to `target` and waits for it, counting how often a
 *  timer of the event loop fired meanwhile. */
Status dump(const QString& target, int* ticks = nullptr)
{
    ServerBackup backup;
    std::optional<Status> outcome;
    QObject::connect(&backup, &ServerBackup::finished,
                     [&](const Status& status) { outcome = status; });
    QTimer ticker;
    int fired = 0;
    QObject::connect(&ticker, &QTimer::timeout, [&] { ++fired; });
    ticker.start(50);
    backup.start(ServerSettings::address(), target);
    if (outcome)
        return Status::failed(QStringLiteral("finished before start() returned"));
    if (!QTest::qWaitFor([&] { return outcome.has_value(); }, 60000))
        return Status::failed(QStringLiteral("did not finish"));
    if (ticks)
        *ticks = fired;
    return *outcome;
}

/** A child of this process running `program`, by its process id; 0 when there is none. */
pid_t childNamed(const QByteArray& program)
{
    const QStringList processes =
        QDir(QStringLiteral("/proc")).entryList({QStringLiteral("[0-9]*")}, QDir::Dirs);
    for (const QString& process : processes) {
        // pid (comm) state ppid ...
        const QByteArray stat = contentsOf(QStringLiteral("/proc/%1/stat").arg(process));
        const qsizetype end = stat.lastIndexOf(')');
        const QList<QByteArray> after = stat.mid(end + 2).split(' ');
        if (end > 0 && after.size() > 1 && after[1].toLongLong() == ::getpid() &&
            stat.mid(stat.indexOf('(') + 1, end - stat.indexOf('(') - 1) == program)
            return process.toInt();
    }
    return 0;
}

} // namespace

/** Backup and compaction of a shop kept on a database server. */
class TestServerUpkeep : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        if (!TestFolder::onServer())
            QSKIP("No test database server (scripts/pg-test-cluster.sh)");
        if (ServerUpkeep::dumpTool().isEmpty())
            QSKIP("pg_dump is not installed");
    }

    void backupIsARestorableArchiveAndCompactionKeepsEveryRow()
    {
        TestFolder folder(TestFolder::Content::Demo);
        const QString target = folder.filePath(QStringLiteral("shop.backup"));
        // What a dump that was cut off long ago left, and one that another workstation writes.
        const QString cutOff = target + QStringLiteral(".partial");
        const QString running = target + QStringLiteral(".partial1");
        for (const QString& leftover : {cutOff, running}) {
            QFile file(leftover);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("PGDMP");
        }
        QFile old(cutOff);
        QVERIFY(old.open(QIODevice::ReadWrite));
        QVERIFY(old.setFileTime(QDateTime::currentDateTime().addDays(-1),
                                QFileDevice::FileModificationTime));
        old.close();

        const Status backedUp = dump(target);
        QVERIFY2(backedUp, qPrintable(backedUp.message()));
        QFile archive(target);
        QVERIFY(archive.open(QIODevice::ReadOnly));
        QCOMPARE(archive.read(5), QByteArray("PGDMP"));
        QCOMPARE(QDir(folder.path()).entryList({QStringLiteral("shop.backup*")}),
                 (QStringList{"shop.backup", "shop.backup.partial1"}));

        const qint64 tickets = DbProbe::count("CallLog");
        QVERIFY(ServerUpkeep::compact(ServerSettings::address()));
        QCOMPARE(DbProbe::count("CallLog"), tickets);

        const Status refused = dump(folder.filePath("no/such/folder/x"));
        QVERIFY(!refused);
        QVERIFY(!QFile::exists(folder.filePath("no/such/folder/x")));
    }

    void aLockedTableEndsTheDumpWithinItsLimit_data()
    {
        QTest::addColumn<int>("lockWaitMs");
        QTest::addColumn<int>("overallMs");
        QTest::addColumn<QString>("told");
        QTest::newRow("the lock's limit")
            << 1000 << 60000
            << "another session kept the table public.calllog locked for more "
               "than 1 second. Try again once that work is done.";
        QTest::newRow("the overall limit")
            << 60000 << 2000 << " within 2 seconds, so it was stopped.";
    }

    void aLockedTableEndsTheDumpWithinItsLimit()
    {
        QFETCH(int, lockWaitMs);
        QFETCH(int, overallMs);
        QFETCH(QString, told);
        TestFolder folder(TestFolder::Content::Demo);
        OtherWorkstation other;
        Transaction holding(other.db());
        QVERIFY(other.db().exec(QStringLiteral("LOCK TABLE CallLog IN ACCESS EXCLUSIVE MODE")));
        const ServerBackup::Limits before = ServerBackup::setLimits({lockWaitMs, overallMs});
        const QString target = folder.filePath(QStringLiteral("shop.backup"));
        QElapsedTimer clock;
        clock.start();
        int ticks = 0;

        const Status status = dump(target, &ticks);

        ServerBackup::setLimits(before);
        QVERIFY(!status);
        QVERIFY2(status.message().contains(told), qPrintable(status.message()));
        QVERIFY2(clock.elapsed() < std::min(lockWaitMs, overallMs) + 5000,
                 qPrintable(QString::number(clock.elapsed())));
        // The event loop ran all the while.
        QVERIFY2(ticks >= std::min(lockWaitMs, overallMs) / 100,
                 qPrintable(QString::number(ticks)));
        QCOMPARE(QDir(folder.path()).entryList({QStringLiteral("shop.backup*")}), QStringList());
    }

    void theDumpShowsNoPasswordAndIsOwnerOnly()
    {
        TestFolder folder(TestFolder::Content::Demo);
        // The test server lets the user in without it, so the password only has to get there.
        const QString address = ServerSettings::address() + QStringLiteral(" password=Sesame42");
        const QString target = folder.filePath(QStringLiteral("shop.backup"));
        const mode_t mask = ::umask(022);
        std::optional<Status> outcome;
        {
            // The dump waits for the table that another workstation holds.
            OtherWorkstation other;
            Transaction holding(other.db());
            QVERIFY(other.db().exec(QStringLiteral("LOCK TABLE CallLog IN ACCESS EXCLUSIVE MODE")));
            ServerBackup backup;
            QObject::connect(&backup, &ServerBackup::finished,
                             [&](const Status& status) { outcome = status; });
            backup.start(address, target);
            pid_t dump = 0;
            QVERIFY(QTest::qWaitFor([&] { return (dump = childNamed("pg_dump")) != 0; }, 10000));
            const QByteArray commandLine = contentsOf(QStringLiteral("/proc/%1/cmdline").arg(dump));
            QVERIFY(commandLine.contains("--dbname="));
            QVERIFY2(!commandLine.contains("Sesame"),
                     QByteArray(commandLine).replace('\0', ' ').constData());
            QVERIFY(contentsOf(QStringLiteral("/proc/%1/environ").arg(dump))
                        .split('\0')
                        .contains("PGPASSWORD=Sesame42"));
            holding.commit();
            QVERIFY(QTest::qWaitFor([&] { return outcome.has_value(); }, 60000));
        }
        ::umask(mask);
        QVERIFY2(*outcome, qPrintable(outcome->message()));
        QCOMPARE(modeOf(target), 0600);
    }
};

QTEST_GUILESS_MAIN(TestServerUpkeep)
#include "tst_serverupkeep.moc"
