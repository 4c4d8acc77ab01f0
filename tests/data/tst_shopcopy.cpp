#include "data/database.h"
#include "data/databasesetup.h"
#include "data/schema.h"
#include "data/shopcopy.h"
#include "data/shopkey.h"
#include "support/filecontents.h"
#include "support/testfolder.h"

#include <QDir>
#include <QtTest>

/** Moving a shop from its file to a database server: everything arrives, in order, or nothing. */
class TestShopCopy : public QObject {
    Q_OBJECT

private:
    static QStringList rows(Database& db, const QString& sql)
    {
        QStringList found;
        Query query = db.query(sql);
        while (query.next()) {
            QStringList fields;
            for (int i = 0; i < query.columnCount(); ++i)
                fields << (query.isNull(i) ? QStringLiteral("<null>") : query.text(i));
            found << fields.join(QLatin1Char('|'));
        }
        return found;
    }

private Q_SLOTS:
    void init()
    {
        if (qEnvironmentVariableIsEmpty("QUORVANE_TEST_PG"))
            QSKIP("No test database server (scripts/pg-test-cluster.sh)");
    }

    void everyRowArrivesInItsOrderAndOnlyOnce()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("shop.mdb"));
        QVERIFY(DatabaseSetup::create(path, QStringLiteral("admin"), true));
        const QString address = TestFolder::emptyServerDatabase();

        const auto copied = ShopCopy::toServer(path, address);
        QVERIFY2(copied, qPrintable(copied.status().message()));
        Database file(path);
        Database server = Database::atServer(address);
        QCOMPARE(copied->size(), Schema::tableNames(file)->size());
        for (const QString& sql :
             {QStringLiteral(
                  "SELECT TicketNum, CustID, Tech, OpenPostDate, ClosePostDate, EmailSol "
                  "FROM CallLog ORDER BY TicketNum"),
              QStringLiteral("SELECT TicketNum, QuickDescp, KBEntry FROM ProbSol ORDER BY rowid"),
              QStringLiteral("SELECT InvNum, InvTotal, InvDate, CheckNo FROM ARInvoice"),
              QStringLiteral("SELECT PartNo, CAST(PartQty * 100 AS INTEGER), PartPrice FROM "
                             "InvDetail ORDER BY rowid"),
              QStringLiteral("SELECT TicketNum FROM TicketCount"),
              QStringLiteral("SELECT max(Version) FROM SchemaVersion")})
            QCOMPARE(rows(server, sql), rows(file, sql));

        const auto again = ShopCopy::toServer(path, address);
        QVERIFY(!again);
        QVERIFY(again.status().isDuplicate());
    }

    void anOlderFileIsCopiedUpToDateAndLeftAsItWas()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("shop.mdb"));
        QVERIFY(Database::createFile(path));
        {
            Database file(path);
            QVERIFY(Schema::upgrade(file, 3));
            QVERIFY(file.exec(QStringLiteral("INSERT INTO CallLog (TicketNum) VALUES (6)")));
        }
        Database::closeKeptConnections();
        const QByteArray before = contentsOf(path);
        QVERIFY(!before.isEmpty());
        const QString address = TestFolder::emptyServerDatabase();

        const auto copied = ShopCopy::toServer(path, address);
        QVERIFY2(copied, qPrintable(copied.status().message()));
        Database::closeKeptConnections();
        QCOMPARE(contentsOf(path), before);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"shop.mdb"});
        Database server = Database::atServer(address);
        QCOMPARE(Schema::versionOf(server), Schema::currentVersion());
        QCOMPARE(rows(server, QStringLiteral("SELECT TicketNum FROM CallLog")), QStringList{"6"});
    }

    void aFileWithoutItsKeyFileNeedsTheKeyGiven_data()
    {
        QTest::addColumn<QString>("given"); // the key given besides the file: none, its, another
        QTest::addColumn<bool>("older");    // a file of an older release, copied up to date first
        QTest::newRow("no key") << "none" << false;
        QTest::newRow("another shop's key") << "another" << false;
        QTest::newRow("its key") << "its" << false;
        QTest::newRow("its key, older file") << "its" << true;
    }

    void aFileWithoutItsKeyFileNeedsTheKeyGiven()
    {
        QFETCH(QString, given);
        QFETCH(bool, older);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("shop.mdb"));
        const QString keyFile = ShopKey::filePathBeside(path);
        if (older) {
            QVERIFY(ShopKey::generate().writeFile(keyFile));
            QVERIFY(Database::createFile(path));
            Database file(path);
            QVERIFY(Schema::upgrade(file, 3));
            QVERIFY(file.exec(QStringLiteral("INSERT INTO CallLog (TicketNum) VALUES (6)")));
        } else {
            QVERIFY(DatabaseSetup::create(path, QStringLiteral("admin"), true));
        }
        Database::closeKeptConnections();
        const ShopKey own = ShopKey::readFile(keyFile).value();
        QVERIFY(QFile::remove(keyFile));
        std::optional<ShopKey> key;
        if (given == QLatin1String("its"))
            key = own;
        else if (given == QLatin1String("another"))
            key = ShopKey::generate();
        const QString address = TestFolder::emptyServerDatabase();

        const auto copied = ShopCopy::toServer(path, address, key);

        Database server = Database::atServer(address);
        if (given != QLatin1String("its")) {
            QVERIFY(!copied);
            QCOMPARE(copied.status().kind(), Status::Kind::WrongKey);
            QCOMPARE(Schema::tableNames(server)->size(), 0);
            return;
        }
        QVERIFY2(copied, qPrintable(copied.status().message()));
        QCOMPARE(rows(server, QStringLiteral("SELECT max(TicketNum) FROM CallLog")),
                 QStringList{"6"});
        QCOMPARE(Schema::versionOf(server), Schema::currentVersion());
    }

    void aTableTheServerLacksLeavesTheServerEmpty()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("shop.mdb"));
        QVERIFY(DatabaseSetup::create(path, QStringLiteral("admin"), true));
        {
            Database file(path);
            QVERIFY(file.exec(QStringLiteral("CREATE TABLE Zebra (Stripe INTEGER)")));
        }
        const QString address = TestFolder::emptyServerDatabase();
        const auto copied = ShopCopy::toServer(path, address);
        QVERIFY(!copied);
        QVERIFY(copied.status().message().contains(QLatin1String("Zebra")));
        Database server = Database::atServer(address);
        QCOMPARE(Schema::tableNames(server)->size(), 0);
    }
};

QTEST_GUILESS_MAIN(TestShopCopy)
#include "tst_shopcopy.moc"
