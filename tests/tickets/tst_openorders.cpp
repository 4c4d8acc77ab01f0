#include "widgets/tabbedlist.h"
#include "data/database.h"
#include "support/scriptedprompter.h"
#include "support/testfolder.h"
#include "support/ticketrows.h"
#include "support/widgettesting.h"
#include "tickets/openorders.h"
#include "tickets/orddetail.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QtTest>
#include <numeric>

using TicketRows::leadingNumbers;

/** The ticket log: counts, ticket lines, the technician page and the detail pop-up. */
class TestOpenOrders : public QObject {
    Q_OBJECT

    static QStringList counts(const OpenOrders& window)
    {
        return {window.Label6->text(), window.txtHigh->text(), window.txtMed->text(),
                window.txtLow->text()};
    }

    static QStringList fields(const QString& line) { return line.split(QLatin1Char('\t')); }

    static void clickLine(TabbedList* list, int row)
    {
        const QRect rect = list->visualRect(list->model()->index(row, 0));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
    }

private Q_SLOTS:
    void longLogFillsInPagesWithoutLosingOrRepeatingLines()
    {
        TestFolder folder;
        ScriptedPrompter prompts;
        {
            Database db;
            Transaction transaction(db);
            for (int n = 1; n <= 45000; ++n)
                QVERIFY(db.exec(QStringLiteral("INSERT INTO CallLog (TicketNum, CustID, Priority, "
                                               "CallStatus, Tech) VALUES (?, 'X-1', '2-Med', ?, "
                                               "'JTT-1')"),
                                n, n % 3 == 0 ? "Open" : "Closed"));
            QVERIFY(transaction.commit());
        }
        OpenOrders window;
        // The first page shows at once; the rest wait until those lines have been painted.
        QCOMPARE(window.lstOpenOrders->count(), 1000);
        QTest::qWait(20);
        QCOMPARE(window.lstOpenOrders->count(), 1000);
        QVERIFY(WidgetTesting::showActive(&window));
        QTRY_COMPARE(window.lstOpenOrders->count(), 45000);
        QList<int> expected(45000);
        std::iota(expected.begin(), expected.end(), 1);
        QCOMPARE(TicketRows::leadingNumbers(window.lstOpenOrders->lines()), expected);

        // A new fill while pages are still coming drops the pages of the earlier one.
        window.chkOpenOnly->click();
        window.chkOpenOnly->click();
        window.chkOpenOnly->click();
        QTRY_COMPARE(window.lstOpenOrders->count(), 15000);
        QTest::qWait(50);
        QCOMPARE(window.lstOpenOrders->count(), 15000);
        QCOMPARE(TicketRows::leadingNumbers(window.lstOpenOrders->lines()).first(), 3);
    }

    void countsAndListsOfTheDemoShop()
    {
        TestFolder folder(TestFolder::Content::Demo);
        ScriptedPrompter prompts;
        OpenOrders window;
        QCOMPARE(window.windowTitle(), QStringLiteral("Ticket Logs"));
        QCOMPARE(counts(window), (QStringList{"4", "1", "2", "1"}));
        QCOMPARE(leadingNumbers(window.lstOpenOrders->lines()), (QList<int>{1, 2, 3, 4, 5, 6}));
        const QStringList first = fields(window.lstOpenOrders->line(0));
        QCOMPARE(first.size(), 7);
        QCOMPARE(first[1], QStringLiteral("JTH-1"));
        QVERIFY(!first[2].isEmpty());
        QCOMPARE(first[5], QStringLiteral("JTT-1"));
        QCOMPARE(first[6], QStringLiteral("2"));
        QCOMPARE(window.combTech->count(), 4);
        QCOMPARE(window.combTech->itemText(1), QStringLiteral("JTT-1 - Jack   Thompson"));
        QVERIFY(window.combTech->currentText().isEmpty());
        QCOMPARE(window.lstTechTickets->count(), 0);
        QVERIFY(prompts.shown().isEmpty());
    }

    void noOpenTicketsCountZero()
    {
        TestFolder empty;
        OpenOrders fresh;
        QCOMPARE(counts(fresh), (QStringList{"0", "0", "0", "0"}));
        QCOMPARE(fresh.lstOpenOrders->count(), 0);

        TestFolder folder(TestFolder::Content::Demo);
        QVERIFY(TicketRows::exec("UPDATE CallLog SET CallStatus = 'Closed'"));
        OpenOrders allClosed;
        QCOMPARE(counts(allClosed), (QStringList{"0", "0", "0", "0"}));
        QCOMPARE(allClosed.lstOpenOrders->count(), 6);
    }

    void countsIgnoreCaseAndOddPriorities()
    {
        TestFolder folder;
        QVERIFY(TicketRows::add({.number = 1, .priority = "1-high", .status = "OPEN"}));
        QVERIFY(TicketRows::add({.number = 2, .priority = "Urgent"}));
        QVERIFY(TicketRows::add({.number = 3, .priority = "3-Low", .status = "Closed"}));
        OpenOrders window;
        QCOMPARE(counts(window), (QStringList{"2", "1", "0", "0"}));
    }

    void ticketLines()
    {
        TestFolder folder(TestFolder::Content::Demo);
        QVERIFY(TicketRows::add({.number = 7,
                                 .custId = "GONE-9",
                                 .status = "Closed",
                                 .tech = "RP-3",
                                 .opened = QDate(2024, 1, 30),
                                 .closed = QDate(2024, 3, 1)}));
        QVERIFY(TicketRows::add({.number = 8,
                                 .custId = "it's",
                                 .status = "Closed",
                                 .opened = QDate(2024, 12, 31),
                                 .closed = QDate(2024, 12, 31)}));
        QVERIFY(TicketRows::add({.number = 9, .custId = "AES-3", .opened = QDate(2024, 5, 6)}));
        QVERIFY(TicketRows::add({.number = 10, .custId = "AES-3", .opened = QDate()}));
        QVERIFY(TicketRows::exec("DELETE FROM Customer WHERE CustID = 'JTH-1'"));
        OpenOrders window;
        QCOMPARE(window.lstOpenOrders->count(), 10);
        // A gone customer leaves the name empty; the leap day counts; open tickets have no
        // close date and no days.
        QCOMPARE(fields(window.lstOpenOrders->line(0))[2], QString());
        QCOMPARE(fields(window.lstOpenOrders->line(6)),
                 (QStringList{"7", "GONE-9", "", "01/30/24", "03/01/24", "RP-3", "31"}));
        QCOMPARE(fields(window.lstOpenOrders->line(7))[6], QStringLiteral("0"));
        const QStringList open = fields(window.lstOpenOrders->line(8));
        QCOMPARE(open.mid(3), (QStringList{"05/06/24", "", "JTT-1", ""}));
        QCOMPARE(fields(window.lstOpenOrders->line(9)).mid(3), (QStringList{"", "", "JTT-1", ""}));
    }

    void openOnlyFilterKeepsTheCounts()
    {
        TestFolder folder(TestFolder::Content::Demo);
        OpenOrders window;
        QVERIFY(WidgetTesting::showActive(&window));
        QVERIFY(TicketRows::exec("UPDATE CallLog SET CallStatus = 'Closed' WHERE TicketNum = 2"));
        window.chkOpenOnly->click();
        QCOMPARE(leadingNumbers(window.lstOpenOrders->lines()), (QList<int>{3, 4, 6}));
        QCOMPARE(counts(window), (QStringList{"4", "1", "2", "1"}));
        window.chkOpenOnly->click();
        QCOMPARE(window.lstOpenOrders->count(), 6);
    }

    void technicianPage()
    {
        TestFolder folder(TestFolder::Content::Demo);
        QVERIFY(TicketRows::add({.number = 7, .priority = "1-High"}));
        OpenOrders window;
        QVERIFY(WidgetTesting::showActive(&window));
        window.SSTab1->setCurrentIndex(1);

        // Typing completes to the technician and shows all tickets by priority, High first.
        window.combTech->setFocus();
        QTest::keyClicks(window.combTech, QStringLiteral("jt"));
        QCOMPARE(window.combTech->currentText(), QStringLiteral("JTT-1 - Jack   Thompson"));
        QCOMPARE(window.Label20->text(), QStringLiteral("Jack Thompson"));
        QCOMPARE(leadingNumbers(window.lstTechTickets->lines()), (QList<int>{2, 7, 1, 3}));
        QCOMPARE(fields(window.lstTechTickets->line(0)),
                 (QStringList{"2", "1-High", "Open", "Hardware", "Desktop"}));

        // Open tickets alone come by number; the name stays.
        window.chkTechOpenOnly->click();
        QCOMPARE(leadingNumbers(window.lstTechTickets->lines()), (QList<int>{2, 3, 7}));
        QCOMPARE(window.Label20->text(), QStringLiteral("Jack Thompson"));

        // Choosing a technician shows every ticket even with the box ticked.
        QVERIFY(WidgetTesting::choose(window.combTech, "RP-3 - Raj   Patel"));
        QVERIFY(window.chkTechOpenOnly->isChecked());
        QCOMPARE(leadingNumbers(window.lstTechTickets->lines()), (QList<int>{5, 4}));
        QCOMPARE(window.Label20->text(), QStringLiteral("Raj Patel"));
        window.chkTechOpenOnly->click();
        QCOMPARE(leadingNumbers(window.lstTechTickets->lines()), (QList<int>{5, 4}));
        window.chkTechOpenOnly->click();
        QCOMPARE(leadingNumbers(window.lstTechTickets->lines()), (QList<int>{4}));

        window.cmdClear->click();
        QVERIFY(window.combTech->currentText().isEmpty());
        QVERIFY(!window.chkTechOpenOnly->isChecked());
        QCOMPARE(window.lstTechTickets->count(), 0);
        QVERIFY(window.Label20->text().isEmpty());
    }

    void detailPopUp()
    {
        TestFolder folder(TestFolder::Content::Demo);
        QVERIFY(TicketRows::exec("DELETE FROM ProbSol WHERE TicketNum = 3"));
        OpenOrders window;
        QVERIFY(WidgetTesting::showActive(&window));
        window.SSTab1->setCurrentIndex(1);
        QVERIFY(WidgetTesting::choose(window.combTech, "JTT-1 - Jack   Thompson"));

        clickLine(window.lstTechTickets, 0);
        QCOMPARE(window.SelectedTicketNum, 2);
        QPointer<OrdDetail> detail = window.detailWindow();
        QVERIFY(detail && detail->isVisible());
        QVERIFY(detail->isWindow());
        QVERIFY(detail->windowFlags() & Qt::WindowStaysOnTopHint);
        QCOMPARE(detail->windowTitle(), QStringLiteral("Order Details"));
        QCOMPARE(detail->txtTech->text(), QStringLiteral("JTT-1 - Jack   Thompson"));
        QCOMPARE(detail->txtTicknum->text(), QStringLiteral("2"));
        QCOMPARE(detail->txtProbType->text(), QStringLiteral("PC does not power on"));
        QCOMPARE(detail->txtProbOT->toPlainText(),
                 QStringLiteral("Reception computer dead, no lights or fans."));
        QVERIFY(detail->txtSolOT->toPlainText().isEmpty());
        QCOMPARE(detail->txtComm->toPlainText(), QStringLiteral("Front desk PC, urgent."));

        // Another ticket shows in the same pop-up; without a problem record only the call's
        // own fields are filled.
        QVERIFY(TicketRows::exec("UPDATE CallLog SET Comm = 'Waiting on parts' "
                                 "WHERE TicketNum = 3"));
        clickLine(window.lstTechTickets, 2);
        QCOMPARE(window.SelectedTicketNum, 3);
        QCOMPARE(window.detailWindow(), detail.data());
        QCOMPARE(detail->txtTicknum->text(), QStringLiteral("3"));
        QVERIFY(detail->txtProbType->text().isEmpty());
        QVERIFY(detail->txtProbOT->toPlainText().isEmpty());
        QCOMPARE(detail->txtComm->toPlainText(), QStringLiteral("Waiting on parts"));

        detail->close();
        QTRY_VERIFY(!detail);
        clickLine(window.lstTechTickets, 1);
        QVERIFY(window.detailWindow());
        QCOMPARE(window.detailWindow()->txtTicknum->text(), QStringLiteral("1"));
    }
};

QTEST_MAIN(TestOpenOrders)
#include "tst_openorders.moc"
