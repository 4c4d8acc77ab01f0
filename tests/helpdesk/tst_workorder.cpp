#include "helpdeskfixture.h"

#include <QtTest>

using WidgetTesting::choose;

/** Frame "Repair": creating a work order under both counters, editing its notes, clearing. */
class TestWorkOrder : public QObject {
    Q_OBJECT

    static constexpr const char* Raj = "RP-3   Raj  Patel";

    // Chooses an open ticket of the demo technician as a click on its line does.
    static void chooseTicket(HelpDeskFixture& f, int number)
    {
        auto* list = f.find<TabbedList>("lstOpenTickets");
        const QStringList lines = list->lines();
        for (int row = 0; row < lines.size(); ++row) {
            if (lines[row].section(QLatin1Char('\t'), 0, 0) == QString::number(number)) {
                HelpDeskFixture::chooseLine(list, row);
                return;
            }
        }
        QFAIL("ticket not listed");
    }
    // Ticket 3 with a technician and notes: ready to create.
    static void prepareTicket3(HelpDeskFixture& f)
    {
        chooseTicket(f, 3);
        QVERIFY(choose(f.combo("combRepairTech"), QString::fromLatin1(Raj)));
        f.area("txtRepairNotes")->setPlainText(QStringLiteral("Reinstall the mail client."));
    }
    static QString counters()
    {
        return HelpDeskFixture::value(
            QStringLiteral("SELECT w.WkOrdNum || '/' || r.RMANum FROM WorkOrdCount w, RMACount r"));
    }
    static QString boxes(HelpDeskFixture& f)
    {
        return f.box("txtWorkOrder")->text() + QLatin1Char('/') + f.box("txtRMA")->text();
    }
    static QString orderCount()
    {
        return HelpDeskFixture::value(QStringLiteral("SELECT COUNT(*) FROM RepairOrder"));
    }

private Q_SLOTS:
    void createAndEditCheckInScreenOrder_data()
    {
        QTest::addColumn<int>("filled");
        QTest::addColumn<QString>("message");
        QTest::newRow("customer") << 0 << "Please select a Customer for this Work Order!";
        QTest::newRow("technician") << 1 << "Please assign a repair tech";
        QTest::newRow("notes") << 2 << "Please enter repair notes";
    }

    void createAndEditCheckInScreenOrder()
    {
        QFETCH(int, filled);
        QFETCH(QString, message);
        HelpDeskFixture f;
        if (filled > 0)
            chooseTicket(f, 3);
        if (filled > 1)
            QVERIFY(choose(f.combo("combRepairTech"), QString::fromLatin1(Raj)));
        for (const char* button : {"cmdCreateWrkOrd", "cmdRepairEdit"}) {
            f.prompts().clear();
            f.find<QPushButton>(button)->setEnabled(true);
            f.click(button);
            QCOMPARE(f.prompts().messages(), QStringList{message});
        }
        QCOMPARE(orderCount(), QStringLiteral("1"));
        QCOMPARE(counters(), QStringLiteral("1/1"));
    }

    void createStoresTheOrderAndAdvancesBothCounters()
    {
        HelpDeskFixture f;
        QCOMPARE(boxes(f), QStringLiteral("2/2"));
        prepareTicket3(f);
        f.click("cmdCreateWrkOrd");
        QVERIFY(f.prompts().messages().isEmpty());

        Database db;
        Query order = db.query(QStringLiteral("SELECT RMANum, RepairTech, RepairNotes, CustID, "
                                              "TicketNum, WrkOrd, Invoiced FROM RepairOrder "
                                              "WHERE WorkNum = 2"));
        QVERIFY(order.next());
        QCOMPARE(order.integer(0), 2);
        QCOMPARE(order.text(1), QStringLiteral("RP-3"));
        QCOMPARE(order.text(2), QStringLiteral("Reinstall the mail client."));
        QCOMPARE(order.text(3), QStringLiteral("MIA-2"));
        QCOMPARE(order.integer(4), 3);
        QVERIFY(order.boolean(5));
        QVERIFY(!order.boolean(6));
        QCOMPARE(counters(), QStringLiteral("2/2"));
        QCOMPARE(boxes(f), QStringLiteral("3/3"));
        QVERIFY(!f.find<QPushButton>("cmdCreateWrkOrd")->isEnabled());
        QVERIFY(f.find<QPushButton>("cmdRepairEdit")->isEnabled());
        QCOMPARE(f.combo("combRepairTech")->currentText(), QString::fromLatin1(Raj));
        QCOMPARE(f.area("txtRepairNotes")->toPlainText(),
                 QStringLiteral("Reinstall the mail client."));
    }

    void createTakesTheHigherOfCounterAndBox_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("used");
        QTest::addColumn<QString>("after");
        // Other workstations created work orders since the window showed its numbers.
        QTest::newRow("counters moved on") << "41/40"
                                           << "2/2"
                                           << "42/41"
                                           << "43/42";
        QTest::newRow("box already ahead") << "41/41"
                                           << "42/45"
                                           << "42/45"
                                           << "43/46";
    }

    void createTakesTheHigherOfCounterAndBox()
    {
        QFETCH(QString, stored);
        QFETCH(QString, shown);
        QFETCH(QString, used);
        QFETCH(QString, after);
        HelpDeskFixture f;
        prepareTicket3(f);
        QVERIFY(HelpDeskFixture::exec(QStringLiteral("UPDATE WorkOrdCount SET WkOrdNum = ?"),
                                      stored.section('/', 0, 0).toInt()));
        QVERIFY(HelpDeskFixture::exec(QStringLiteral("UPDATE RMACount SET RMANum = ?"),
                                      stored.section('/', 1, 1).toInt()));
        f.box("txtWorkOrder")->setText(shown.section('/', 0, 0));
        f.box("txtRMA")->setText(shown.section('/', 1, 1));
        f.click("cmdCreateWrkOrd");
        QCOMPARE(HelpDeskFixture::value(QStringLiteral(
                     "SELECT WorkNum || '/' || RMANum FROM RepairOrder WHERE TicketNum = 3")),
                 used);
        QCOMPARE(counters(), used);
        QCOMPARE(boxes(f), after);
    }

    void failedCreateChangesNothing()
    {
        HelpDeskFixture f;
        prepareTicket3(f);
        // Work order 2 exists although the counter was never advanced past 1.
        QVERIFY(HelpDeskFixture::exec(
            QStringLiteral("INSERT INTO RepairOrder (WorkNum, TicketNum) VALUES (2, 99)")));
        f.click("cmdCreateWrkOrd");
        QCOMPARE(f.prompts().messages(),
                 QStringList{"The work order could not be created.\nWork order 2 already exists."});
        QCOMPARE(orderCount(), QStringLiteral("2"));
        QCOMPARE(counters(), QStringLiteral("1/1"));
        QCOMPARE(boxes(f), QStringLiteral("2/2"));
        QVERIFY(f.find<QPushButton>("cmdCreateWrkOrd")->isEnabled());
        QCOMPARE(f.area("txtRepairNotes")->toPlainText(),
                 QStringLiteral("Reinstall the mail client."));
    }

    void editStoresTheNotesOfTheOrderShown()
    {
        HelpDeskFixture f;
        prepareTicket3(f);
        f.click("cmdCreateWrkOrd");
        // The boxes now show the next numbers, which name no work order yet.
        f.area("txtRepairNotes")->setPlainText(QStringLiteral("changed"));
        f.click("cmdRepairEdit");
        QCOMPARE(f.prompts().messages(), QStringList{"There is no work order 3 to edit."});

        chooseTicket(f, 2);
        chooseTicket(f, 3);
        QCOMPARE(boxes(f), QStringLiteral("2/2"));
        QVERIFY(f.find<QPushButton>("cmdRepairEdit")->isEnabled());
        f.area("txtRepairNotes")->setPlainText(QStringLiteral("Mail client reinstalled."));
        f.click("cmdRepairEdit");
        QCOMPARE(f.prompts().messages().size(), 1);
        QCOMPARE(HelpDeskFixture::value(QStringLiteral("SELECT RepairNotes || '|' || RepairTech "
                                                       "|| '|' || RMANum FROM RepairOrder "
                                                       "WHERE WorkNum = 2")),
                 QStringLiteral("Mail client reinstalled.|RP-3|2"));
        QCOMPARE(counters(), QStringLiteral("2/2"));
        QCOMPARE(boxes(f), QStringLiteral("2/2"));
    }

    void clearShowsTheNextNumbersAndKeepsTheChosenTechnician()
    {
        HelpDeskFixture f;
        prepareTicket3(f);
        f.click("cmdCreateWrkOrd");
        QVERIFY(HelpDeskFixture::exec(QStringLiteral("UPDATE RMACount SET RMANum = 9")));
        f.click("cmdClearRepair");
        QCOMPARE(boxes(f), QStringLiteral("3/10"));
        QVERIFY(f.find<QPushButton>("cmdCreateWrkOrd")->isEnabled());
        QVERIFY(f.find<QPushButton>("cmdRepairEdit")->isEnabled());
        QVERIFY(f.area("txtRepairNotes")->toPlainText().isEmpty());
        QCOMPARE(QString::number(f.combo("combRepairTech")->count()),
                 HelpDeskFixture::value(
                     QStringLiteral("SELECT COUNT(*) FROM Employee WHERE Inactive = 0")));
        QVERIFY(f.combo("combRepairTech")->currentText().isEmpty());

        // The technician chosen before the clearing is the one a new order is stored under.
        f.combo("combRepairTech")->setEditText(QStringLiteral("anyone"));
        f.area("txtRepairNotes")->setPlainText(QStringLiteral("Second visit."));
        f.click("cmdCreateWrkOrd");
        QCOMPARE(HelpDeskFixture::value(
                     QStringLiteral("SELECT RepairTech FROM RepairOrder WHERE WorkNum = 3")),
                 QStringLiteral("RP-3"));
    }
};

QTEST_MAIN(TestWorkOrder)
#include "tst_workorder.moc"
