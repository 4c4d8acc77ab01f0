#include "data/serversettings.h"
#include "support/dbprobe.h"
#include "support/testfolder.h"
#include "upkeep/serverupkeep.h"

#include <QtTest>

/** Backup and compaction of a shop kept on a database server. */
class TestServerUpkeep : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        if (!TestFolder::onServer())
            QSKIP("No test database server (scripts/pg-test-cluster.sh)");
    }

    void backupIsARestorableArchiveAndCompactionKeepsEveryRow()
    {
        TestFolder folder(TestFolder::Content::Demo);
        const QString server = ServerSettings::address();
        if (ServerUpkeep::dumpTool().isEmpty())
            QSKIP("pg_dump is not installed");
        const QString target = folder.filePath(QStringLiteral("shop.backup"));
        const Status backedUp = ServerUpkeep::backUp(server, target);
        QVERIFY2(backedUp, qPrintable(backedUp.message()));
        QFile archive(target);
        QVERIFY(archive.open(QIODevice::ReadOnly));
        QCOMPARE(archive.read(5), QByteArray("PGDMP"));
        QVERIFY(!QFile::exists(target + QStringLiteral(".partial")));

        const qint64 tickets = DbProbe::count("CallLog");
        QVERIFY(ServerUpkeep::compact(server));
        QCOMPARE(DbProbe::count("CallLog"), tickets);

        const Status refused = ServerUpkeep::backUp(server, folder.filePath("no/such/folder/x"));
        QVERIFY(!refused);
        QVERIFY(!QFile::exists(folder.filePath("no/such/folder/x")));
    }
};

QTEST_GUILESS_MAIN(TestServerUpkeep)
#include "tst_serverupkeep.moc"
