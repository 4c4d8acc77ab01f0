#include "app/mdihelpdesk.h"
#include "data/csvfile.h"
#include "data/database.h"
#include "support/dbprobe.h"
#include "support/scriptedprompter.h"
#include "support/testfolder.h"
#include "support/ticketrows.h"
#include "support/widgettesting.h"
#include "tickets/assignment.h"
#include "tickets/openorders.h"
#include "tickets/orddetail.h"
#include "tickets/ticketlogstore.h"
#include "widgets/tabbedlist.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QtTest>

using TicketRows::leadingNumbers;
using TicketRows::openTicketsOf;
using WidgetTesting::choose;

namespace {

QStringList counts(const OpenOrders& window)
{
    return {window.Label6->text(), window.txtHigh->text(), window.txtMed->text(),
            window.txtLow->text()};
}

QStringList fields(const QString& line)
{
    return line.split(QLatin1Char('\t'));
}

void clickLine(TabbedList* list, int row)
{
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualRect(list->model()->index(row, 0)).center());
}

// Tickets 1 to `count`, every third open, for customer A-1 up to ticket 500 and B-2 after it, the
// IDs in lower case.
bool addTickets(int count)
{
    const Status added = Database::write([&](Database& db) {
        Status status = db.exec(QStringLiteral("INSERT INTO Customer (CustID, CustName) "
                                               "VALUES ('A-1', 'Ann'), ('B-2', 'Bob')"));
        for (int n = 1; status && n <= count; ++n)
            status = db.exec(QStringLiteral("INSERT INTO CallLog (TicketNum, CustID, CallStatus) "
                                            "VALUES (?, ?, ?)"),
                             n, n <= 500 ? "a-1" : "b-2", n % 3 ? "Closed" : "open");
        return status;
    });
    return added.isOk();
}

const QString NoTicketChosen = QStringLiteral("Please select a ticket to reassign.");

QString ticket(const char* column, int number)
{
    return DbProbe::value(QStringLiteral("SELECT %1 FROM CallLog WHERE TicketNum = ?").arg(column),
                          number);
}

QStringList items(const QComboBox* combo)
{
    QStringList texts;
    for (int i = 0; i < combo->count(); ++i)
        texts << combo->itemText(i);
    return texts;
}

bool failWrites(bool fail)
{
    const QString when = QStringLiteral("UPDATE ON CallLog");
    return fail ? TestFolder::refuseWrites(when, QStringLiteral("disk is full"))
                : TestFolder::allowWrites(when);
}

} // namespace

/** The ticket log (counts, ticket lines read a page at a time, the technician page and the
 *  detail pop-up), and handing tickets to another technician or priority. */
class TestTickets : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void longLogFillsInPagesWithoutLosingOrRepeatingLines()
    {
        TestFolder folder;
        QVERIFY(addTickets(12000));
        OpenOrders window;
        // The first page shows at once; the rest wait until those lines have been painted.
        QCOMPARE(window.lstOpenOrders->count(), 1000);
        QTest::qWait(20);
        QCOMPARE(window.lstOpenOrders->count(), 1000);

        // A copy saved while lines still wait holds every line, and nothing is added twice.
        ScriptedPrompter prompts;
        prompts.answerFile(folder.filePath(QStringLiteral("log.csv")));
        window.lstOpenOrders->saveAsCsv();
        QFile saved(folder.filePath(QStringLiteral("log.csv")));
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QCOMPARE(CsvFile::parse(QString::fromUtf8(saved.readAll())).size(), 12001u);
        QVERIFY(WidgetTesting::showActive(&window));
        QTest::qWait(50);
        QCOMPARE(window.lstOpenOrders->count(), 12000);
        QCOMPARE(leadingNumbers(window.lstOpenOrders->lines()).last(), 12000);

        // A new fill while pages are still coming drops the pages of the earlier one.
        for (int i = 0; i < 3; ++i)
            window.chkOpenOnly->click();
        QTRY_COMPARE(window.lstOpenOrders->count(), 4000);
        QTest::qWait(50);
        QCOMPARE(window.lstOpenOrders->count(), 4000);
        QCOMPARE(leadingNumbers(window.lstOpenOrders->lines()).first(), 3);
    }

    void pagesFollowOnWithTheirNames()
    {
        TestFolder folder;
        QVERIFY(addTickets(6000));
        // A small page reads its own customers' names, a large one everybody's.
        TicketLogStore::TicketPages pages(false);
        QStringList names;
        QList<int> numbers;
        for (int limit : {1000, 3000, -1, 1000}) {
            if (limit < 0) {
                // A customer and a ticket added meanwhile are listed with the customer's name.
                QVERIFY(DbProbe::exec(QStringLiteral("INSERT INTO Customer (CustID, CustName) "
                                                     "VALUES ('C-3', 'Cy')")));
                QVERIFY(TicketRows::add({.number = 7000, .custId = "c-3"}));
            }
            const auto lines = pages.next(limit);
            QVERIFY(lines);
            numbers << leadingNumbers(*lines);
            for (const QString& line : *lines)
                names << fields(line)[2];
        }
        QCOMPARE(numbers.size(), 6001);
        QCOMPARE(numbers.mid(998, 4), (QList<int>{999, 1000, 1001, 1002}));
        QCOMPARE(numbers.mid(3999, 2), (QList<int>{4000, 4001}));
        QCOMPARE(names.mid(499, 2), (QStringList{"Ann", "Bob"}));
        QCOMPARE(names.last(), QStringLiteral("Cy"));
    }

    void openTicketsCountedByPriority()
    {
        TestFolder empty;
        QCOMPARE(counts(OpenOrders()), (QStringList{"0", "0", "0", "0"}));
        // Status and priority compare without case; another priority counts only as open.
        QVERIFY(TicketRows::add({.number = 1, .priority = "2-MED", .status = "OPEN"}));
        QVERIFY(TicketRows::add({.number = 2, .priority = "Urgent"}));
        QVERIFY(TicketRows::add({.number = 3, .priority = "3-Low", .status = "Closed"}));
        QVERIFY(TicketRows::add({.number = 4, .priority = "3-low"}));
        QVERIFY(TicketRows::add({.number = 5, .priority = "2-Med"}));
        OpenOrders window;
        QCOMPARE(counts(window), (QStringList{"4", "0", "2", "1"}));
    }

    void f5AndTheMenuReadTheListsAgainKeepingChoices()
    {
        TestFolder folder(TestFolder::Content::Demo);
        MDIHelpDesk main;
        QAction* ticketLog = main.entry(QStringLiteral("mnuOpenOrd"));
        ticketLog->trigger();
        auto* log = main.findChild<OpenOrders*>();
        QVERIFY(log);
        QVERIFY(choose(log->combTech, "JTT-1 - Jack   Thompson"));
        const int technicianLines = log->lstTechTickets->count();
        // Another workstation logs a call: F5 shows it, the technician stays chosen.
        QVERIFY(TicketRows::add({.number = 7}));
        QCOMPARE(log->lstOpenOrders->count(), 6);
        QTest::keyClick(log->lstOpenOrders, Qt::Key_F5);
        QCOMPARE(log->lstOpenOrders->count(), 7);
        QCOMPARE(log->combTech->currentText(), QStringLiteral("JTT-1 - Jack   Thompson"));
        QCOMPARE(log->lstTechTickets->count(), technicianLines + 1);
        // Choosing the window again from the menu reads the log again as well.
        QVERIFY(TicketRows::add({.number = 8}));
        ticketLog->trigger();
        QCOMPARE(log->lstOpenOrders->count(), 8);

        Assignment assign;
        QVERIFY(WidgetTesting::showActive(&assign));
        QVERIFY(choose(assign.combAssign, items(assign.combAssign).first()));
        const QString chosen = assign.combAssign->currentText();
        const qsizetype open = assign.combAssign->count();
        QVERIFY(TicketRows::add({.number = 9}));
        QTest::keyClick(assign.combAssign, Qt::Key_F5);
        QCOMPARE(assign.combAssign->count(), open + 1);
        QCOMPARE(assign.combAssign->currentText(), chosen);
    }

    void ticketLines()
    {
        TestFolder folder(TestFolder::Content::Demo);
        const QDate leapYear(2024, 1, 30);
        QVERIFY(TicketRows::add(
            {.number = 7, .custId = "GONE-9", .opened = leapYear, .closed = leapYear.addDays(31)}));
        QVERIFY(TicketRows::add({.number = 9, .custId = "AES-3", .opened = QDate()}));
        OpenOrders window;
        QCOMPARE(leadingNumbers(window.lstOpenOrders->lines()),
                 (QList<int>{1, 2, 3, 4, 5, 6, 7, 9}));
        // A gone customer leaves the name empty; the leap day counts; open tickets have no
        // close date and no days.
        QCOMPARE(fields(window.lstOpenOrders->line(6)),
                 (QStringList{"7", "GONE-9", "", "01/30/24", "03/01/24", "JTT-1", "31"}));
        QCOMPARE(fields(window.lstOpenOrders->line(7)).mid(1),
                 (QStringList{"AES-3", "Allen Dental Associates", "", "", "JTT-1", ""}));
    }

    void technicianPageAndDetail()
    {
        TestFolder folder(TestFolder::Content::Demo);
        QVERIFY(TicketRows::add({.number = 7, .priority = "1-High"}));
        QVERIFY(DbProbe::exec(QStringLiteral("DELETE FROM ProbSol WHERE TicketNum = 3")));
        OpenOrders window;
        QVERIFY(WidgetTesting::showActive(&window));
        // A technician's tickets come by priority, High first.
        QVERIFY(choose(window.combTech, "JTT-1 - Jack   Thompson"));
        QCOMPARE(window.Label20->text(), QStringLiteral("Jack Thompson"));
        QCOMPARE(leadingNumbers(window.lstTechTickets->lines()), (QList<int>{2, 7, 1, 3}));
        QCOMPARE(fields(window.lstTechTickets->line(0)),
                 (QStringList{"2", "1-High", "Open", "Hardware", "Desktop"}));
        // Open tickets alone come by number.
        window.chkTechOpenOnly->click();
        QCOMPARE(leadingNumbers(window.lstTechTickets->lines()), (QList<int>{2, 3, 7}));

        clickLine(window.lstTechTickets, 0);
        QCOMPARE(window.SelectedTicketNum, 2);
        QPointer<OrdDetail> detail = window.detailWindow();
        QVERIFY(detail && detail->isVisible() && detail->isWindow());
        QCOMPARE(detail->txtProbType->text(), QStringLiteral("PC does not power on"));
        QCOMPARE(detail->txtComm->toPlainText(), QStringLiteral("Front desk PC, urgent."));
        // Another ticket shows in the same pop-up; without a problem record only the call's
        // own fields are filled.
        clickLine(window.lstTechTickets, 1);
        QCOMPARE(window.detailWindow(), detail.data());
        QCOMPARE(detail->txtTicknum->text(), QStringLiteral("3"));
        QCOMPARE(detail->txtProbType->text() + detail->txtProbOT->toPlainText(), QString());

        // Choosing a technician shows every ticket even with the box ticked.
        QVERIFY(choose(window.combTech, "RP-3 - Raj   Patel"));
        QCOMPARE(leadingNumbers(window.lstTechTickets->lines()), (QList<int>{5, 4}));
        window.cmdClear->click();
        QVERIFY(!window.chkTechOpenOnly->isChecked());
        QCOMPARE(window.combTech->currentText() + window.Label20->text(), QString());
        QCOMPARE(window.lstTechTickets->count(), 0);
    }

    void reassignMovesTheTicket()
    {
        TestFolder folder(TestFolder::Content::Demo);
        ScriptedPrompter prompts;
        QVERIFY(DbProbe::exec(QStringLiteral("INSERT INTO Employee (EmpID, EmpFName, EmpLName) "
                                             "VALUES ('O''N-9', 'Pat', 'O''Neil')")));
        Assignment window;
        QVERIFY(WidgetTesting::showActive(&window));
        QCOMPARE(items(window.combAssign),
                 (QStringList{"2 - AES-3", "3 - MIA-2", "4 - PKS-5", "6 - KEN-7"}));
        QCOMPARE(items(window.combAssignP),
                 (QStringList{"2 - 1-High", "3 - 3-Low", "4 - 2-Med", "6 - 2-Med"}));
        QCOMPARE(items(window.combChgPrTo), (QStringList{"3-Low", "2-Med", "1-High"}));
        QCOMPARE(window.combAssignEmp->currentText() + window.combChgPrTo->currentText(),
                 QString());

        QVERIFY(choose(window.combAssign, "2 - AES-3"));
        QCOMPARE(window.txtAsgnTicket->text(), QStringLiteral("2"));
        QVERIFY(choose(window.combAssignEmp, "RP-3    Raj    Patel"));
        window.cmdAssign->click();
        QCOMPARE(openTicketsOf("JTT-1"), (QList<int>{3}));
        QCOMPARE(openTicketsOf("RP-3"), (QList<int>{2, 4}));
        QCOMPARE(ticket("Priority", 2), QStringLiteral("1-High"));
        QCOMPARE(window.combAssign->currentText() + window.txtAsgnTicket->text() +
                     window.combAssignEmp->currentText(),
                 QString());

        // The employee chosen before goes on receiving tickets until another is chosen.
        QVERIFY(choose(window.combAssign, "6 - KEN-7"));
        window.cmdAssign->click();
        QCOMPARE(ticket("Tech", 6), QStringLiteral("RP-3"));
        QVERIFY(choose(window.combAssign, "3 - MIA-2"));
        QVERIFY(choose(window.combAssignEmp, "O'N-9    Pat    O'Neil"));
        window.cmdAssign->click();
        QCOMPARE(ticket("Tech", 3), QStringLiteral("O'N-9"));
        QCOMPARE(openTicketsOf("JTT-1"), QList<int>{});
    }

    void reassignKeepsTheChoicesWhenItCannot()
    {
        TestFolder folder(TestFolder::Content::Demo);
        ScriptedPrompter prompts;
        Assignment window;
        window.cmdAssign->click();
        QCOMPARE(prompts.messages(), QStringList{NoTicketChosen});
        QVERIFY(choose(window.combAssign, "2 - AES-3"));
        window.cmdAssign->click();
        QCOMPARE(prompts.lastMessage(),
                 QStringLiteral("Please select an employee to assign the ticket to."));

        // A failing write and a ticket gone meanwhile are told and keep the choices.
        QVERIFY(choose(window.combAssignEmp, "RP-3    Raj    Patel"));
        QVERIFY(failWrites(true));
        for (const char* reason : {"disk is full", "There is no ticket 2."}) {
            window.cmdAssign->click();
            QCOMPARE(prompts.lastMessage(),
                     QStringLiteral("The ticket could not be reassigned: ") + reason);
            QCOMPARE(DbProbe::count(QStringLiteral("CallLog"), QStringLiteral("Tech = 'RP-3'")), 2);
            QCOMPARE(QStringList({window.combAssign->currentText(), window.txtAsgnTicket->text(),
                                  window.combAssignEmp->currentText()}),
                     (QStringList{"2 - AES-3", "2", "RP-3    Raj    Patel"}));
            QVERIFY(failWrites(false));
            QVERIFY(DbProbe::exec(QStringLiteral("DELETE FROM CallLog WHERE TicketNum = 2")));
        }

        // A ticket number typed over with anything but a number is no ticket.
        for (const QString& typed : {QString(), QStringLiteral("six")}) {
            QVERIFY(choose(window.combAssign, "6 - KEN-7"));
            window.txtAsgnTicket->setText(typed);
            prompts.clear();
            window.cmdAssign->click();
            QCOMPARE(prompts.messages(), QStringList{NoTicketChosen});
        }
        QCOMPARE(ticket("Tech", 6), QStringLiteral("SLM-2"));
    }

    void changePriority()
    {
        TestFolder folder(TestFolder::Content::Demo);
        ScriptedPrompter prompts;
        Assignment window;
        window.cmdChgPr->click();
        QCOMPARE(prompts.messages(), QStringList{NoTicketChosen});
        QVERIFY(choose(window.combAssignP, "3 - 3-Low"));
        QCOMPARE(window.txtChgPr->text(), QStringLiteral("3-Low"));
        window.cmdChgPr->click();
        QCOMPARE(prompts.lastMessage(), QStringLiteral("Please select the new priority."));

        QVERIFY(choose(window.combChgPrTo, "1-High"));
        QVERIFY(failWrites(true));
        window.cmdChgPr->click();
        QCOMPARE(prompts.lastMessage(),
                 QStringLiteral("The priority could not be changed: disk is full"));
        QCOMPARE(ticket("Priority", 3), QStringLiteral("3-Low"));
        QCOMPARE(window.combAssignP->currentText(), QStringLiteral("3 - 3-Low"));
        QCOMPARE(window.combChgPrTo->currentText(), QStringLiteral("1-High"));

        QVERIFY(failWrites(false));
        window.cmdChgPr->click();
        QCOMPARE(DbProbe::column(QStringLiteral("SELECT Priority || ' ' || Tech FROM CallLog "
                                                "WHERE TicketNum IN (3, 4) ORDER BY TicketNum")),
                 (QStringList{"1-High JTT-1", "2-Med RP-3"}));
        QCOMPARE(window.combAssignP->currentText() + window.txtChgPr->text() +
                     window.combChgPrTo->currentText(),
                 QString());
    }
};

QTEST_MAIN(TestTickets)
#include "tst_tickets.moc"
