#include "helpdeskfixture.h"

#include <QtTest>

/** Page "Open Tickets": the technician's list, a chosen ticket, Update Call and the clearing. */
class TestOpenTickets : public QObject {
    Q_OBJECT

    static TabbedList* tickets(HelpDeskFixture& f) { return f.find<TabbedList>("lstOpenTickets"); }
    static void chooseTicket(HelpDeskFixture& f, int number)
    {
        const QStringList lines = tickets(f)->lines();
        for (int row = 0; row < lines.size(); ++row) {
            if (lines[row].section(QLatin1Char('\t'), 0, 0) == QString::number(number)) {
                HelpDeskFixture::chooseLine(tickets(f), row);
                return;
            }
        }
        QFAIL("ticket not listed");
    }
    static QString callField(const char* column, int ticket)
    {
        return HelpDeskFixture::value(
            QStringLiteral("SELECT %1 FROM CallLog WHERE TicketNum = ?").arg(QLatin1String(column)),
            ticket);
    }

private Q_SLOTS:
    void listsOnlyTheTechniciansOpenCallsByPriority()
    {
        HelpDeskFixture f;
        QVERIFY(HelpDeskFixture::exec(QStringLiteral(
            "INSERT INTO CallLog (TicketNum, CustID, Priority, CallStatus, Tech) VALUES "
            "(40, 'GONE-9', '2-Med', 'Open', 'JTT-1'), (41, 'KEN-7', '1-High', 'Closed', "
            "'JTT-1'), (42, 'KEN-7', '1-High', 'Open', 'RP-3')")));
        f.open();
        QCOMPARE(tickets(f)->lines(),
                 (QStringList{"2\tAES-3\tAllen Dental Associates\t1-High", "40\tGONE-9\t\t2-Med",
                              "3\tMIA-2\tMaria Garcia\t3-Low"}));

        chooseTicket(f, 40);
        QCOMPARE(f.box("txtCustID")->text(), QStringLiteral("GONE-9"));
        QCOMPARE(f.find<QListWidget>("lstCustOT")->count(), 0);
        QVERIFY(f.area("txtProbOT")->toPlainText().isEmpty());

        // A ticket without a problem/solution row is still updated.
        QVERIFY(WidgetTesting::choose(f.combo("combclose"), QStringLiteral("Closed")));
        f.area("txtComm")->setPlainText(QStringLiteral("Customer gone."));
        f.click("cmdUpdateCall");
        QVERIFY(f.prompts().messages().isEmpty());
        QCOMPARE(callField("Comm", 40), QStringLiteral("Customer gone."));
        QCOMPARE(tickets(f)->count(), 2);
    }

    void choosingATicketShowsItWithItsWorkOrder()
    {
        HelpDeskFixture f;
        chooseTicket(f, 2);
        QCOMPARE(f.window().state().currentTicket, 2);
        QCOMPARE(f.box("txtCustID")->text(), QStringLiteral("AES-3"));
        QCOMPARE(
            HelpDeskFixture::items(f.find<QListWidget>("lstCustOT")),
            (QStringList{"Allen Dental Associates", "230 Oak Street", "Springfield, IL  62704"}));
        QCOMPARE(f.box("txtProbType")->text(), QStringLiteral("PC does not power on"));
        QCOMPARE(f.area("txtProbOT")->toPlainText(),
                 QStringLiteral("Reception computer dead, no lights or fans."));
        QCOMPARE(f.area("txtComm")->toPlainText(), QStringLiteral("Front desk PC, urgent."));
        QVERIFY(f.area("txtSolOT")->toPlainText().isEmpty());
        QVERIFY(f.combo("combclose")->currentText().isEmpty());
        QVERIFY(!f.find<QCheckBox>("chkKnowOT")->isChecked());
        // Its invoiced work order
        QCOMPARE(f.box("txtWorkOrder")->text(), QStringLiteral("1"));
        QCOMPARE(f.box("txtRMA")->text(), QStringLiteral("1"));
        QCOMPARE(f.combo("combRepairTech")->currentText(), QStringLiteral("JTT-1"));
        QVERIFY(f.area("txtRepairNotes")->toPlainText().startsWith(QStringLiteral("Replaced")));
        QVERIFY(!f.find<QPushButton>("cmdCreateWrkOrd")->isEnabled());
        QVERIFY(f.find<QPushButton>("cmdRepairEdit")->isEnabled());
        QVERIFY(!f.find<QPushButton>("cmdInvoice")->isEnabled());

        chooseTicket(f, 3);
        QCOMPARE(f.window().state().currentTicket, 3);
        QCOMPARE(f.box("txtCustID")->text(), QStringLiteral("MIA-2"));
        QCOMPARE(f.box("txtWorkOrder")->text(), QStringLiteral("2"));
        QCOMPARE(f.box("txtRMA")->text(), QStringLiteral("2"));
        QVERIFY(f.area("txtRepairNotes")->toPlainText().isEmpty());
        QVERIFY(f.find<QPushButton>("cmdCreateWrkOrd")->isEnabled());
        QVERIFY(!f.find<QPushButton>("cmdRepairEdit")->isEnabled());
        QVERIFY(f.find<QPushButton>("cmdInvoice")->isEnabled());
        QCOMPARE(f.box("txtInvTotal")->text(), QStringLiteral("0.00"));
    }

    void entryNumberedBeforeItsTicketStaysApart()
    {
        HelpDeskFixture f;
        QVERIFY(HelpDeskFixture::exec(QStringLiteral("UPDATE KnowBaseCount SET KnowNum = 6")));
        f.open();
        // Knowledge-base entry 7 is added before the call that becomes ticket 7 is logged.
        f.box("txtKQDesc")->setText(QStringLiteral("Toner smears"));
        f.area("txtKProb")->setPlainText(QStringLiteral("Pages come out smeared."));
        f.area("txtKSol")->setPlainText(QStringLiteral("Replace the fuser."));
        f.click("cmdAddKBase");
        f.fillCall();
        f.click("cmdLogCall");
        QVERIFY(f.prompts().messages().isEmpty());

        chooseTicket(f, 7);
        QCOMPARE(f.box("txtProbType")->text(), QStringLiteral("Paper jam"));
        QCOMPARE(f.area("txtProbOT")->toPlainText(), QStringLiteral("Jams on every page."));
        f.area("txtSolOT")->setPlainText(QStringLiteral("Cleared the rollers."));
        QVERIFY(WidgetTesting::choose(f.combo("combclose"), QStringLiteral("Closed")));
        f.click("cmdUpdateCall");
        QVERIFY(f.prompts().messages().isEmpty());

        const QString rows = QStringLiteral("SELECT group_concat(QuickDescp || '|' || Solution || "
                                            "'|' || SaveKB, ';') FROM ProbSol "
                                            "WHERE TicketNum = 7 AND KBEntry = ?");
        QCOMPARE(HelpDeskFixture::value(rows, 1),
                 QStringLiteral("Toner smears|Replace the fuser.|1"));
        QCOMPARE(HelpDeskFixture::value(rows, 0),
                 QStringLiteral("Paper jam|Cleared the rollers.|0"));
    }

    void updateAsksForTicketThenStatus()
    {
        HelpDeskFixture f;
        f.click("cmdUpdateCall");
        QCOMPARE(f.prompts().messages(), QStringList{"Please select a Call Ticket to Update!"});
        chooseTicket(f, 3);
        f.area("txtComm")->setPlainText(QStringLiteral("changed"));
        f.click("cmdUpdateCall");
        QCOMPARE(f.prompts().lastMessage(),
                 QStringLiteral("Please select if this call log is closed or not."));
        QCOMPARE(callField("Comm", 3), QString());
        QCOMPARE(f.area("txtComm")->toPlainText(), QStringLiteral("changed"));
    }

    void updateOpenKeepsTheCallListed()
    {
        HelpDeskFixture f;
        chooseTicket(f, 3);
        QVERIFY(WidgetTesting::choose(f.combo("combclose"), QStringLiteral("Open")));
        f.area("txtSolOT")->setPlainText(QStringLiteral("Checked the server settings."));
        f.click("cmdUpdateCall");
        QCOMPARE(callField("CallStatus", 3), QStringLiteral("Open"));
        QCOMPARE(callField("ClosePostDate", 3), QStringLiteral("<null>"));
        QCOMPARE(HelpDeskFixture::value(QStringLiteral("SELECT Solution FROM ProbSol "
                                                       "WHERE TicketNum = 3")),
                 QStringLiteral("Checked the server settings."));
        QCOMPARE(tickets(f)->count(), 2);
        QVERIFY(f.box("txtCustID")->text().isEmpty());
        QCOMPARE(HelpDeskFixture::items(f.combo("combclose")), (QStringList{"Open", "Closed"}));
    }

    void updateClosedStoresTheTextsAndCloseDate()
    {
        HelpDeskFixture f;
        chooseTicket(f, 2);
        f.box("txtProbType")->setText(QStringLiteral("Dead power supply"));
        f.area("txtProbOT")->setPlainText(QStringLiteral("No power at all."));
        f.area("txtSolOT")->setPlainText(QStringLiteral("Replaced the power supply."));
        f.area("txtComm")->setPlainText(QStringLiteral("Picked up Friday."));
        QVERIFY(WidgetTesting::choose(f.combo("combclose"), QStringLiteral("Closed")));
        f.click("cmdUpdateCall");
        QVERIFY(f.prompts().messages().isEmpty());
        QCOMPARE(callField("CallStatus", 2), QStringLiteral("Closed"));
        QCOMPARE(callField("ClosePostDate", 2), QDate::currentDate().toString(Qt::ISODate));
        QCOMPARE(callField("Comm", 2), QStringLiteral("Picked up Friday."));
        QCOMPARE(tickets(f)->lines(), QStringList{"3\tMIA-2\tMaria Garcia\t3-Low"});

        // Ticket 2 and knowledge-base entry 2 share their number: only the call's row changes.
        Database db;
        Query rows = db.query(QStringLiteral("SELECT QuickDescp, Problem, Solution FROM ProbSol "
                                             "WHERE TicketNum = 2 ORDER BY rowid"));
        QVERIFY(rows.next());
        QCOMPARE(rows.text(0), QStringLiteral("Dead power supply"));
        QCOMPARE(rows.text(1), QStringLiteral("No power at all."));
        QCOMPARE(rows.text(2), QStringLiteral("Replaced the power supply."));
        QVERIFY(rows.next());
        QCOMPARE(rows.text(0), QStringLiteral("Forgotten Windows password"));
    }

    void knowledgeBaseTickPutsInAndTakesOut()
    {
        HelpDeskFixture f;
        const auto update = [&](bool tick) {
            chooseTicket(f, 3);
            QVERIFY(WidgetTesting::choose(f.combo("combclose"), QStringLiteral("Open")));
            f.find<QCheckBox>("chkKnowOT")->setChecked(tick);
            f.click("cmdUpdateCall");
        };
        const auto found = [&] {
            f.box("txtSearchProb")->setText(QStringLiteral("send e-mail"));
            f.click("cmdGetSearch");
            return f.find<TabbedList>("lstSearchRes")->lines();
        };
        update(true);
        QCOMPARE(found(), QStringList{"3 - Cannot send e-mail"});
        update(false);
        QCOMPARE(found(), QStringList{"No record found"});
        QVERIFY(!f.find<QCheckBox>("chkKnowOT")->isChecked());
    }

    void failedUpdateKeepsThePageAndTheCall()
    {
        HelpDeskFixture f;
        QVERIFY(HelpDeskFixture::exec(
            QStringLiteral("CREATE TRIGGER RefuseText BEFORE UPDATE ON ProbSol "
                           "BEGIN SELECT RAISE(ABORT, 'locked'); END")));
        chooseTicket(f, 3);
        f.area("txtSolOT")->setPlainText(QStringLiteral("Typed solution"));
        QVERIFY(WidgetTesting::choose(f.combo("combclose"), QStringLiteral("Closed")));
        f.click("cmdUpdateCall");
        QCOMPARE(f.prompts().messages().size(), 1);
        QVERIFY(
            f.prompts().lastMessage().startsWith(QStringLiteral("The call could not be updated.")));
        QCOMPARE(callField("CallStatus", 3), QStringLiteral("Open"));
        QCOMPARE(callField("ClosePostDate", 3), QStringLiteral("<null>"));
        QCOMPARE(f.area("txtSolOT")->toPlainText(), QStringLiteral("Typed solution"));
        QCOMPARE(f.combo("combclose")->currentText(), QStringLiteral("Closed"));
        QCOMPARE(tickets(f)->count(), 2);
    }

    void updateOfATicketRemovedMeanwhileIsReported()
    {
        HelpDeskFixture f;
        chooseTicket(f, 3);
        QVERIFY(HelpDeskFixture::exec(QStringLiteral("DELETE FROM CallLog WHERE TicketNum = 3")));
        QVERIFY(WidgetTesting::choose(f.combo("combclose"), QStringLiteral("Closed")));
        f.click("cmdUpdateCall");
        QCOMPARE(f.prompts().lastMessage(),
                 QStringLiteral("The call could not be updated.\nTicket 3 no longer exists."));
        QCOMPARE(f.box("txtCustID")->text(), QStringLiteral("MIA-2"));
    }

    void clearAndClearAll()
    {
        HelpDeskFixture f;
        chooseTicket(f, 2);
        f.box("txtRecipient")->setText(QStringLiteral("office@allendental.example"));
        f.find<QCheckBox>("chkKnowOT")->setChecked(true);
        f.box("txtInvDesc")->setText(QStringLiteral("part"));
        f.box("txtInvTotal")->setText(QStringLiteral("12.00"));
        f.find<TabbedList>("lstInvItems")->addLine(QStringLiteral("DIAG\tDiagnostic\t1\t45\t45"));

        f.click("cmdClearOT");
        for (const char* name : {"txtCustID", "txtProbType", "txtRecipient"})
            QVERIFY2(f.box(name)->text().isEmpty(), name);
        for (const char* name : {"txtProbOT", "txtSolOT", "txtComm"})
            QVERIFY2(f.area(name)->toPlainText().isEmpty(), name);
        QVERIFY(!f.find<QCheckBox>("chkKnowOT")->isChecked());
        QCOMPARE(f.window().state().currentTicket, 2);
        QCOMPARE(f.box("txtWorkOrder")->text(), QStringLiteral("1")); // the frames stay
        QCOMPARE(f.box("txtInvDesc")->text(), QStringLiteral("part"));

        f.click("cmdClearAll");
        QCOMPARE(f.box("txtWorkOrder")->text(), QStringLiteral("2"));
        QCOMPARE(f.box("txtRMA")->text(), QStringLiteral("2"));
        QVERIFY(f.area("txtRepairNotes")->toPlainText().isEmpty());
        QVERIFY(f.find<QPushButton>("cmdCreateWrkOrd")->isEnabled());
        QVERIFY(f.find<QPushButton>("cmdRepairEdit")->isEnabled());
        QCOMPARE(f.combo("combRepairTech")->count(), 4);
        QVERIFY(f.box("txtInvDesc")->text().isEmpty());
        QCOMPARE(f.find<TabbedList>("lstInvItems")->count(), 0);
        QCOMPARE(f.box("txtInvTotal")->text(), QStringLiteral("0.00"));
        QCOMPARE(f.box("txtInvTax")->text(), QStringLiteral("0.00"));
        QVERIFY(f.find<QPushButton>("cmdInvoice")->isEnabled());
        QCOMPARE(f.box("txtInvNum")->text(), QStringLiteral("2"));
    }
};

QTEST_MAIN(TestOpenTickets)
#include "tst_opentickets.moc"
