#include "data/session.h"
#include "widgets/tabbedlist.h"
#include "helpdesk/helpdesk.h"
#include "support/scriptedprompter.h"
#include "support/testfolder.h"
#include "support/widgettesting.h"
#include "tickets/assignment.h"

#include <QComboBox>
#include <QPushButton>
#include <QtTest>

/** A ticket handed to another technician leaves one workspace's open tickets for the other's. */
class TestReassignWorkspace : public QObject {
    Q_OBJECT

    static QStringList openTicketsOf(const QString& technician)
    {
        Session::setCurrentEmployeeId(technician);
        HelpDesk workspace;
        auto* list = workspace.findChild<TabbedList*>(QStringLiteral("lstOpenTickets"));
        QStringList numbers;
        for (const QString& line : list->lines())
            numbers << line.section(QLatin1Char('\t'), 0, 0);
        return numbers;
    }

private Q_SLOTS:
    void ticketMovesBetweenTechnicians()
    {
        TestFolder folder(TestFolder::Content::Demo);
        ScriptedPrompter prompts;
        QCOMPARE(openTicketsOf(QStringLiteral("JTT-1")), (QStringList{"2", "3"}));
        QCOMPARE(openTicketsOf(QStringLiteral("RP-3")), (QStringList{"4"}));

        Assignment assignment;
        QVERIFY(WidgetTesting::choose(assignment.combAssign, QStringLiteral("2 - AES-3")));
        const int rp =
            assignment.combAssignEmp->findText(QStringLiteral("RP-3"), Qt::MatchStartsWith);
        QVERIFY(rp >= 0);
        QVERIFY(WidgetTesting::choose(assignment.combAssignEmp,
                                      assignment.combAssignEmp->itemText(rp)));
        assignment.cmdAssign->click();
        QVERIFY(prompts.messages().isEmpty());

        QCOMPARE(openTicketsOf(QStringLiteral("JTT-1")), QStringList{"3"});
        QCOMPARE(openTicketsOf(QStringLiteral("RP-3")), (QStringList{"2", "4"}));
    }
};

QTEST_MAIN(TestReassignWorkspace)
#include "tst_reassignworkspace.moc"
