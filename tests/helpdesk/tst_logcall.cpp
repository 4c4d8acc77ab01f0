#include "helpdeskfixture.h"

#include <QtTest>

/** Opening the help desk window, and its page "Log New Call": checks, the rows written, ticket
 *  numbering and the page afterwards. */
class TestLogCall : public QObject {
    Q_OBJECT

    static QString ticketCounter() { return DbProbe::value("SELECT TicketNum FROM TicketCount"); }
    static inline const QStringList CallCombos = {"combCustIDHD", "combPriority", "combCallStatus",
                                                  "combProbType", "combTypeSpec"};

private Q_SLOTS:
    void openingFillsListsAndShowsNextNumbers()
    {
        HelpDeskFixture f;
        QCOMPARE(f.window().state().postDate, QDate::currentDate());
        QCOMPARE(f.texts({"txtTech", "txtTicket", "txtWorkOrder", "txtRMA", "txtInvNum",
                          "txtKBaseNum", "txtInvTax", "txtInvTotal"}),
                 QStringLiteral("JTT-1|7|2|2|2|3|0.00|0.00"));
        QCOMPARE(f.texts({"combPriority", "combCallStatus", "combclose"}),
                 QStringLiteral("3-Low/2-Med/1-High|Open/Closed|Open/Closed"));
        QCOMPARE(f.texts({"combCustIDHD", "combRepairTech"}),
                 QStringLiteral("AES-3   Allen Dental Associates/BEY-4   Brenda Bradley/JTH-1   "
                                "John Smith/KEN-7   Kim Chen/MIA-2   Maria Garcia/PKS-5   Prairie "
                                "State Books|ADMIN   System  Administrator/JTT-1   Jack  "
                                "Thompson/RP-3   Raj  Patel/SLM-2   Sarah  Miller"));
        QCOMPARE(f.combo("combInvPart")->itemText(0), "AV-1YR - Antivirus, one-year licence");
        QCOMPARE(f.combo("combInvPart")->count() + f.combo("combProbType")->count(), 14);
        QCOMPARE(f.list("lstOpenTickets")->count(), 2);
        for (const char* name : {"combCustIDHD", "combPriority", "combRepairTech", "combInvPart"})
            QVERIFY2(f.combo(name)->currentText().isEmpty(), name);
    }

    void missingFieldStopsInScreenOrder_data()
    {
        QTest::addColumn<int>("filled");
        QTest::addColumn<QString>("message");
        addRow("customer", 0, "Please select a Customer.");
        addRow("priority", 1, "Please select a Priority.");
        addRow("status", 2, "Please select a Call Status.");
        addRow("problem type", 3, "Please select the Problem Type.");
        addRow("type specific", 4, "Please select Type Specific.");
        addRow("quick description", 5, "Please enter a Quick Description.");
        addRow("problem", 6, "Please enter the problem in the Problem Detail box.");
        // Text put in the box otherwise than by choosing names no customer that was looked up.
        addRow("customer typed", 7, "Please select a Customer.");
    }
    void missingFieldStopsInScreenOrder()
    {
        QFETCH(int, filled);
        QFETCH(QString, message);
        HelpDeskFixture f;
        f.fillCall(filled);
        if (filled == 7)
            f.combo("combCustIDHD")->setEditText(QStringLiteral("KEN-7   Kim Chen"));
        f.click("cmdLogCall");
        QCOMPARE(f.prompts().messages(), QStringList{message});
        QCOMPARE(DbProbe::count(QStringLiteral("CallLog")), 6);
        QCOMPARE(ticketCounter() + f.box("txtTicket")->text(), QStringLiteral("67"));
    }

    void logWritesBothRowsAndClearsThePage()
    {
        HelpDeskFixture f;
        f.fillCall();
        QCOMPARE(f.texts({"lstCust"}),
                 QStringLiteral("Allen Dental Associates/230 Oak Street/Springfield, IL  62704"));
        f.area("txtCommLog")->setPlainText(QStringLiteral("Customer waiting."));
        f.click("cmdLogCall");
        QCOMPARE(DbProbe::value("SELECT CustID || Priority || CallStatus || ProbType || "
                                "TypeSpecific || Comm || Tech || OpenPostDate || "
                                "COALESCE(ClosePostDate, '-') || EmailSol FROM CallLog "
                                "WHERE TicketNum = 7"),
                 "AES-31-HighOpenHardwarePrinterCustomer waiting.JTT-1" +
                     QDate::currentDate().toString(Qt::ISODate) + "-0");
        QCOMPARE(DbProbe::column("SELECT QuickDescp || '|' || Problem || '|' || Solution || '|' "
                                 "|| SaveKB FROM ProbSol WHERE TicketNum = 7"),
                 QStringList{"Paper jam|Jams on every page.||0"});
        QCOMPARE(ticketCounter(), QStringLiteral("7"));
        QCOMPARE(f.texts({"txtTicket", "txtTech", "txtQuickDesc", "txtProb", "txtCommLog",
                          "lstCust", "combTypeSpec"}),
                 QStringLiteral("8|JTT-1|||||"));
        for (const QString& name : CallCombos)
            QVERIFY2(f.combo(qPrintable(name))->currentText().isEmpty(), qPrintable(name));
        QCOMPARE(f.combo("combCustIDHD")->count(), 6);
        QVERIFY(f.list("lstOpenTickets")
                    ->lines()
                    .contains("7\tAES-3\tAllen Dental Associates\t1-High"));

        // A call closed at once gets no close date and is not listed; the tick saves its texts
        // to the knowledge base under the ticket's number.
        f.fillCall();
        QVERIFY(choose(f.combo("combCallStatus"), QStringLiteral("Closed")));
        f.find<QCheckBox>("chkKnowBase")->setChecked(true);
        f.click("cmdLogCall");
        QCOMPARE(DbProbe::value("SELECT c.CallStatus || COALESCE(c.ClosePostDate, '-') || "
                                "p.SaveKB FROM CallLog c JOIN ProbSol p USING (TicketNum) "
                                "WHERE TicketNum = 8"),
                 QStringLiteral("Closed-1"));
        QCOMPARE(f.list("lstOpenTickets")->count(), 3);
        QCOMPARE(ticketCounter() + f.box("txtTicket")->text(), QStringLiteral("89"));
        QCOMPARE(DbProbe::value("SELECT KnowNum FROM KnowBaseCount"), QStringLiteral("2"));

        // A counter moved on by another workstation gives the next call its number.
        QVERIFY(DbProbe::exec(QStringLiteral("UPDATE TicketCount SET TicketNum = 20")));
        f.fillCall();
        f.click("cmdLogCall");
        QCOMPARE(DbProbe::count(QStringLiteral("CallLog JOIN ProbSol USING (TicketNum)"),
                                QStringLiteral("TicketNum = 21")),
                 1);
        QCOMPARE(ticketCounter() + f.box("txtTicket")->text(), QStringLiteral("2122"));
    }

    void failedLogKeepsThePageAndWritesNothing_data()
    {
        QTest::addColumn<QString>("cause");
        QTest::addColumn<QString>("message");
        addRow("texts refused",
               "CREATE TRIGGER RefuseText BEFORE INSERT ON ProbSol "
               "BEGIN SELECT RAISE(ABORT, 'disk full'); END",
               "The call could not be logged.\ndisk full");
        addRow("number taken",
               "INSERT INTO CallLog (TicketNum, CustID, CallStatus, Tech) "
               "VALUES (7, 'KEN-7', 'Open', 'RP-3')",
               "The call could not be logged.\nTicket 7 already exists.");
    }
    void failedLogKeepsThePageAndWritesNothing()
    {
        QFETCH(QString, cause);
        QFETCH(QString, message);
        HelpDeskFixture f;
        QVERIFY(DbProbe::exec(cause));
        f.fillCall();
        f.click("cmdLogCall");
        QCOMPARE(f.prompts().messages(), QStringList{message});
        QCOMPARE(DbProbe::count(QStringLiteral("CallLog"), QStringLiteral("CustID = 'AES-3'")), 1);
        QCOMPARE(ticketCounter(), QStringLiteral("6"));
        QCOMPARE(f.combo("combCustIDHD")->currentText(), HelpDeskFixture::CallCustomer);
        QCOMPARE(f.texts({"txtTicket", "txtQuickDesc", "txtProb"}),
                 QStringLiteral("7|Paper jam|Jams on every page."));
    }

    void onlyExactHardwareChoosesHardwareTypes()
    {
        HelpDeskFixture f;
        QVERIFY(DbProbe::exec(QStringLiteral("INSERT INTO ProblemType VALUES ('HARDWARE')")));
        QVERIFY(choose(f.combo("combProbType"), QStringLiteral("Hardware")));
        QCOMPARE(f.texts({"combTypeSpec"}), "Desktop/Laptop/Monitor/Printer/Router/Hard Drive");
        QVERIFY(f.combo("combTypeSpec")->currentText().isEmpty());
        f.click("cmdClearCall"); // refills the problem types with the new one
        QVERIFY(choose(f.combo("combProbType"), QStringLiteral("HARDWARE")));
        QCOMPARE(f.texts({"combTypeSpec"}),
                 QStringLiteral("Windows/Office/E-mail Client/Antivirus/Browser/Accounting"));
    }
};

QTEST_MAIN(TestLogCall)
#include "tst_logcall.moc"
