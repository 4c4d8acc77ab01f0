#include "helpdeskfixture.h"

#include <QtTest>

/** Frame "Repair": creating a work order under both counters, editing its notes, clearing. */
class TestWorkOrder : public QObject {
    Q_OBJECT

    static constexpr const char* Notes = "Reinstall the mail client.";

    // Ticket 3, with the technician chosen and the notes typed unless told otherwise.
    static void prepareTicket3(HelpDeskFixture& f, int filled = 2)
    {
        f.chooseTicket(3);
        if (filled > 0)
            QVERIFY(choose(f.combo("combRepairTech"), QStringLiteral("RP-3   Raj  Patel")));
        if (filled > 1)
            f.area("txtRepairNotes")->setPlainText(QString::fromLatin1(Notes));
    }
    /** The work order and RMA counters, then the numbers the boxes show. */
    static QString numbers(HelpDeskFixture& f)
    {
        return DbProbe::value("SELECT w.WkOrdNum || '/' || r.RMANum FROM WorkOrdCount w, "
                              "RMACount r") +
               ' ' + f.box("txtWorkOrder")->text() + '/' + f.box("txtRMA")->text();
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
        QCOMPARE(numbers(f), QStringLiteral("1/1 2/2"));
    }

    void createTakesTheHigherOfCounterAndBox_data()
    {
        QTest::addColumn<int>("stored");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("after");
        addRow("as shown", 1, "2/2", "2/2 3/3");
        // Other workstations created work orders since the window showed its numbers.
        addRow("counters moved on", 41, "2/2", "42/42 43/43");
        addRow("box already ahead", 41, "42/45", "42/45 43/46");
    }
    void createTakesTheHigherOfCounterAndBox()
    {
        QFETCH(int, stored);
        QFETCH(QString, shown);
        QFETCH(QString, after);
        HelpDeskFixture f;
        prepareTicket3(f);
        QVERIFY(DbProbe::exec(QStringLiteral("UPDATE WorkOrdCount SET WkOrdNum = ?"), stored));
        QVERIFY(DbProbe::exec(QStringLiteral("UPDATE RMACount SET RMANum = ?"), stored));
        f.box("txtWorkOrder")->setText(shown.section('/', 0, 0));
        f.box("txtRMA")->setText(shown.section('/', 1, 1));
        f.click("cmdCreateWrkOrd");
        QCOMPARE(DbProbe::value("SELECT WorkNum || '/' || RMANum || '|' || RepairTech || '|' || "
                                "RepairNotes || '|' || CustID || '|' || WrkOrd || Invoiced "
                                "FROM RepairOrder WHERE TicketNum = 3"),
                 after.section(' ', 0, 0) + "|RP-3|" + Notes + "|MIA-2|10");
        QCOMPARE(numbers(f), after);
        QVERIFY(!f.button("cmdCreateWrkOrd")->isEnabled() &&
                f.button("cmdRepairEdit")->isEnabled());
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
        QCOMPARE(numbers(f), QStringLiteral("1/1 2/2"));
        QVERIFY(f.button("cmdCreateWrkOrd")->isEnabled());
        QCOMPARE(f.area("txtRepairNotes")->toPlainText(), Notes);
    }

    void editStoresTheNotesOfTheOrderShownAndClearShowsTheNext()
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
        QCOMPARE(numbers(f), QStringLiteral("2/2 2/2"));

        QVERIFY(DbProbe::exec(QStringLiteral("UPDATE RMACount SET RMANum = 9")));
        f.click("cmdClearRepair");
        QCOMPARE(numbers(f), QStringLiteral("2/9 3/10"));
        QCOMPARE(f.texts({"txtRepairNotes"}) + f.combo("combRepairTech")->currentText(), "");
        QCOMPARE(f.combo("combRepairTech")->count(), 4);
        QVERIFY(f.button("cmdCreateWrkOrd")->isEnabled());
        // The technician chosen before the clearing is the one a new order is stored under.
        f.combo("combRepairTech")->setEditText(QStringLiteral("anyone"));
        f.area("txtRepairNotes")->setPlainText(QStringLiteral("Second visit."));
        f.click("cmdCreateWrkOrd");
        QCOMPARE(DbProbe::value("SELECT RepairTech FROM RepairOrder WHERE WorkNum = 3"), "RP-3");
    }
};

QTEST_MAIN(TestWorkOrder)
#include "tst_workorder.moc"
