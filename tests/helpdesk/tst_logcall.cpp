#include "helpdeskfixture.h"

#include <QtTest>

/** Page "Log New Call": checks, the rows written, ticket numbering and the page afterwards. */
class TestLogCall : public QObject {
    Q_OBJECT

    static QString ticketCounter() { return DbProbe::value("SELECT TicketNum FROM TicketCount"); }

private Q_SLOTS:
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
        QCOMPARE(
            HelpDeskFixture::items(f.find<QListWidget>("lstCust")),
            (QStringList{"Allen Dental Associates", "230 Oak Street", "Springfield, IL  62704"}));
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
        QCOMPARE(f.texts({"txtTicket", "txtTech", "txtQuickDesc", "txtProb", "txtCommLog"}),
                 QStringLiteral("8|JTT-1|||"));
        for (const char* name :
             {"combCustIDHD", "combPriority", "combCallStatus", "combProbType", "combTypeSpec"})
            QVERIFY2(f.combo(name)->currentText().isEmpty(), name);
        QCOMPARE(f.combo("combCustIDHD")->count(), 6);
        QCOMPARE(f.combo("combTypeSpec")->count() + f.find<QListWidget>("lstCust")->count(), 0);
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
                                "p.SaveKB FROM CallLog c JOIN ProbSol p ON p.TicketNum = "
                                "c.TicketNum WHERE c.TicketNum = 8"),
                 QStringLiteral("Closed-1"));
        QCOMPARE(f.list("lstOpenTickets")->count(), 3);
        QCOMPARE(ticketCounter() + f.box("txtTicket")->text(), QStringLiteral("89"));
        QCOMPARE(DbProbe::value("SELECT KnowNum FROM KnowBaseCount"), QStringLiteral("2"));

        // A counter moved on by another workstation gives the next call its number.
        QVERIFY(DbProbe::exec(QStringLiteral("UPDATE TicketCount SET TicketNum = 20")));
        f.fillCall();
        f.click("cmdLogCall");
        QCOMPARE(DbProbe::count(QStringLiteral("CallLog c JOIN ProbSol p USING (TicketNum)"),
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
        QComboBox* types = f.combo("combProbType");
        QComboBox* specific = f.combo("combTypeSpec");
        QVERIFY(choose(types, QStringLiteral("Hardware")));
        QCOMPARE(HelpDeskFixture::items(specific).join(','),
                 QStringLiteral("Desktop,Laptop,Monitor,Printer,Router,Hard Drive"));
        QVERIFY(specific->currentText().isEmpty());
        f.click("cmdClearCall"); // refills the problem types with the new one
        QVERIFY(choose(types, QStringLiteral("HARDWARE")));
        QCOMPARE(HelpDeskFixture::items(specific).join(','),
                 QStringLiteral("Windows,Office,E-mail Client,Antivirus,Browser,Accounting"));
    }
};

QTEST_MAIN(TestLogCall)
#include "tst_logcall.moc"
