#include "helpdeskfixture.h"

#include <QtTest>

/** Opening the help desk window, and its page "Log New Call": checks, the rows written, ticket
 *  numbering and the page afterwards. */
class TestLogCall : public QObject {
    Q_OBJECT

    static QString ticketCounter() { return DbProbe::value("SELECT TicketNum FROM TicketCount"); }

private Q_SLOTS:
    void openingFillsListsAndShowsNextNumbers()
    {
        HelpDeskFixture f;
        QCOMPARE(f.window().state().postDate, QDate::currentDate());
        QCOMPARE(
            f.texts({"txtTech", "txtTicket", "txtWorkOrder", "txtRMA", "txtInvNum", "txtKBaseNum",
                     "txtInvTax", "txtInvTotal", "combPriority", "combCallStatus", "combclose"}),
            "JTT-1|7|2|2|2|3|0.00|0.00|3-Low/2-Med/1-High|Open/Closed|Open/Closed");
        // Active customers, parts and employees only, nothing chosen.
        QString shown;
        for (const char* name : {"combCustIDHD", "combInvPart", "combRepairTech", "combProbType"})
            shown += QString::number(f.combo(name)->count()) + f.combo(name)->currentText() + ' ';
        QCOMPARE(shown, "6 7 4 7 ");
        QCOMPARE(f.list("lstOpenTickets")->count(), 2);
    }

    void missingFieldStopsInScreenOrder()
    {
        HelpDeskFixture f;
        for (int filled = 0; filled <= 7; ++filled) {
            f.fillCall(filled);
            // Text put in the box otherwise than by choosing names no customer looked up.
            if (filled == 7)
                f.combo("combCustIDHD")->setEditText(QStringLiteral("KEN-7   Kim Chen"));
            f.click("cmdLogCall");
        }
        QCOMPARE(f.prompts().messages(),
                 (QStringList{"Please select a Customer.", "Please select a Priority.",
                              "Please select a Call Status.", "Please select the Problem Type.",
                              "Please select Type Specific.", "Please enter a Quick Description.",
                              "Please enter the problem in the Problem Detail box.",
                              "Please select a Customer."}));
        QCOMPARE(DbProbe::count(QStringLiteral("CallLog")), 6);
        QCOMPARE(ticketCounter() + f.box("txtTicket")->text(), "67");
    }

    void logWritesBothRowsAndClearsThePage()
    {
        HelpDeskFixture f;
        f.fillCall();
        QCOMPARE(f.texts({"lstCust"}),
                 "Allen Dental Associates/230 Oak Street/Springfield, IL  62704");
        f.type("txtCommLog", "Customer waiting.");
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
        QCOMPARE(ticketCounter(), "7");
        QCOMPARE(f.texts({"txtTicket", "txtTech", "txtQuickDesc", "txtProb", "txtCommLog",
                          "lstCust", "combTypeSpec"}),
                 "8|JTT-1|||||");
        for (const char* name : {"combCustIDHD", "combPriority", "combCallStatus", "combProbType"})
            QVERIFY2(f.combo(name)->currentText().isEmpty(), name);
        QCOMPARE(f.list("lstOpenTickets")->line(1), "7\tAES-3\tAllen Dental Associates\t1-High");

        // A call closed at once gets no close date and is not listed; the tick saves its texts
        // to the knowledge base under the ticket's number.
        f.fillCall();
        f.pick("combCallStatus", "Closed");
        f.find<QCheckBox>("chkKnowBase")->setChecked(true);
        f.click("cmdLogCall");
        QCOMPARE(DbProbe::value("SELECT c.CallStatus || COALESCE(c.ClosePostDate, '-') || "
                                "p.SaveKB FROM CallLog c JOIN ProbSol p USING (TicketNum) "
                                "WHERE TicketNum = 8"),
                 "Closed-1");
        QCOMPARE(f.list("lstOpenTickets")->count(), 3);
        QCOMPARE(ticketCounter() + f.box("txtTicket")->text() +
                     DbProbe::value("SELECT KnowNum FROM KnowBaseCount"),
                 "892");
    }
};

QTEST_MAIN(TestLogCall)
#include "tst_logcall.moc"
