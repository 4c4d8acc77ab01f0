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
        const auto lines = TicketLogStore::ticketLines(db, false);
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
        const auto lines = TicketLogStore::ticketLines(db, true);
        QVERIFY(lines);
        QCOMPARE(TicketRows::leadingNumbers(*lines), (QList<int>{2, 3}));
        QCOMPARE(lines->at(1).section(QLatin1Char('\t'), 2, 2), QStringLiteral("Bob"));
    }
};

QTEST_GUILESS_MAIN(TestTicketLogLines)
#include "tst_ticketloglines.moc"
