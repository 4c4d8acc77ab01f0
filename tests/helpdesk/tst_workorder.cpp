#include "helpdeskfixture.h"

#include <QtTest>

/** Frame "Repair": creating a work order under both counters and editing its notes. */
class TestWorkOrder : public QObject {
    Q_OBJECT

    static constexpr const char* Notes = "Reinstall the mail client.";

    // Ticket 3, with the technician chosen and the notes typed unless told otherwise.
    static void prepareTicket3(HelpDeskFixture& f, int filled = 2)
    {
        f.chooseTicket(3);
        if (filled > 0)
            f.pick("combRepairTech", "RP-3   Raj  Patel");
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
    void createAndEditCheckInScreenOrder()
    {
        HelpDeskFixture f;
        for (int filled = -1; filled < 2; ++filled) {
            if (filled >= 0)
                prepareTicket3(f, filled);
            for (const char* button : {"cmdCreateWrkOrd", "cmdRepairEdit"}) {
                f.button(button)->setEnabled(true);
                f.click(button);
            }
        }
        const QStringList messages = {"Please select a Customer for this Work Order!",
                                      "Please assign a repair tech", "Please enter repair notes"};
        for (int i = 0; i < messages.size(); ++i)
            QCOMPARE(f.prompts().messages().mid(2 * i, 2), QStringList(2, messages[i]));
        QCOMPARE(DbProbe::count(QStringLiteral("RepairOrder")), 1);
        QCOMPARE(numbers(f), "1/1 2/2");
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
        f.type("txtRepairNotes", "Mail client reinstalled.");
        f.click("cmdRepairEdit");
        QCOMPARE(DbProbe::value("SELECT RepairNotes || '|' || RepairTech || '|' || RMANum "
                                "FROM RepairOrder WHERE WorkNum = 2"),
                 "Mail client reinstalled.|RP-3|2");
        QCOMPARE(numbers(f), "2/2 2/2");
    }
};

QTEST_MAIN(TestWorkOrder)
#include "tst_workorder.moc"
