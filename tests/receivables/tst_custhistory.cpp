#include "widgets/tabbedlist.h"
#include "receivables/custhistorddetail.h"
#include "receivables/custhistory.h"
#include "support/samplebilling.h"
#include "support/scriptedprompter.h"
#include "support/testfolder.h"
#include "support/widgettesting.h"

#include <QPlainTextEdit>
#include <QtTest>

using namespace WidgetTesting;

namespace {

void click(TabbedList* list, int row)
{
    const QRect line = list->visualRect(list->model()->index(row, 0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, line.center());
}

SampleBilling::Ticket ticket(int number, const QString& custId, const QString& status)
{
    SampleBilling::Ticket t;
    t.number = number;
    t.custId = custId;
    t.status = status;
    return t;
}

} // namespace

/** A customer's ticket history and the detail of one ticket. */
class TestCustHistory : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void listsEveryTicketOfTheChosenCustomerOnly()
    {
        TestFolder folder(TestFolder::Content::Demo);
        ScriptedPrompter prompts;
        QVERIFY(SampleBilling::addCustomer(QStringLiteral("C12"), QStringLiteral("Twelve")));
        QVERIFY(SampleBilling::addCustomer(QStringLiteral("C123"), QStringLiteral("Hundred")));
        QVERIFY(SampleBilling::addCustomer(QStringLiteral("ZED-8"), QStringLiteral("No Calls")));
        QVERIFY(
            SampleBilling::addTicket(ticket(20, QStringLiteral("C12"), QStringLiteral("Open"))));
        auto closed = ticket(21, QStringLiteral("C12"), QStringLiteral("Closed"));
        closed.probType = QStringLiteral("Software");
        closed.specific = QStringLiteral("Windows");
        closed.tech = QStringLiteral("RP-3");
        QVERIFY(SampleBilling::addTicket(closed));
        QVERIFY(
            SampleBilling::addTicket(ticket(22, QStringLiteral("C123"), QStringLiteral("Open"))));

        CustHistory window;
        QVERIFY(showActive(&window));
        QCOMPARE(window.combCustID->findText(QStringLiteral("DSS-6 - David Ross")), -1);
        QVERIFY(choose(window.combCustID, QStringLiteral("C12 - Twelve")));
        QCOMPARE(window.lstHistory->lines(), (QStringList{"20\tOpen\tHardware\tLaptop\tJTT-1",
                                                          "21\tClosed\tSoftware\tWindows\tRP-3"}));
        QVERIFY(choose(window.combCustID, QStringLiteral("C123 - Hundred")));
        QCOMPARE(window.lstHistory->lines(), QStringList{"22\tOpen\tHardware\tLaptop\tJTT-1"});
        QVERIFY(choose(window.combCustID, QStringLiteral("ZED-8 - No Calls")));
        QCOMPARE(window.lstHistory->count(), 0);
        QVERIFY(prompts.messages().isEmpty());

        QVERIFY(choose(window.combCustID, QStringLiteral("C12 - Twelve")));
        window.cmdClear->click();
        QCOMPARE(window.combCustID->currentText(), QString());
        QCOMPARE(window.lstHistory->count(), 0);
    }

    void detailShowsTheClickedTicketOnTop()
    {
        TestFolder folder(TestFolder::Content::Demo);
        ScriptedPrompter prompts;
        auto solved = ticket(30, QStringLiteral("AES-3"), QStringLiteral("Closed"));
        solved.tech = QStringLiteral("RP-3");
        solved.comments = QStringLiteral("Customer waited.");
        solved.quick = QStringLiteral("Monitor flickers");
        solved.problem = QStringLiteral("The front desk monitor flickers.");
        solved.solution = QStringLiteral("Replaced the cable.");
        QVERIFY(SampleBilling::addTicket(solved));

        CustHistory window;
        QVERIFY(showActive(&window));
        QVERIFY(choose(window.combCustID, QStringLiteral("AES-3 - Allen Dental Associates")));
        QCOMPARE(window.lstHistory->count(), 2);
        click(window.lstHistory, 1);
        QCOMPARE(window.chosenTicket(), 30);
        CustHistOrdDetail* detail = window.detailWindow();
        QVERIFY(detail);
        QVERIFY(detail->isVisible());
        QVERIFY(detail->isWindow());
        QVERIFY(detail->windowFlags() & Qt::WindowStaysOnTopHint);
        QCOMPARE(detail->windowTitle(), QStringLiteral("Customer Order Detail"));
        QCOMPARE(detail->txtTicknum->text(), QStringLiteral("30"));
        QCOMPARE(detail->txtTech->text(), QStringLiteral("RP-3"));
        QCOMPARE(detail->txtProbType->text(), QStringLiteral("Monitor flickers"));
        QCOMPARE(detail->txtProbOT->toPlainText(),
                 QStringLiteral("The front desk monitor flickers."));
        QCOMPARE(detail->txtSolOT->toPlainText(), QStringLiteral("Replaced the cable."));
        QCOMPARE(detail->txtComm->toPlainText(), QStringLiteral("Customer waited."));
        QVERIFY(detail->txtProbOT->isReadOnly());

        // Another line shows that ticket in the same pop-up.
        click(window.lstHistory, 0);
        QCOMPARE(window.detailWindow(), detail);
        QCOMPARE(detail->txtTicknum->text(), QStringLiteral("2"));
        QCOMPARE(detail->txtProbType->text(), QStringLiteral("PC does not power on"));
        QCOMPARE(detail->txtSolOT->toPlainText(), QString());

        // Closed, it comes back for the line that is still chosen.
        detail->close();
        QTRY_VERIFY(!window.detailWindow());
        click(window.lstHistory, 0);
        QVERIFY(window.detailWindow());
        QCOMPARE(window.detailWindow()->txtTicknum->text(), QStringLiteral("2"));
        QVERIFY(prompts.messages().isEmpty());
    }

    void detailOfTicketsWithMissingOrSharedProblemRows()
    {
        TestFolder folder(TestFolder::Content::Demo);
        auto bare = ticket(40, QStringLiteral("JTH-1"), QStringLiteral("Open"));
        bare.comments = QStringLiteral("Phoned in.");
        QVERIFY(SampleBilling::addTicket(bare));

        CustHistOrdDetail withoutTexts(40);
        QCOMPARE(withoutTexts.txtTicknum->text(), QStringLiteral("40"));
        QCOMPARE(withoutTexts.txtComm->toPlainText(), QStringLiteral("Phoned in."));
        QCOMPARE(withoutTexts.txtProbType->text(), QString());
        QCOMPARE(withoutTexts.txtProbOT->toPlainText(), QString());

        // Knowledge-base entry 1 shares the number of demo ticket 1, which was logged first.
        CustHistOrdDetail shared(1);
        QCOMPARE(shared.txtProbType->text(), QStringLiteral("Computer slow after update"));

        CustHistOrdDetail missing(999);
        QCOMPARE(missing.txtTicknum->text(), QString());
        QCOMPARE(missing.txtTech->text(), QString());
    }
};

QTEST_MAIN(TestCustHistory)
#include "tst_custhistory.moc"
