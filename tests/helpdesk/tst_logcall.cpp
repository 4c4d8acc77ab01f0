#include "helpdeskfixture.h"

#include <QtTest>

using WidgetTesting::choose;

/** Page "Log New Call": checks, the rows written, ticket numbering and the page afterwards. */
class TestLogCall : public QObject {
    Q_OBJECT

    static constexpr const char* Customer = HelpDeskFixture::CallCustomer;

    static void fillCall(HelpDeskFixture& f, int fields) { f.fillCall(fields); }

    static QString callCount()
    {
        return HelpDeskFixture::value(QStringLiteral("SELECT COUNT(*) FROM CallLog"));
    }
    static QString ticketCounter()
    {
        return HelpDeskFixture::value(QStringLiteral("SELECT TicketNum FROM TicketCount"));
    }

private Q_SLOTS:
    void missingFieldStopsInScreenOrder_data()
    {
        QTest::addColumn<int>("filled");
        QTest::addColumn<QString>("message");
        QTest::newRow("customer") << 0 << "Please select a Customer.";
        QTest::newRow("priority") << 1 << "Please select a Priority.";
        QTest::newRow("status") << 2 << "Please select a Call Status.";
        QTest::newRow("problem type") << 3 << "Please select the Problem Type.";
        QTest::newRow("type specific") << 4 << "Please select Type Specific.";
        QTest::newRow("quick description") << 5 << "Please enter a Quick Description.";
        QTest::newRow("problem") << 6 << "Please enter the problem in the Problem Detail box.";
    }

    void missingFieldStopsInScreenOrder()
    {
        QFETCH(int, filled);
        QFETCH(QString, message);
        HelpDeskFixture f;
        fillCall(f, filled);
        f.click("cmdLogCall");
        QCOMPARE(f.prompts().messages(), QStringList{message});
        QCOMPARE(callCount(), QStringLiteral("6"));
        QCOMPARE(ticketCounter(), QStringLiteral("6"));
        QCOMPARE(f.box("txtTicket")->text(), QStringLiteral("7"));
    }

    void logWritesBothRowsAndClearsThePage()
    {
        HelpDeskFixture f;
        QCOMPARE(f.box("txtTicket")->text(), QStringLiteral("7"));
        QCOMPARE(f.box("txtTech")->text(), QStringLiteral("JTT-1"));
        fillCall(f, 7);
        QCOMPARE(
            HelpDeskFixture::items(f.find<QListWidget>("lstCust")),
            (QStringList{"Allen Dental Associates", "230 Oak Street", "Springfield, IL  62704"}));
        f.area("txtCommLog")->setPlainText(QStringLiteral("Customer waiting."));
        f.click("cmdLogCall");
        QVERIFY(f.prompts().messages().isEmpty());

        Database db;
        Query call = db.query(QStringLiteral("SELECT CustID, Priority, CallStatus, ProbType, "
                                             "TypeSpecific, Comm, Tech, OpenPostDate, "
                                             "ClosePostDate, EmailSol FROM CallLog "
                                             "WHERE TicketNum = 7"));
        QVERIFY(call.next());
        QCOMPARE(call.text(0), QStringLiteral("AES-3"));
        QCOMPARE(call.text(1), QStringLiteral("1-High"));
        QCOMPARE(call.text(2), QStringLiteral("Open"));
        QCOMPARE(call.text(3), QStringLiteral("Hardware"));
        QCOMPARE(call.text(4), QStringLiteral("Printer"));
        QCOMPARE(call.text(5), QStringLiteral("Customer waiting."));
        QCOMPARE(call.text(6), QStringLiteral("JTT-1"));
        QCOMPARE(call.date(7), QDate::currentDate());
        QVERIFY(call.isNull(8));
        QCOMPARE(call.integer(9), 0);
        Query text = db.query(QStringLiteral(
            "SELECT QuickDescp, Problem, Solution, SaveKB FROM ProbSol WHERE TicketNum = 7"));
        QVERIFY(text.next());
        QCOMPARE(text.text(0), QStringLiteral("Paper jam"));
        QCOMPARE(text.text(1), QStringLiteral("Jams on every page."));
        QVERIFY(!text.isNull(2));
        QCOMPARE(text.text(2), QString());
        QCOMPARE(text.integer(3), 0);
        QVERIFY(!text.next());

        QCOMPARE(ticketCounter(), QStringLiteral("7"));
        QCOMPARE(f.box("txtTicket")->text(), QStringLiteral("8"));
        QCOMPARE(f.box("txtTech")->text(), QStringLiteral("JTT-1"));
        for (const char* name :
             {"combCustIDHD", "combPriority", "combCallStatus", "combProbType", "combTypeSpec"})
            QVERIFY2(f.combo(name)->currentText().isEmpty(), name);
        QCOMPARE(f.combo("combPriority")->count(), 3);
        QCOMPARE(f.combo("combTypeSpec")->count(), 0);
        QCOMPARE(f.combo("combCustIDHD")->count(), 6);
        QVERIFY(f.box("txtQuickDesc")->text().isEmpty());
        QVERIFY(f.area("txtProb")->toPlainText().isEmpty());
        QVERIFY(f.area("txtCommLog")->toPlainText().isEmpty());
        QCOMPARE(f.find<QListWidget>("lstCust")->count(), 0);
        QVERIFY(f.find<TabbedList>("lstOpenTickets")
                    ->lines()
                    .contains(QStringLiteral("7\tAES-3\tAllen Dental Associates\t1-High")));

        // The next call gets the following number; a cleared page asks for a customer again.
        f.click("cmdLogCall");
        QCOMPARE(f.prompts().lastMessage(), QStringLiteral("Please select a Customer."));
        fillCall(f, 7);
        f.find<QCheckBox>("chkKnowBase")->setChecked(true);
        f.click("cmdLogCall");
        QCOMPARE(HelpDeskFixture::value(QStringLiteral("SELECT SaveKB FROM ProbSol "
                                                       "WHERE TicketNum = 8")),
                 QStringLiteral("1"));
        QCOMPARE(ticketCounter(), QStringLiteral("8"));
        QCOMPARE(f.box("txtTicket")->text(), QStringLiteral("9"));
        QCOMPARE(HelpDeskFixture::value(QStringLiteral("SELECT KnowNum FROM KnowBaseCount")),
                 QStringLiteral("2"));
    }

    void counterAdvancedElsewhereIsRespected()
    {
        HelpDeskFixture f;
        QCOMPARE(f.box("txtTicket")->text(), QStringLiteral("7"));
        QVERIFY(HelpDeskFixture::exec(QStringLiteral("UPDATE TicketCount SET TicketNum = 20")));
        fillCall(f, 7);
        f.click("cmdLogCall");
        QCOMPARE(HelpDeskFixture::value(QStringLiteral("SELECT CustID FROM CallLog "
                                                       "WHERE TicketNum = 21")),
                 QStringLiteral("AES-3"));
        QCOMPARE(HelpDeskFixture::value(QStringLiteral("SELECT COUNT(*) FROM ProbSol "
                                                       "WHERE TicketNum = 21")),
                 QStringLiteral("1"));
        QCOMPARE(ticketCounter(), QStringLiteral("21"));
        QCOMPARE(f.box("txtTicket")->text(), QStringLiteral("22"));
    }

    void closedAtLogTimeWritesNoCloseDate()
    {
        HelpDeskFixture f;
        fillCall(f, 7);
        QVERIFY(choose(f.combo("combCallStatus"), QStringLiteral("Closed")));
        f.click("cmdLogCall");
        QCOMPARE(HelpDeskFixture::value(QStringLiteral("SELECT CallStatus FROM CallLog "
                                                       "WHERE TicketNum = 7")),
                 QStringLiteral("Closed"));
        QCOMPARE(HelpDeskFixture::value(QStringLiteral("SELECT ClosePostDate FROM CallLog "
                                                       "WHERE TicketNum = 7")),
                 QStringLiteral("<null>"));
        QCOMPARE(f.find<TabbedList>("lstOpenTickets")->count(), 2);
    }

    void failedLogKeepsThePageAndWritesNothing()
    {
        HelpDeskFixture f;
        QVERIFY(HelpDeskFixture::exec(
            QStringLiteral("CREATE TRIGGER RefuseText BEFORE INSERT ON ProbSol "
                           "BEGIN SELECT RAISE(ABORT, 'disk full'); END")));
        fillCall(f, 7);
        f.click("cmdLogCall");
        QCOMPARE(f.prompts().messages().size(), 1);
        QVERIFY(
            f.prompts().lastMessage().startsWith(QStringLiteral("The call could not be logged.")));
        QCOMPARE(callCount(), QStringLiteral("6"));
        QCOMPARE(ticketCounter(), QStringLiteral("6"));
        QCOMPARE(f.box("txtTicket")->text(), QStringLiteral("7"));
        QCOMPARE(f.combo("combCustIDHD")->currentText(), QString::fromLatin1(Customer));
        QCOMPARE(f.box("txtQuickDesc")->text(), QStringLiteral("Paper jam"));
        QCOMPARE(f.area("txtProb")->toPlainText(), QStringLiteral("Jams on every page."));

        // Once the cause is gone the same page logs under the same number.
        QVERIFY(HelpDeskFixture::exec(QStringLiteral("DROP TRIGGER RefuseText")));
        f.click("cmdLogCall");
        QCOMPARE(f.prompts().messages().size(), 1);
        QCOMPARE(ticketCounter(), QStringLiteral("7"));
    }

    void numberTakenByAnotherCallIsRefused()
    {
        HelpDeskFixture f;
        QVERIFY(HelpDeskFixture::exec(
            QStringLiteral("INSERT INTO CallLog (TicketNum, CustID, CallStatus, Tech) "
                           "VALUES (7, 'KEN-7', 'Open', 'RP-3')")));
        fillCall(f, 7);
        f.click("cmdLogCall");
        QCOMPARE(f.prompts().lastMessage(),
                 QStringLiteral("The call could not be logged.\nTicket 7 already exists."));
        QCOMPARE(HelpDeskFixture::value(QStringLiteral("SELECT CustID FROM CallLog "
                                                       "WHERE TicketNum = 7")),
                 QStringLiteral("KEN-7"));
        QCOMPARE(ticketCounter(), QStringLiteral("6"));
    }

    void onlyExactHardwareChoosesHardwareTypes()
    {
        HelpDeskFixture f;
        QVERIFY(
            HelpDeskFixture::exec(QStringLiteral("INSERT INTO ProblemType VALUES ('HARDWARE')")));
        QComboBox* types = f.combo("combProbType");
        QComboBox* specific = f.combo("combTypeSpec");
        const QStringList hardware = {"Desktop", "Laptop", "Monitor",
                                      "Printer", "Router", "Hard Drive"};
        const QStringList software = {"Windows",   "Office",  "E-mail Client",
                                      "Antivirus", "Browser", "Accounting"};
        QVERIFY(choose(types, QStringLiteral("Hardware")));
        QCOMPARE(HelpDeskFixture::items(specific), hardware);
        QVERIFY(specific->currentText().isEmpty());
        QVERIFY(choose(types, QStringLiteral("Network")));
        QCOMPARE(HelpDeskFixture::items(specific), software);

        f.click("cmdClearCall"); // refills the problem types with the new one
        QVERIFY(choose(types, QStringLiteral("HARDWARE")));
        QCOMPARE(HelpDeskFixture::items(specific), software);
    }

    void customerComboCompletesAndStoresOnlyTheId()
    {
        HelpDeskFixture f;
        QVERIFY(WidgetTesting::showActive(&f.window()));
        QComboBox* customers = f.combo("combCustIDHD");
        customers->setFocus();
        QTest::keyClick(customers, Qt::Key_M);
        QCOMPARE(customers->currentText(), QStringLiteral("MIA-2   Maria Garcia"));
        QCOMPARE(customers->lineEdit()->selectedText(), QStringLiteral("IA-2   Maria Garcia"));
        QCOMPARE(HelpDeskFixture::items(f.find<QListWidget>("lstCust")),
                 (QStringList{"Maria Garcia", "77 Lakeview Drive", "Chatham, IL  62629"}));
        QTest::keyClick(customers, Qt::Key_Z);
        QTest::keyClick(customers, Qt::Key_Backspace);
        QCOMPARE(customers->currentText(), QStringLiteral("MIA-2   Maria Garcia"));
        QVERIFY(!HelpDeskFixture::items(customers).contains(QStringLiteral("DSS-6   David Ross")));

        fillCall(f, 7);
        QTest::keyClick(customers, Qt::Key_Home);
        QTest::keyClicks(customers, QStringLiteral("ke"));
        QCOMPARE(customers->currentText(), QStringLiteral("KEN-7   Kim Chen"));
        f.click("cmdLogCall");
        QCOMPARE(HelpDeskFixture::value(QStringLiteral("SELECT CustID FROM CallLog "
                                                       "WHERE TicketNum = 7")),
                 QStringLiteral("KEN-7"));
    }

    void customerTextNotChosenFromTheListIsRefused()
    {
        HelpDeskFixture f;
        fillCall(f, 7);
        f.combo("combCustIDHD")->setEditText(QStringLiteral("KEN-7   Kim Chen"));
        f.click("cmdLogCall");
        QCOMPARE(f.prompts().messages(), QStringList{"Please select a Customer."});
        QCOMPARE(callCount(), QStringLiteral("6"));
    }
};

QTEST_MAIN(TestLogCall)
#include "tst_logcall.moc"
