#include "data/database.h"
#include "data/schema.h"
#include "data/serversettings.h"
#include "support/dbprobe.h"
#include "support/filecontents.h"
#include "support/lockpatience.h"
#include "support/scriptedprompter.h"
#include "support/secondconnection.h"
#include "support/testfolder.h"
#include "upkeep/backupfile.h"
#include "upkeep/compactdatabase.h"
#include "upkeep/ownkey.h"
#include "upkeep/upkeepmenu.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QMap<QString, qint64> rowCounts()
{
    Database db;
    QMap<QString, qint64> counts;
    const QStringList tables = Schema::tableNames(db).value();
    for (const QString& table : tables)
        counts[table] = Schema::rowCount(db, table).value();
    return counts;
}

/** Grows the database by a lot of text and frees it again, leaving unused pages behind. */
void leaveFreeSpace()
{
    QVERIFY(DbProbe::exec("INSERT INTO ProbSol (TicketNum, Problem) VALUES (900, ?)",
                          QString(400000, QLatin1Char('x'))));
    QVERIFY(DbProbe::exec("DELETE FROM ProbSol WHERE TicketNum = 900"));
}

} // namespace

/** Compaction: a checked, keyed copy without the free space takes the database's place. */
class TestCompact : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void serversDatabaseIsCompactedAndNamed()
    {
        if (!TestFolder::onServer())
            QSKIP("The file's compaction is the case below");
        TestFolder folder(TestFolder::Content::Demo);
        leaveFreeSpace();
        const QMap<QString, qint64> before = rowCounts();
        ScriptedPrompter prompts;
        UpkeepMenu menu;
        menu.mnucompact_Click();
        QCOMPARE(prompts.messages(),
                 QStringList{QStringLiteral("Database has been compacted!\n\nDatabase: the "
                                            "database server ") +
                             ServerSettings::describe(ServerSettings::address())});
        QCOMPARE(rowCounts(), before);
    }

    void compactsOverALeftoverCopyKeepingEveryRowWhileOthersAreConnected()
    {
        SKIP_ON_SERVER();
        TestFolder folder(TestFolder::Content::Demo);
        leaveFreeSpace();
        const QMap<QString, qint64> before = rowCounts();
        const qint64 sizeBefore = QFileInfo(folder.databasePath()).size();
        const QStringList programFiles = QDir(folder.path()).entryList(QDir::Files);
        const QString copy = folder.filePath(QString::fromLatin1(CompactDatabase::CopyName));
        for (const QString& leftover : {copy, copy + QStringLiteral("-journal")})
            QVERIFY(writeFile(leftover, "half a copy from a run that was cut off"));
        SecondConnection otherWorkstation;
        ScriptedPrompter prompts;

        UpkeepMenu menu;
        menu.mnucompact_Click();

        QCOMPARE(prompts.messages(),
                 QStringList{QStringLiteral("Database has been compacted!\n\nDatabase: the shop "
                                            "file ") +
                             folder.databasePath()});
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files), programFiles);
        QVERIFY(QFileInfo(folder.databasePath()).size() < sizeBefore / 2);
        QVERIFY(!contentsOf(folder.databasePath()).startsWith("SQLite format 3"));
        // Opened afresh with the key, it holds all it held before.
        Database::closeKeptConnections();
        QCOMPARE(rowCounts(), before);
        QCOMPARE(DbProbe::value("PRAGMA integrity_check"), QStringLiteral("ok"));

        // Work goes on in the compacted file, and another workstation's next handler opens it.
        QVERIFY(DbProbe::exec("INSERT INTO CallLog (TicketNum) VALUES (7)"));
        SecondConnection later;
        Query count = later.db().query(QStringLiteral("SELECT count(*) FROM CallLog"));
        QVERIFY(count.next());
        QCOMPARE(count.integer(0), 7);
    }

    void oldPasswordShopMovesToItsOwnKeyAfterABackup()
    {
        SKIP_ON_SERVER();
        TestFolder folder(TestFolder::Content::Demo);
        QVERIFY(folder.useOldPassword());
        const QMap<QString, qint64> before = rowCounts();
        const QByteArray oldPassword = ShopKey::oldPassword().sqlcipherKey();
        const QDateTime at(QDate(2026, 12, 8), QTime(9, 30));

        const Result<OwnKey::Moved> moved = OwnKey::protect(at);
        QVERIFY2(moved, qPrintable(moved.status().message()));

        const QString keyFile = folder.filePath(ShopKey::FileName);
        QCOMPARE(moved->keyFile, keyFile);
        const Result<ShopKey> key = ShopKey::readFile(keyFile);
        QVERIFY(key && !key->isOldPassword());
        QVERIFY(!opensWithKey(folder.databasePath(), oldPassword));
        QVERIFY(opensWithKey(folder.databasePath(), key->sqlcipherKey()));
        QCOMPARE(moved->backup, folder.filePath("helpdesk-e.mdb.before-own-key-20261208-093000"));
        QVERIFY(opensWithKey(moved->backup, oldPassword));
        Database::closeKeptConnections();
        QCOMPARE(rowCounts(), before);
        // The next backup carries the new key.
        QTemporaryDir backups;
        const QString next = backups.filePath("after.bak");
        QVERIFY(BackupFile::copyDatabaseTo(next).isOk());
        QVERIFY(opensWithKey(next, key->sqlcipherKey()));
        QVERIFY(!opensWithKey(next, oldPassword));
        QCOMPARE(QDir(backups.path()).entryList(QDir::Files), QStringList{"after.bak"});
        // Once moved there is nothing more to move.
        QVERIFY(OwnKey::protect().status().isDuplicate());
    }

    void databaseInUseStaysAsItWas()
    {
        SKIP_ON_SERVER();
        TestFolder folder(TestFolder::Content::Demo);
        const QByteArray before = contentsOf(folder.databasePath());
        // Perhaps the copy of a compaction that another workstation is running.
        const QString copy = folder.filePath(QString::fromLatin1(CompactDatabase::CopyName));
        QVERIFY(writeFile(copy, "a copy being written"));
        const LockPatience giveUpAtOnce(0, 0);
        SecondConnection reader;
        QVERIFY(reader.db().exec(QStringLiteral("BEGIN")));
        Query reading = reader.db().query(QStringLiteral("SELECT TicketNum FROM CallLog"));
        QVERIFY(reading.next());
        ScriptedPrompter prompts;

        UpkeepMenu menu;
        menu.mnucompact_Click();

        QCOMPARE(prompts.messages(),
                 QStringList{QStringLiteral(
                                 "The database could not be compacted and has been left as it "
                                 "was. The database is in use on another workstation; please try "
                                 "again in a moment.\n\nDatabase: the shop file ") +
                             folder.databasePath()});
        QCOMPARE(contentsOf(folder.databasePath()), before);
        QCOMPARE(contentsOf(copy), QByteArray("a copy being written"));
        // The reader's view is unharmed.
        QVERIFY(reading.next());
    }

    void leftoverThatCannotBeRemovedIsReported()
    {
        SKIP_ON_SERVER();
        TestFolder folder(TestFolder::Content::Demo);
        const QString leftover = folder.filePath(QString::fromLatin1(CompactDatabase::CopyName));
        QVERIFY(QDir().mkdir(leftover));
        QVERIFY(QFile(leftover + QStringLiteral("/inside")).open(QIODevice::WriteOnly));
        const QByteArray before = contentsOf(folder.databasePath());
        ScriptedPrompter prompts;

        UpkeepMenu menu;
        menu.mnucompact_Click();

        QVERIFY(prompts.lastMessage().startsWith(
            QStringLiteral("The database could not be compacted and has been left as it was.")));
        QCOMPARE(contentsOf(folder.databasePath()), before);
    }
};

QTEST_MAIN(TestCompact)
#include "tst_compact.moc"
