#include "helpdeskfixture.h"

#include <QtTest>

/** Frame "Repair": creating a work order under both counters, editing its notes, clearing. */
class TestWorkOrder : public QObject {
    Q_OBJECT

    static constexpr const char* Raj = "RP-3   Raj  Patel";
    static constexpr const char* Notes = "Reinstall the mail client.";

    // Ticket 3 with a technician and notes: ready to create.
    static void prepareTicket3(HelpDeskFixture& f, int filled = 2)
    {
        f.chooseTicket(3);
        if (filled > 0)
            QVERIFY(choose(f.combo("combRepairTech"), QString::fromLatin1(Raj)));
        if (filled > 1)
            f.area("txtRepairNotes")->setPlainText(QString::fromLatin1(Notes));
    }
    static QString counters()
    {
        return DbProbe::value(
            "SELECT w.WkOrdNum || '/' || r.RMANum FROM WorkOrdCount w, RMACount r");
    }
    static QString boxes(HelpDeskFixture& f)
    {
        return f.box("txtWorkOrder")->text() + QLatin1Char('/') + f.box("txtRMA")->text();
    }

private Q_SLOTS:
    void createAndEditCheckInScreenOrder_data()
    {
        QTest::addColumn<int>("filled");
        QTest::addColumn<QString>("message");
        addRow("customer", -1, "Please select a Customer for this Work Order!");
        addRow("technician", 0, "Please assign a repair tech");
        addRow("notes", 1, "Please enter repair notes");
    }
    void createAndEditCheckInScreenOrder()
    {
        QFETCH(int, filled);
        QFETCH(QString, message);
        HelpDeskFixture f;
        if (filled >= 0)
            prepareTicket3(f, filled);
        for (const char* button : {"cmdCreateWrkOrd", "cmdRepairEdit"}) {
            f.button(button)->setEnabled(true);
            f.click(button);
            QCOMPARE(f.prompts().messages(), QStringList{message});
            f.prompts().clear();
        }
        QCOMPARE(DbProbe::count(QStringLiteral("RepairOrder")), 1);
        QCOMPARE(counters(), QStringLiteral("1/1"));
    }

    void createTakesTheHigherOfCounterAndBox_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("used");
        QTest::addColumn<QString>("after");
        addRow("as shown", "1/1", "2/2", "2/2", "3/3");
        // Other workstations created work orders since the window showed its numbers.
        addRow("counters moved on", "41/40", "2/2", "42/41", "43/42");
        addRow("box already ahead", "41/41", "42/45", "42/45", "43/46");
    }
    void createTakesTheHigherOfCounterAndBox()
    {
        QFETCH(QString, stored);
        QFETCH(QString, shown);
        QFETCH(QString, used);
        QFETCH(QString, after);
        HelpDeskFixture f;
        prepareTicket3(f);
        QVERIFY(DbProbe::exec(QStringLiteral("UPDATE WorkOrdCount SET WkOrdNum = ?"),
                              stored.section('/', 0, 0).toInt()));
        QVERIFY(DbProbe::exec(QStringLiteral("UPDATE RMACount SET RMANum = ?"),
                              stored.section('/', 1, 1).toInt()));
        f.box("txtWorkOrder")->setText(shown.section('/', 0, 0));
        f.box("txtRMA")->setText(shown.section('/', 1, 1));
        f.click("cmdCreateWrkOrd");
        QCOMPARE(DbProbe::value("SELECT WorkNum || '/' || RMANum || '|' || RepairTech || '|' || "
                                "RepairNotes || '|' || CustID || '|' || WrkOrd || Invoiced "
                                "FROM RepairOrder WHERE TicketNum = 3"),
                 used + "|RP-3|" + Notes + "|MIA-2|10");
        QCOMPARE(counters(), used);
        QCOMPARE(boxes(f), after);
        QCOMPARE(f.button("cmdCreateWrkOrd")->isEnabled(), false);
        QCOMPARE(f.button("cmdRepairEdit")->isEnabled(), true);
        QCOMPARE(f.area("txtRepairNotes")->toPlainText(), Notes);
    }

    void failedCreateChangesNothing()
    {
        HelpDeskFixture f;
        prepareTicket3(f);
        // Work order 2 exists although the counter was never advanced past 1.
        QVERIFY(DbProbe::exec("INSERT INTO RepairOrder (WorkNum, TicketNum) VALUES (2, 99)"));
        f.click("cmdCreateWrkOrd");
        QCOMPARE(f.prompts().messages(),
                 QStringList{"The work order could not be created.\nWork order 2 already exists."});
        QCOMPARE(DbProbe::count(QStringLiteral("RepairOrder")), 2);
        QCOMPARE(counters() + ' ' + boxes(f), QStringLiteral("1/1 2/2"));
        QVERIFY(f.button("cmdCreateWrkOrd")->isEnabled());
        QCOMPARE(f.area("txtRepairNotes")->toPlainText(), Notes);
    }

    void editStoresTheNotesOfTheOrderShown()
    {
        HelpDeskFixture f;
        prepareTicket3(f);
        f.click("cmdCreateWrkOrd");
        // The boxes now show the next numbers, which name no work order yet.
        f.click("cmdRepairEdit");
        QCOMPARE(f.prompts().messages(), QStringList{"There is no work order 3 to edit."});
        f.chooseTicket(2);
        f.chooseTicket(3);
        f.area("txtRepairNotes")->setPlainText(QStringLiteral("Mail client reinstalled."));
        f.click("cmdRepairEdit");
        QCOMPARE(DbProbe::value("SELECT RepairNotes || '|' || RepairTech || '|' || RMANum "
                                "FROM RepairOrder WHERE WorkNum = 2"),
                 QStringLiteral("Mail client reinstalled.|RP-3|2"));
        QCOMPARE(counters() + ' ' + boxes(f), QStringLiteral("2/2 2/2"));
    }

    void clearShowsTheNextNumbersAndKeepsTheChosenTechnician()
    {
        HelpDeskFixture f;
        prepareTicket3(f);
        f.click("cmdCreateWrkOrd");
        QVERIFY(DbProbe::exec(QStringLiteral("UPDATE RMACount SET RMANum = 9")));
        f.click("cmdClearRepair");
        QCOMPARE(boxes(f), QStringLiteral("3/10"));
        QVERIFY(f.button("cmdCreateWrkOrd")->isEnabled());
        QVERIFY(f.area("txtRepairNotes")->toPlainText().isEmpty());
        QCOMPARE(f.combo("combRepairTech")->count(), 4);
        QVERIFY(f.combo("combRepairTech")->currentText().isEmpty());
        // The technician chosen before the clearing is the one a new order is stored under.
        f.combo("combRepairTech")->setEditText(QStringLiteral("anyone"));
        f.area("txtRepairNotes")->setPlainText(QStringLiteral("Second visit."));
        f.click("cmdCreateWrkOrd");
        QCOMPARE(DbProbe::value("SELECT RepairTech FROM RepairOrder WHERE WorkNum = 3"), "RP-3");
    }
};

QTEST_MAIN(TestWorkOrder)
#include "tst_workorder.moc"
