#include "data/counters.h"
#include "support/testfolder.h"

#include <QtTest>
#include <limits>

/** Record numbering: show-next, the stale-number rule and commits. */
class TestCounters : public QObject {
    Q_OBJECT

    static void setStored(Counter counter, const char* table, qint64 value)
    {
        Database db;
        QVERIFY(
            db.exec(QStringLiteral("UPDATE %1 SET %2 = ?")
                        .arg(QLatin1String(table),
                             QLatin1String(counter == Counter::Ticket ? "TicketNum" : "InvNum")),
                    value));
    }

    // Saves one record the way the windows do: number, save, commit, in one transaction.
    static std::int32_t saveOne(Counter counter, std::int32_t shown)
    {
        Database db;
        Transaction transaction(db);
        const auto number = Counters::numberToSave(db, counter, shown);
        if (!number)
            return -1;
        if (!Counters::commit(db, counter, *number) || !transaction.commit())
            return -1;
        return *number;
    }

private Q_SLOTS:
    void freshDatabaseIssuesOneThenConsecutive_data()
    {
        QTest::addColumn<int>("counter");
        for (Counter c : {Counter::Ticket, Counter::KnowledgeBase, Counter::WorkOrder, Counter::Rma,
                          Counter::Invoice})
            QTest::newRow(QByteArray::number(static_cast<int>(c)).constData())
                << static_cast<int>(c);
    }

    void freshDatabaseIssuesOneThenConsecutive()
    {
        QFETCH(int, counter);
        const auto kind = static_cast<Counter>(counter);
        TestFolder folder;
        Database db;
        const auto shown = Counters::showNext(db, kind);
        QCOMPARE(shown, std::optional<std::int32_t>(1));
        QCOMPARE(saveOne(kind, *shown), 1);
        QCOMPARE(Counters::showNext(db, kind), std::optional<std::int32_t>(2));
        QCOMPARE(saveOne(kind, 2), 2);
        // A number shown but never saved is not consumed.
        QCOMPARE(Counters::showNext(db, kind), std::optional<std::int32_t>(3));
        QCOMPARE(Counters::showNext(db, kind), std::optional<std::int32_t>(3));
    }

    void staleShownNumberIsRaised()
    {
        TestFolder folder;
        Database db;
        const auto shown = Counters::showNext(db, Counter::Ticket);
        QCOMPARE(*shown, 1);
        setStored(Counter::Ticket, "TicketCount", 41); // another workstation logged 41 calls
        QCOMPARE(saveOne(Counter::Ticket, *shown), 42);
        // A shown number ahead of the counter is kept.
        QCOMPARE(saveOne(Counter::Ticket, 50), 50);
        QCOMPARE(Counters::showNext(db, Counter::Ticket), std::optional<std::int32_t>(51));
    }

    void overflowAndMissingRowsIssueNothing()
    {
        TestFolder folder;
        Database db;
        setStored(Counter::Invoice, "InvNumCount", std::numeric_limits<std::int32_t>::max());
        QVERIFY(!Counters::showNext(db, Counter::Invoice));
        QVERIFY(!Counters::numberToSave(db, Counter::Invoice, 5));
        QVERIFY(!Counters::following(std::numeric_limits<std::int32_t>::max()));

        QVERIFY(db.exec(QStringLiteral("DELETE FROM TicketCount")));
        QVERIFY(!Counters::showNext(db, Counter::Ticket));
        const auto missing = Counters::numberToSave(db, Counter::Ticket, 1);
        QVERIFY(!missing);
        QVERIFY(missing.status().isNotFound());
    }

    void customerAndEmployeeNumbersAreDrawnPast16Bits()
    {
        TestFolder folder;
        Database db;
        QCOMPARE(*Counters::draw(db, Counter::Customer), 1);
        QCOMPARE(*Counters::draw(db, Counter::Customer), 2);
        QVERIFY(db.exec(QStringLiteral("UPDATE EmployeeCount SET EmpNum = 32767")));
        QCOMPARE(*Counters::draw(db, Counter::Employee), 32768);
    }
};

QTEST_GUILESS_MAIN(TestCounters)
#include "tst_counters.moc"
