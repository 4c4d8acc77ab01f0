#include "data/database.h"
#include "support/testfolder.h"
#include "support/ticketrows.h"
#include "tickets/ticketlogstore.h"

#include <QtTest>

/** The ticket log's lines as the store builds them, the customer's name looked up in memory. */
class TestTicketLogLines : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void customerNameWhateverTheCaseOfTheId_data()
    {
        QTest::addColumn<QString>("ticketCustId");
        QTest::addColumn<QString>("name");
        QTest::newRow("same case") << "JTH-1"
                                   << "John Thomas";
        QTest::newRow("lower case") << "jth-1"
                                    << "John Thomas";
        QTest::newRow("mixed case") << "jTh-1"
                                    << "John Thomas";
        QTest::newRow("no such customer") << "JTH-10"
                                          << "";
        QTest::newRow("no customer") << ""
                                     << "";
    }

    void customerNameWhateverTheCaseOfTheId()
    {
        QFETCH(QString, ticketCustId);
        QFETCH(QString, name);
        TestFolder folder;
        QVERIFY(TicketRows::exec(
            "INSERT INTO Customer (CustID, CustName) VALUES ('JTH-1', 'John Thomas')"));
        QVERIFY(TicketRows::add({.number = 1, .custId = ticketCustId}));
        Database db;
        const auto lines = TicketLogStore::TicketPages(false).next(db, -1);
        QVERIFY(lines);
        QCOMPARE(lines->size(), 1);
        const QStringList fields = lines->first().split(QLatin1Char('\t'));
        QCOMPARE(fields.size(), 7);
        QCOMPARE(fields[1], ticketCustId);
        QCOMPARE(fields[2], name);
    }

    void openOnlyKeepsTheOrderAndTheNames()
    {
        TestFolder folder;
        QVERIFY(TicketRows::exec(
            "INSERT INTO Customer (CustID, CustName) VALUES ('A-1', 'Ann'), ('B-2', 'Bob')"));
        QVERIFY(TicketRows::add({.number = 3, .custId = "b-2"}));
        QVERIFY(TicketRows::add({.number = 1, .custId = "A-1", .status = "Closed"}));
        QVERIFY(TicketRows::add({.number = 2, .custId = "A-1", .status = "open"}));
        Database db;
        const auto lines = TicketLogStore::TicketPages(true).next(db, -1);
        QVERIFY(lines);
        QCOMPARE(TicketRows::leadingNumbers(*lines), (QList<int>{2, 3}));
        QCOMPARE(lines->at(1).section(QLatin1Char('\t'), 2, 2), QStringLiteral("Bob"));
    }

    void pagesFollowOnWithTheirNames()
    {
        TestFolder folder;
        QVERIFY(TicketRows::exec(
            "INSERT INTO Customer (CustID, CustName) VALUES ('A-1', 'Ann'), ('B-2', 'Bob')"));
        {
            Database db;
            Transaction transaction(db);
            for (int n = 1; n <= 6000; ++n)
                QVERIFY(db.exec(QStringLiteral("INSERT INTO CallLog (TicketNum, CustID) "
                                               "VALUES (?, ?)"),
                                n, n <= 500 ? "a-1" : "B-2"));
            QVERIFY(transaction.commit());
        }
        const auto nameOf = [](const QString& line) {
            return line.section(QLatin1Char('\t'), 2, 2);
        };
        Database db;
        TicketLogStore::TicketPages pages(false);
        // A small page reads its own customers' names, a large one everybody's.
        const auto small = pages.next(db, 1000);
        QVERIFY(small);
        QCOMPARE(TicketRows::leadingNumbers(*small).first(), 1);
        QCOMPARE(nameOf(small->first()), QStringLiteral("Ann"));
        QCOMPARE(nameOf(small->last()), QStringLiteral("Bob"));
        const auto large = pages.next(db, 3000);
        QVERIFY(large);
        QCOMPARE(TicketRows::leadingNumbers(*large).first(), 1001);
        QCOMPARE(TicketRows::leadingNumbers(*large).last(), 4000);

        // A customer and tickets added between pages are listed with the customer's name.
        QVERIFY(TicketRows::exec("INSERT INTO Customer (CustID, CustName) VALUES ('C-3', 'Cy')"));
        QVERIFY(TicketRows::add({.number = 7000, .custId = "c-3"}));
        const auto rest = pages.next(db, -1);
        QVERIFY(rest);
        QCOMPARE(rest->size(), 2001);
        QCOMPARE(TicketRows::leadingNumbers(*rest).first(), 4001);
        QCOMPARE(nameOf(rest->first()), QStringLiteral("Bob"));
        QCOMPARE(nameOf(rest->last()), QStringLiteral("Cy"));
        const auto none = pages.next(db, 1000);
        QVERIFY(none);
        QVERIFY(none->isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestTicketLogLines)
#include "tst_ticketloglines.moc"
