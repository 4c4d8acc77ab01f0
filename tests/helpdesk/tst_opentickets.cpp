#include "helpdeskfixture.h"

#include <QtTest>

/** Page "Open Tickets": the technician's list, a chosen ticket, Update Call and the clearing. */
class TestOpenTickets : public QObject {
    Q_OBJECT

    static QString callField(const char* column, int ticket)
    {
        return DbProbe::value(
            QStringLiteral("SELECT %1 FROM CallLog WHERE TicketNum = ?").arg(QLatin1String(column)),
            ticket);
    }
    static inline const QStringList TicketBoxes = {"txtCustID", "txtProbType", "txtProbOT",
                                                   "txtComm",   "txtSolOT",    "txtRecipient"};
    /** Whether Create, Edit and Invoice may be pressed, as "1" and "0". */
    static QString enabled(HelpDeskFixture& f)
    {
        QString flags;
        for (const char* name : {"cmdCreateWrkOrd", "cmdRepairEdit", "cmdInvoice"})
            flags += f.button(name)->isEnabled() ? '1' : '0';
        return flags;
    }

private Q_SLOTS:
    void listsTheTechniciansOpenCallsAndShowsTheChosenOne()
    {
        HelpDeskFixture f;
        QVERIFY(DbProbe::exec(QStringLiteral(
            "INSERT INTO CallLog (TicketNum, CustID, Priority, CallStatus, Tech) VALUES "
            "(40, 'GONE-9', '2-Med', 'Open', 'JTT-1'), (41, 'KEN-7', '1-High', 'Closed', "
            "'JTT-1'), (42, 'KEN-7', '1-High', 'Open', 'RP-3')")));
        f.click("cmdUpdateCall");
        QCOMPARE(f.list("lstOpenTickets")->lines(),
                 (QStringList{"2\tAES-3\tAllen Dental Associates\t1-High", "40\tGONE-9\t\t2-Med",
                              "3\tMIA-2\tMaria Garcia\t3-Low"}));

        f.chooseTicket(2);
        QCOMPARE(f.window().state().currentTicket, 2);
        QCOMPARE(f.texts(TicketBoxes), "AES-3|PC does not power on|Reception computer dead, no "
                                       "lights or fans.|Front desk PC, urgent.||");
        QCOMPARE(f.texts({"lstCustOT"}),
                 "Allen Dental Associates/230 Oak Street/Springfield, IL  62704");
        QVERIFY(f.combo("combclose")->currentText().isEmpty());
        // Its work order, invoiced already
        QCOMPARE(f.texts({"txtWorkOrder", "txtRMA"}) + f.combo("combRepairTech")->currentText(),
                 "1|1JTT-1");
        QVERIFY(f.area("txtRepairNotes")->toPlainText().startsWith(QStringLiteral("Replaced")));
        QCOMPARE(enabled(f), "010");

        // A ticket without a work order shows the next numbers.
        f.chooseTicket(3);
        QCOMPARE(f.texts({"txtCustID", "txtWorkOrder", "txtRMA", "txtRepairNotes"}), "MIA-2|2|2|");
        QCOMPARE(enabled(f), "101");

        // A ticket of a customer gone and without texts is shown and still updated.
        f.chooseTicket(40);
        QCOMPARE(f.texts(QStringList(TicketBoxes) << "lstCustOT"), "GONE-9||||||");
        f.type("txtComm", "Customer gone.");
        f.click("cmdUpdateCall");
        f.pick("combclose", "Closed");
        f.click("cmdUpdateCall");
        QCOMPARE(f.prompts().messages(), (QStringList{"Please select a Call Ticket to Update!",
                                                      "Please select if this call log is closed "
                                                      "or not."}));
        QCOMPARE(callField("Comm || CallStatus", 40), "Customer gone.Closed");
        QCOMPARE(f.list("lstOpenTickets")->count(), 2);

        // A call logged at another workstation shows on F5.
        QVERIFY(DbProbe::exec(QStringLiteral("INSERT INTO CallLog (TicketNum, CustID, Priority, "
                                             "CallStatus, Tech) VALUES (43, 'KEN-7', '3-Low', "
                                             "'Open', 'JTT-1')")));
        QTest::keyClick(f.list("lstOpenTickets"), Qt::Key_F5);
        QCOMPARE(f.list("lstOpenTickets")->count(), 3);
    }

    void updateStoresTheCallsOwnTexts_data()
    {
        QTest::addColumn<QString>("status");
        QTest::addColumn<QString>("closeDate");
        QTest::addColumn<bool>("tick");
        addRow("open", QStringLiteral("Open"), QStringLiteral("<null>"), true);
        addRow("closed", QStringLiteral("Closed"), QDate::currentDate().toString(Qt::ISODate),
               false);
    }
    void updateStoresTheCallsOwnTexts()
    {
        QFETCH(QString, status);
        QFETCH(QString, closeDate);
        QFETCH(bool, tick);
        HelpDeskFixture f;
        QVERIFY(DbProbe::exec(QStringLiteral("UPDATE ProbSol SET SaveKB = ? "
                                             "WHERE TicketNum = 2 AND KBEntry = 0"),
                              !tick));
        f.chooseTicket(2);
        f.type("txtProbType", "Dead power supply");
        f.type("txtProbOT", "No power at all.");
        f.type("txtSolOT", "Replaced the power supply.");
        f.type("txtComm", "Picked up Friday.");
        f.find<QCheckBox>("chkKnowOT")->setChecked(tick);
        f.pick("combclose", status);
        f.click("cmdUpdateCall");
        QCOMPARE(callField("CallStatus || '|' || Comm", 2), status + "|Picked up Friday.");
        QCOMPARE(callField("ClosePostDate", 2), closeDate);
        QCOMPARE(f.list("lstOpenTickets")->count(), tick ? 2 : 1);
        QCOMPARE(f.texts(QStringList(TicketBoxes) << "combclose"), "||||||Open/Closed");
        QVERIFY(!f.find<QCheckBox>("chkKnowOT")->isChecked());
        // Ticket 2 and knowledge-base entry 2 share their number: only the call's row changes.
        QCOMPARE(DbProbe::column("SELECT QuickDescp || '|' || SaveKB FROM ProbSol "
                                 "WHERE TicketNum = 2 ORDER BY rowid"),
                 (QStringList{"Dead power supply|" + QString::number(tick),
                              "Forgotten Windows password|1"}));
        QCOMPARE(DbProbe::value("SELECT Problem || '|' || Solution FROM ProbSol "
                                "WHERE TicketNum = 2 ORDER BY rowid"),
                 "No power at all.|Replaced the power supply.");
    }

    void entryNumberedBeforeItsTicketStaysApart()
    {
        HelpDeskFixture f;
        QVERIFY(DbProbe::exec(QStringLiteral("UPDATE KnowBaseCount SET KnowNum = 6")));
        f.open();
        f.type("txtKQDesc", "Toner smears");
        f.type("txtKProb", "Pages come out smeared.");
        f.type("txtKSol", "Replace the fuser.");
        f.click("cmdAddKBase"); // entry 7, before the call that becomes ticket 7
        f.fillCall();
        f.click("cmdLogCall");
        f.chooseTicket(7);
        QCOMPARE(f.texts({"txtProbType", "txtProbOT"}), "Paper jam|Jams on every page.");
        f.type("txtSolOT", "Cleared the rollers.");
        f.pick("combclose", "Closed");
        f.click("cmdUpdateCall");
        QCOMPARE(
            DbProbe::column("SELECT QuickDescp || '|' || Solution FROM ProbSol "
                            "WHERE TicketNum = 7 ORDER BY KBEntry"),
            (QStringList{"Paper jam|Cleared the rollers.", "Toner smears|Replace the fuser."}));
    }
};

QTEST_MAIN(TestOpenTickets)
#include "tst_opentickets.moc"
