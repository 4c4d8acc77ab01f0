#include "support/scriptedprompter.h"
#include "support/testfolder.h"
#include "support/ticketrows.h"
#include "support/widgettesting.h"
#include "tickets/assignment.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

using TicketRows::leadingNumbers;
using WidgetTesting::choose;

/** Handing tickets to another technician and changing priorities. */
class TestAssignment : public QObject {
    Q_OBJECT

    static QString techOf(int ticket)
    {
        return TicketRows::value(QStringLiteral("SELECT Tech FROM CallLog WHERE TicketNum = ?"),
                                 ticket);
    }
    static QString priorityOf(int ticket)
    {
        return TicketRows::value(QStringLiteral("SELECT Priority FROM CallLog WHERE TicketNum = ?"),
                                 ticket);
    }
    static QStringList items(const QComboBox* combo)
    {
        QStringList texts;
        for (int i = 0; i < combo->count(); ++i)
            texts << combo->itemText(i);
        return texts;
    }
    static bool failWrites()
    {
        return TicketRows::exec("CREATE TRIGGER NoWrites BEFORE UPDATE ON CallLog "
                                "BEGIN SELECT RAISE(ABORT, 'disk is full'); END");
    }

private Q_SLOTS:
    void listsOfOpenTickets()
    {
        TestFolder folder(TestFolder::Content::Demo);
        Assignment window;
        QCOMPARE(window.windowTitle(), QStringLiteral("Assign Ticket"));
        QCOMPARE(items(window.combAssign),
                 (QStringList{"2 - AES-3", "3 - MIA-2", "4 - PKS-5", "6 - KEN-7"}));
        QCOMPARE(items(window.combAssignP),
                 (QStringList{"2 - 1-High", "3 - 3-Low", "4 - 2-Med", "6 - 2-Med"}));
        QVERIFY(items(window.combAssignEmp).contains("JTT-1    Jack    Thompson"));
        QCOMPARE(items(window.combChgPrTo), (QStringList{"3-Low", "2-Med", "1-High"}));
        for (QComboBox* combo :
             {window.combAssign, window.combAssignEmp, window.combAssignP, window.combChgPrTo})
            QVERIFY(combo->currentText().isEmpty());
    }

    void reassignMovesTheTicket()
    {
        TestFolder folder(TestFolder::Content::Demo);
        ScriptedPrompter prompts;
        Assignment window;
        QVERIFY(WidgetTesting::showActive(&window));
        QCOMPARE(TicketRows::openTicketsOf("JTT-1"), (QList<int>{2, 3}));
        QCOMPARE(TicketRows::openTicketsOf("RP-3"), (QList<int>{4}));

        // Typing completes the ticket line and fills the ticket number.
        window.combAssign->setFocus();
        QTest::keyClicks(window.combAssign, QStringLiteral("2"));
        QCOMPARE(window.combAssign->currentText(), QStringLiteral("2 - AES-3"));
        QCOMPARE(window.txtAsgnTicket->text(), QStringLiteral("2"));
        window.combAssignEmp->setFocus();
        QTest::keyClicks(window.combAssignEmp, QStringLiteral("r"));
        QCOMPARE(window.combAssignEmp->currentText(), QStringLiteral("RP-3    Raj    Patel"));
        window.cmdAssign->click();

        QVERIFY(prompts.shown().isEmpty());
        QCOMPARE(techOf(2), QStringLiteral("RP-3"));
        QCOMPARE(TicketRows::openTicketsOf("JTT-1"), (QList<int>{3}));
        QCOMPARE(TicketRows::openTicketsOf("RP-3"), (QList<int>{2, 4}));
        QCOMPARE(priorityOf(2), QStringLiteral("1-High"));
        QVERIFY(window.combAssign->currentText().isEmpty());
        QVERIFY(window.txtAsgnTicket->text().isEmpty());
        QVERIFY(window.combAssignEmp->currentText().isEmpty());
        QCOMPARE(window.combAssign->count(), 4);

        // The employee chosen before goes on receiving tickets until another is chosen.
        QVERIFY(choose(window.combAssign, "6 - KEN-7"));
        window.cmdAssign->click();
        QCOMPARE(techOf(6), QStringLiteral("RP-3"));
        QVERIFY(choose(window.combAssign, "3 - MIA-2"));
        QVERIFY(choose(window.combAssignEmp, "SLM-2    Sarah    Miller"));
        window.cmdAssign->click();
        QCOMPARE(techOf(3), QStringLiteral("SLM-2"));
        QVERIFY(prompts.shown().isEmpty());
        QCOMPARE(TicketRows::openTicketsOf("JTT-1"), QList<int>{});
    }

    void reassignKeepsTheChoicesWhenItCannot()
    {
        TestFolder folder(TestFolder::Content::Demo);
        ScriptedPrompter prompts;
        Assignment window;
        window.cmdAssign->click();
        QCOMPARE(prompts.messages(), QStringList{"Please select a ticket to reassign."});

        // No employee chosen yet: nothing is written.
        prompts.clear();
        QVERIFY(choose(window.combAssign, "2 - AES-3"));
        window.cmdAssign->click();
        QCOMPARE(prompts.messages(),
                 QStringList{"Please select an employee to assign the ticket to."});
        QCOMPARE(techOf(2), QStringLiteral("JTT-1"));

        // A failing write and a ticket gone meanwhile are told and keep the choices.
        QVERIFY(choose(window.combAssignEmp, "RP-3    Raj    Patel"));
        QVERIFY(failWrites());
        prompts.clear();
        window.cmdAssign->click();
        QCOMPARE(prompts.messages().size(), 1);
        QVERIFY(prompts.lastMessage().startsWith("The ticket could not be reassigned: "));
        QVERIFY(prompts.lastMessage().contains("disk is full"));
        QCOMPARE(techOf(2), QStringLiteral("JTT-1"));
        QCOMPARE(window.combAssign->currentText(), QStringLiteral("2 - AES-3"));
        QCOMPARE(window.txtAsgnTicket->text(), QStringLiteral("2"));
        QCOMPARE(window.combAssignEmp->currentText(), QStringLiteral("RP-3    Raj    Patel"));

        QVERIFY(TicketRows::exec("DROP TRIGGER NoWrites"));
        QVERIFY(TicketRows::exec("DELETE FROM CallLog WHERE TicketNum = 2"));
        prompts.clear();
        window.cmdAssign->click();
        QCOMPARE(prompts.messages(),
                 QStringList{"The ticket could not be reassigned: There is no ticket 2."});
        QCOMPARE(window.txtAsgnTicket->text(), QStringLiteral("2"));

        // Clear empties the page but keeps the chosen employee.
        window.cmdClear->click();
        QVERIFY(window.combAssign->currentText().isEmpty());
        QVERIFY(window.txtAsgnTicket->text().isEmpty());
        QVERIFY(window.combAssignEmp->currentText().isEmpty());
        QVERIFY(choose(window.combAssign, "4 - PKS-5"));
        prompts.clear();
        window.cmdAssign->click();
        QVERIFY(prompts.shown().isEmpty());
        QCOMPARE(techOf(4), QStringLiteral("RP-3"));

        // A ticket number typed over with anything but a number is no ticket.
        for (const QString& typed : {QString(), QStringLiteral("six")}) {
            QVERIFY(choose(window.combAssign, "6 - KEN-7"));
            window.txtAsgnTicket->setText(typed);
            prompts.clear();
            window.cmdAssign->click();
            QCOMPARE(prompts.messages(), QStringList{"Please select a ticket to reassign."});
        }
        QCOMPARE(techOf(6), QStringLiteral("SLM-2"));
    }

    void employeeIdsAreValuesNotSql()
    {
        TestFolder folder(TestFolder::Content::Demo);
        ScriptedPrompter prompts;
        QVERIFY(TicketRows::exec("INSERT INTO Employee (EmpID, EmpFName, EmpLName) "
                                 "VALUES (?, 'Pat', 'O''Neil')",
                                 "O'N-9"));
        Assignment window;
        QVERIFY(choose(window.combAssign, "3 - MIA-2"));
        QVERIFY(choose(window.combAssignEmp, "O'N-9    Pat    O'Neil"));
        window.cmdAssign->click();
        QVERIFY(prompts.shown().isEmpty());
        QCOMPARE(techOf(3), QStringLiteral("O'N-9"));
        QCOMPARE(techOf(2), QStringLiteral("JTT-1"));
    }

    void changePriority()
    {
        TestFolder folder(TestFolder::Content::Demo);
        ScriptedPrompter prompts;
        Assignment window;
        window.cmdChgPr->click();
        QCOMPARE(prompts.messages(), QStringList{"Please select a ticket to reassign."});

        QVERIFY(choose(window.combAssignP, "3 - 3-Low"));
        QCOMPARE(window.txtChgPr->text(), QStringLiteral("3-Low"));
        prompts.clear();
        window.cmdChgPr->click();
        QCOMPARE(prompts.messages(), QStringList{"Please select the new priority."});
        QCOMPARE(priorityOf(3), QStringLiteral("3-Low"));

        QVERIFY(choose(window.combChgPrTo, "1-High"));
        QVERIFY(failWrites());
        prompts.clear();
        window.cmdChgPr->click();
        QVERIFY(prompts.lastMessage().startsWith("The priority could not be changed: "));
        QCOMPARE(priorityOf(3), QStringLiteral("3-Low"));
        QCOMPARE(window.combAssignP->currentText(), QStringLiteral("3 - 3-Low"));
        QCOMPARE(window.combChgPrTo->currentText(), QStringLiteral("1-High"));

        QVERIFY(TicketRows::exec("DROP TRIGGER NoWrites"));
        prompts.clear();
        window.cmdChgPr->click();
        QVERIFY(prompts.shown().isEmpty());
        QCOMPARE(priorityOf(3), QStringLiteral("1-High"));
        QCOMPARE(TicketRows::openTicketsOf("JTT-1"), (QList<int>{2, 3}));
        QCOMPARE(techOf(3), QStringLiteral("JTT-1"));
        QVERIFY(window.combAssignP->currentText().isEmpty());
        QVERIFY(window.txtChgPr->text().isEmpty());
        QVERIFY(window.combChgPrTo->currentText().isEmpty());
        // The lines keep what they showed when the window opened.
        QCOMPARE(window.combAssignP->itemText(1), QStringLiteral("3 - 3-Low"));
        QVERIFY(choose(window.combAssignP, "3 - 3-Low"));
        QCOMPARE(window.txtChgPr->text(), QStringLiteral("1-High"));

        window.cmdClearPr->click();
        prompts.clear();
        window.cmdChgPr->click();
        QCOMPARE(prompts.messages(), QStringList{"Please select a ticket to reassign."});
    }
};

QTEST_MAIN(TestAssignment)
#include "tst_assignment.moc"
