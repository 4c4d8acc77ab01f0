#include "receivables/custhistorddetail.h"
#include "receivables/custhistory.h"
#include "receivables/payment.h"
#include "support/dbprobe.h"
#include "support/samplebilling.h"
#include "support/scriptedprompter.h"
#include "support/testfolder.h"
#include "support/ticketrows.h"
#include "support/widgettesting.h"
#include "widgets/tabbedlist.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QtTest>

using namespace WidgetTesting;

namespace {

const QString Ken = QStringLiteral("KEN-7 - Kim Chen");
const QString PickInvoice =
    QStringLiteral("Please double click the list box for the invoice you wish to pay!");
const QString NeedNumber = QStringLiteral("Please enter a Check Or Credit Memo number!");

Currency money(const QString& text)
{
    return Currency::parse(text).value();
}

QString invoice(const char* column)
{
    return DbProbe::value(QStringLiteral("SELECT %1 FROM ARInvoice WHERE InvNum = 50").arg(column));
}

qint64 payments()
{
    return DbProbe::count(QStringLiteral("AmountPaid"), QStringLiteral("InvNum = 50"));
}

void click(TabbedList* list, int row)
{
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualRect(list->model()->index(row, 0)).center());
}

// A double click as the system delivers it: a click, then the second press.
void doubleClick(TabbedList* list, int row)
{
    click(list, row);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {},
                       list->visualRect(list->model()->index(row, 0)).center());
}

void pay(Payment& window, const QString& amount, const QString& check)
{
    typeInto(window.Text1, amount);
    typeInto(window.txtCheckNo, check);
    window.findChild<QAction*>(QStringLiteral("Pay"))->trigger();
}

// Shows the window, chooses KEN-7 and double-clicks its first open invoice.
bool chooseFirstInvoice(Payment& window)
{
    return showActive(&window) && choose(window.combCustID, Ken) &&
           (doubleClick(window.List2, 0), window.labInvNum->text() == QLatin1String("50"));
}

// A row of the refusals: what is typed, the message, and what another workstation did after
// the invoice was chosen.
void refusal(const char* name, const char* check, const char* amount, const QString& message,
             const char* postDate = "", const char* meanwhile = "")
{
    QTest::newRow(name) << QString::fromUtf8(check) << QString::fromUtf8(amount)
                        << QString::fromUtf8(postDate) << QString::fromUtf8(meanwhile) << message;
}

QStringList shown(const CustHistOrdDetail& detail)
{
    return {detail.txtTicknum->text(),      detail.txtTech->text(),
            detail.txtProbType->text(),     detail.txtProbOT->toPlainText(),
            detail.txtSolOT->toPlainText(), detail.txtComm->toPlainText()};
}

} // namespace

/** Customers' payments against their open invoices, and their ticket history. */
class TestReceivables : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Every test starts in the demo shop with invoice 50 of KEN-7 (who has none): 100.00, of
    // which 40.00 is paid.
    void init()
    {
        m_folder.emplace(TestFolder::Content::Demo);
        QVERIFY(
            SampleBilling::addInvoice(50, QStringLiteral("KEN-7"), money("100"), {money("40")}));
    }
    void cleanup() { m_folder.reset(); }

    void historyOfTheChosenCustomerAndDetailOnTop()
    {
        ScriptedPrompter prompts;
        // C12 is the start of C123: a customer's tickets are found by the whole ID.
        QVERIFY(SampleBilling::addCustomer(QStringLiteral("C12"), QStringLiteral("Twelve")));
        QVERIFY(SampleBilling::addCustomer(QStringLiteral("C123"), QStringLiteral("Hundred")));
        QVERIFY(TicketRows::add({.number = 20, .custId = "C12"}));
        QVERIFY(SampleBilling::addTicket({.number = 21,
                                          .custId = "C12",
                                          .status = "Closed",
                                          .tech = "RP-3",
                                          .comments = "Customer waited.",
                                          .quick = "Monitor flickers",
                                          .problem = "It flickers.",
                                          .solution = "Replaced the cable."}));
        QVERIFY(TicketRows::add({.number = 22, .custId = "C123"}));
        CustHistory window;
        QVERIFY(showActive(&window));
        // Inactive customers are not offered.
        QCOMPARE(window.combCustID->findText(QStringLiteral("DSS-6 - David Ross")), -1);
        QVERIFY(choose(window.combCustID, QStringLiteral("C123 - Hundred")));
        QCOMPARE(window.lstHistory->lines(), QStringList{"22\tOpen\tSoftware\tWindows\tJTT-1"});
        QVERIFY(choose(window.combCustID, QStringLiteral("C12 - Twelve")));
        QCOMPARE(window.lstHistory->lines(), (QStringList{"20\tOpen\tSoftware\tWindows\tJTT-1",
                                                          "21\tClosed\tHardware\tLaptop\tRP-3"}));

        click(window.lstHistory, 1);
        CustHistOrdDetail* detail = window.detailWindow();
        QVERIFY(detail && detail->isVisible() &&
                (detail->windowFlags() & Qt::WindowStaysOnTopHint));
        QCOMPARE(shown(*detail), (QStringList{"21", "RP-3", "Monitor flickers", "It flickers.",
                                              "Replaced the cable.", "Customer waited."}));
        // Another line shows that ticket in the same pop-up, without problem texts of its own.
        click(window.lstHistory, 0);
        QCOMPARE(window.detailWindow(), detail);
        QCOMPARE(shown(*detail), (QStringList{"20", "JTT-1", "", "", "", ""}));
        // Closed, it comes back for the line that is still chosen.
        detail->close();
        QTRY_VERIFY(!window.detailWindow());
        click(window.lstHistory, 0);
        QVERIFY(window.detailWindow() && window.detailWindow()->txtTicknum->text() == "20");

        window.cmdClear->click();
        QCOMPARE(window.combCustID->currentText() + window.lstHistory->lines().join(""), QString());
    }

    void detailOfTicketsWithSharedOrMissingProblemRows()
    {
        // Knowledge-base entry 1 shares the number of demo ticket 1, which was logged first.
        QCOMPARE(CustHistOrdDetail(1).txtProbType->text(),
                 QStringLiteral("Computer slow after update"));
        QCOMPARE(shown(CustHistOrdDetail(999)), QStringList(6));
    }

    void listsTheChosenCustomersOpenInvoices()
    {
        ScriptedPrompter prompts;
        QVERIFY(SampleBilling::addInvoice(51, QStringLiteral("KEN-7"), money("25.5")));
        QVERIFY(SampleBilling::addInvoice(52, QStringLiteral("KEN-7"), money("10")));
        QVERIFY(
            DbProbe::exec(QStringLiteral("UPDATE ARInvoice SET InvPaid = 1 WHERE InvNum = 52")));
        Payment window;
        QVERIFY(showActive(&window));
        QVERIFY(choose(window.combCustID, Ken));
        QCOMPARE(window.List1->lines(),
                 (QStringList{"Kim Chen", "301 Spring Street", "Springfield, IL\t62701"}));
        QCOMPARE(window.List2->lines(),
                 (QStringList{"50\t03/05/24\t100\t40\t60", "51\t03/05/24\t25.5\t0\t25.5"}));
        doubleClick(window.List2, 0);
        QCOMPARE(window.labInvNum->text() + ' ' + window.Text1->selectedText(),
                 QStringLiteral("50 60.00"));

        // Another customer forgets the chosen invoice: nothing can be paid on it.
        QVERIFY(choose(window.combCustID, QStringLiteral("AES-3 - Allen Dental Associates")));
        QCOMPARE(window.labInvNum->text() + window.Text1->text(), QStringLiteral("0.00"));
        const QString fourDaysAgo = QDate::currentDate().addDays(-4).toString("MM/dd/yy");
        QCOMPARE(window.List2->lines(), QStringList{"1\t" + fourDaysAgo + "\t144.82\t50\t94.82"});
        pay(window, QStringLiteral("60.00"), QStringLiteral("1234"));
        QCOMPARE(prompts.messages(), QStringList{PickInvoice});
    }

    void paymentAmounts_data()
    {
        QTest::addColumn<QString>("amount");
        QTest::addColumn<bool>("closes");
        QTest::newRow("the balance") << "60.00" << true;
        QTest::newRow("the balance, written plainly") << "60" << true;
        QTest::newRow("a cent short") << "59.99" << false;
        QTest::newRow("a hundredth of a cent short") << "59.9999" << false;
    }

    void paymentAmounts()
    {
        QFETCH(QString, amount);
        QFETCH(bool, closes);
        ScriptedPrompter prompts;
        Payment window;
        QVERIFY(chooseFirstInvoice(window));
        pay(window, amount, QStringLiteral("1234"));
        const QString today = QDate::currentDate().toString(Qt::ISODate);
        QCOMPARE(invoice("InvPaid || ' ' || CheckNo || ' ' || PayDate"),
                 QStringLiteral("%1 1234 %2").arg(closes ? 1 : 0).arg(today));
        QCOMPARE(DbProbe::column(QStringLiteral("SELECT AmtPaid || ' ' || Paid || ' ' || PayDate "
                                                "FROM AmountPaid WHERE CustID = 'KEN-7'")),
                 (QStringList{"400000 1 2024-03-06",
                              QStringLiteral("%1 1 %2").arg(money(amount).units()).arg(today)}));
        QCOMPARE(
            DbProbe::count(QStringLiteral("InvDetail"), QStringLiteral("InvNum = 50 AND Paid = 1")),
            2);

        // The form is ready for the next payment.
        QCOMPARE(window.combCustID->currentText() + window.labInvNum->text() +
                     window.txtCheckNo->text() + window.Text1->text(),
                 QStringLiteral("0.00"));
        QVERIFY(choose(window.combCustID, Ken));
        QCOMPARE(window.List2->line(0).section(QLatin1Char('\t'), -1),
                 closes ? QStringLiteral("No open invoices for this customer")
                        : (money("60") - money(amount)).toPlainString());
    }

    void eachPaymentKeepsItsCheckOrCreditMemo()
    {
        ScriptedPrompter prompts;
        Payment window;
        QVERIFY(chooseFirstInvoice(window));
        pay(window, QStringLiteral("30.00"), QStringLiteral("1234"));

        // By credit memo the hidden check box is not looked at, but the memo must be given.
        QVERIFY(chooseFirstInvoice(window));
        QTest::mouseClick(window.chkCredit, Qt::LeftButton, {},
                          QPoint(4, window.chkCredit->height() / 2));
        pay(window, QStringLiteral("30.00"), QStringLiteral("abc"));
        QCOMPARE(prompts.messages(), QStringList{NeedNumber});
        prompts.clear();
        typeInto(window.txtCreditMemo, QStringLiteral("CM-17"));
        pay(window, QStringLiteral("30.00"), QStringLiteral("abc"));
        QCOMPARE(invoice("CreditMemo || ' ' || InvPaid"), QStringLiteral("CM-17 1"));
        QVERIFY(!window.chkCredit->isChecked() && window.txtCheckNo->isVisible());
        QCOMPARE(window.Label9->text() + window.txtCreditMemo->text(), QStringLiteral("Check #"));

        // Opened again, the invoice lists every payment with its own number.
        QVERIFY(DbProbe::exec(QStringLiteral("UPDATE ARInvoice SET InvPaid = 0")));
        QVERIFY(chooseFirstInvoice(window));
        const QString today = QDate::currentDate().toString(QStringLiteral("MM/dd/yy"));
        QCOMPARE(window.lstPayments->lines(),
                 (QStringList{"03/06/24\t40.00\t", today + "\t30.00\tCheck # 1234",
                              today + "\t30.00\tCredit Memo CM-17"}));
    }

    void refusalsWriteNothingAndKeepTheForm_data()
    {
        QTest::addColumn<QString>("check");
        QTest::addColumn<QString>("amount");
        QTest::addColumn<QString>("postDate");
        QTest::addColumn<QString>("meanwhile");
        QTest::addColumn<QString>("message");
        const QString onlyNumbers = QStringLiteral("Only numbers are allowed in the Check # box");
        const QString noInvoice = QStringLiteral("Please select an invoice to pay!");
        const QString notPositive = QStringLiteral("The amount must be a number above zero!");
        const QString tooMuch = QStringLiteral("The amount is more than the balance due of this "
                                               "invoice; the payment was not saved.");
        refusal("no check number", "", "60.00", NeedNumber);
        refusal("check number zero", "0", "60.00", NeedNumber);
        refusal("letter in check number", "12a4", "60.00", onlyNumbers);
        refusal("negative check number", "-5", "60.00", onlyNumbers);
        refusal("check number past 32 bits", "99999999999", "60.00", onlyNumbers);
        refusal("amount 0.00", "1234", "0.00", noInvoice);
        refusal("no amount", "1234", "", noInvoice);
        refusal("plain zero", "1234", "0", notPositive);
        refusal("negative amount", "1234", "-10", notPositive);
        refusal("amount not a number", "1234", "ten", notPositive);
        refusal("bad post date", "1234", "60.00", "The Post Date is not a valid date!", "13/45/24");
        refusal("a cent more than the balance", "1234", "60.01", tooMuch);
        refusal("balance grown smaller meanwhile", "1234", "60.00", tooMuch, "",
                "INSERT INTO AmountPaid (InvNum, CustID, AmtPaid) VALUES (50, 'KEN-7', 1)");
        refusal("settled meanwhile", "1234", "60.00",
                "This invoice is no longer open for this customer; the payment was not saved.", "",
                "UPDATE ARInvoice SET InvPaid = 1 WHERE InvNum = 50");
        refusal("write fails", "1234", "60.00", "The payment could not be saved: the disk is full",
                "", "refuse UPDATE ON InvDetail");
    }

    void refusalsWriteNothingAndKeepTheForm()
    {
        QFETCH(QString, check);
        QFETCH(QString, amount);
        QFETCH(QString, postDate);
        QFETCH(QString, meanwhile);
        QFETCH(QString, message);
        ScriptedPrompter prompts;
        Payment window;
        QVERIFY(chooseFirstInvoice(window));
        if (meanwhile.startsWith(QLatin1String("refuse ")))
            QVERIFY(TestFolder::refuseWrites(meanwhile.mid(7), QStringLiteral("the disk is full")));
        else if (!meanwhile.isEmpty())
            QVERIFY(DbProbe::exec(meanwhile));
        if (!postDate.isEmpty())
            typeInto(window.txtPostDate, postDate);
        const qint64 before = payments();
        const QString paid = invoice("InvPaid");
        pay(window, amount, check);

        QCOMPARE(prompts.messages(), QStringList{message});
        QCOMPARE(payments(), before);
        QCOMPARE(invoice("InvPaid || ' ' || COALESCE(CAST(CheckNo AS TEXT), '-')"), paid + " -");
        QCOMPARE(
            DbProbe::count(QStringLiteral("InvDetail"), QStringLiteral("InvNum = 50 AND Paid = 1")),
            0);
        QCOMPARE(window.combCustID->currentText(), Ken);
        QCOMPARE(window.labInvNum->text(), QStringLiteral("50"));
        QCOMPARE(window.Text1->text(), amount);
        QCOMPARE(window.txtCheckNo->text(), check.isEmpty() ? QStringLiteral("0") : check);
        if (!meanwhile.isEmpty())
            return;

        // Corrected, the same form goes through.
        prompts.clear();
        typeInto(window.txtPostDate, QDate::currentDate().toString(QStringLiteral("MM/dd/yy")));
        pay(window, QStringLiteral("60.00"), QStringLiteral("1234"));
        QCOMPARE(invoice("InvPaid"), QStringLiteral("1"));
    }

private:
    std::optional<TestFolder> m_folder;
};

QTEST_MAIN(TestReceivables)
#include "tst_receivables.moc"
