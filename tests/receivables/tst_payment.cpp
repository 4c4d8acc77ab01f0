#include "widgets/tabbedlist.h"
#include "data/database.h"
#include "receivables/payment.h"
#include "support/samplebilling.h"
#include "support/scriptedprompter.h"
#include "support/testfolder.h"
#include "support/widgettesting.h"

#include <QAction>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QtTest>

using namespace WidgetTesting;

namespace {

const QString Ken = QStringLiteral("KEN-7 - Kim Chen");
const QString PickInvoice =
    QStringLiteral("Please double click the list box for the invoice you wish to pay!");
const QString NeedNumber = QStringLiteral("Please enter a Check Or Credit Memo number!");
const QString OnlyNumbers = QStringLiteral("Only numbers are allowed in the Check # box");

Currency money(const char* text)
{
    return Currency::parse(QString::fromLatin1(text)).value();
}

// Invoice 50 of the demo customer KEN-7 (who has none): 100.00, of which 40.00 is paid.
bool addHalfPaidInvoice()
{
    return SampleBilling::addInvoice(50, QStringLiteral("KEN-7"), money("100"), {money("40")});
}

QString invoiceValue(const char* column)
{
    return SampleBilling::scalar(
               QStringLiteral("SELECT %1 FROM ARInvoice WHERE InvNum = 50").arg(column))
        .toString();
}

int paymentCount()
{
    return SampleBilling::scalar(
               QStringLiteral("SELECT count(*) FROM AmountPaid WHERE InvNum = 50"))
        .toInt();
}

int paidLines()
{
    return SampleBilling::scalar(
               QStringLiteral("SELECT count(*) FROM InvDetail WHERE InvNum = 50 AND Paid = 1"))
        .toInt();
}

void doubleClick(TabbedList* list, int row)
{
    const QRect line = list->visualRect(list->model()->index(row, 0));
    // A double click as the system delivers it: a press and release, then the second press.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, line.center());
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, line.center());
}

void pay(Payment& window)
{
    window.findChild<QAction*>(QStringLiteral("Pay"))->trigger();
}

// Shows the window, chooses KEN-7 and double-clicks its first open invoice.
bool chooseFirstInvoice(Payment& window)
{
    return showActive(&window) && choose(window.combCustID, Ken) &&
           (doubleClick(window.List2, 0), window.labInvNum->text() == QLatin1String("50"));
}

} // namespace

/** Recording customers' payments against their open invoices. */
class TestPayment : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void listsOpenInvoicesWithWhatIsPaidAndDue()
    {
        TestFolder folder(TestFolder::Content::Demo);
        ScriptedPrompter prompts;
        QVERIFY(addHalfPaidInvoice());
        QVERIFY(SampleBilling::addInvoice(51, QStringLiteral("KEN-7"), money("25.5")));
        QVERIFY(SampleBilling::addInvoice(52, QStringLiteral("KEN-7"), money("10")));
        QVERIFY(SampleBilling::exec(QStringLiteral("UPDATE ARInvoice SET InvPaid = 1 "
                                                   "WHERE InvNum = 52")));
        QVERIFY(SampleBilling::addInvoice(53, QStringLiteral("JTH-1"), money("70")));

        Payment window;
        QVERIFY(showActive(&window));
        QCOMPARE(window.Text1->text(), QStringLiteral("0.00"));
        QVERIFY(choose(window.combCustID, Ken));
        QCOMPARE(window.List1->lines(),
                 (QStringList{"Kim Chen", "301 Spring Street", "Springfield, IL\t62701"}));
        QCOMPARE(window.List2->lines(),
                 (QStringList{"50\t03/05/24\t100\t40\t60", "51\t03/05/24\t25.5\t0\t25.5"}));

        doubleClick(window.List2, 0);
        QCOMPARE(window.labInvNum->text(), QStringLiteral("50"));
        QCOMPARE(window.Text1->text(), QStringLiteral("60.00"));
        QVERIFY(window.Text1->hasFocus());
        QCOMPARE(window.Text1->selectedText(), QStringLiteral("60.00"));
        QVERIFY(prompts.messages().isEmpty());
    }

    void customerWithoutOpenInvoices()
    {
        TestFolder folder(TestFolder::Content::Demo);
        ScriptedPrompter prompts;
        Payment window;
        QVERIFY(showActive(&window));
        QVERIFY(choose(window.combCustID, QStringLiteral("MIA-2 - Maria Garcia")));
        QCOMPARE(window.List2->lines(), QStringList{"No open invoices for this customer"});
        doubleClick(window.List2, 0);
        QCOMPARE(window.labInvNum->text(), QString());
        QCOMPARE(window.Text1->text(), QStringLiteral("0.00"));
        window.txtCheckNo->setText(QStringLiteral("77"));
        pay(window);
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
        QTest::newRow("part") << "20.5" << false;
    }

    void paymentAmounts()
    {
        QFETCH(QString, amount);
        QFETCH(bool, closes);
        TestFolder folder(TestFolder::Content::Demo);
        ScriptedPrompter prompts;
        QVERIFY(addHalfPaidInvoice());
        Payment window;
        QVERIFY(chooseFirstInvoice(window));
        typeInto(window.Text1, amount);
        typeInto(window.txtCheckNo, QStringLiteral("1234"));
        pay(window);

        QVERIFY(prompts.messages().isEmpty());
        QCOMPARE(invoiceValue("InvPaid"), closes ? QStringLiteral("1") : QStringLiteral("0"));
        QCOMPARE(invoiceValue("CheckNo"), QStringLiteral("1234"));
        QCOMPARE(invoiceValue("PayDate"), QDate::currentDate().toString(Qt::ISODate));
        QCOMPARE(paymentCount(), 2);
        QCOMPARE(SampleBilling::scalar(QStringLiteral("SELECT AmtPaid FROM AmountPaid WHERE "
                                                      "InvNum = 50 AND CustID = 'KEN-7' AND "
                                                      "Paid = 1 AND PayDate = ?"),
                                       QDate::currentDate())
                     .toLongLong(),
                 Currency::parse(amount)->units());
        QCOMPARE(paidLines(), 2);

        // The form is ready for the next payment.
        QCOMPARE(window.combCustID->currentText(), QString());
        QCOMPARE(window.List2->count(), 0);
        QCOMPARE(window.labInvNum->text(), QString());
        QCOMPARE(window.Text1->text(), QStringLiteral("0.00"));
        QCOMPARE(window.txtCheckNo->text(), QString());

        QVERIFY(choose(window.combCustID, Ken));
        if (closes) {
            QCOMPARE(window.List2->lines(), QStringList{"No open invoices for this customer"});
        } else {
            const Currency left = money("60") - *Currency::parse(amount);
            QCOMPARE(window.List2->line(0).section(QLatin1Char('\t'), 4), left.toPlainString());
        }
    }

    void eachPaymentKeepsItsNumberAndIsListed()
    {
        TestFolder folder(TestFolder::Content::Demo);
        ScriptedPrompter prompts;
        QVERIFY(addHalfPaidInvoice());
        Payment window;
        const QString today = QDate::currentDate().toString(QStringLiteral("MM/dd/yy"));
        for (const char* check : {"1234", "1235"}) {
            QVERIFY(chooseFirstInvoice(window));
            typeInto(window.Text1, QStringLiteral("30.00"));
            typeInto(window.txtCheckNo, QString::fromLatin1(check));
            pay(window);
            QCOMPARE(window.lstPayments->count(), 0);
        }
        QVERIFY(prompts.messages().isEmpty());
        QCOMPARE(invoiceValue("InvPaid"), QStringLiteral("1"));
        QCOMPARE(
            SampleBilling::scalar(QStringLiteral("SELECT group_concat(Number, ' ') FROM (SELECT "
                                                 "IFNULL(CheckNo, '-') AS Number FROM AmountPaid "
                                                 "WHERE InvNum = 50 ORDER BY rowid)"))
                .toString(),
            QStringLiteral("- 1234 1235"));

        // Opened again, the invoice lists every payment with its number.
        QVERIFY(SampleBilling::exec(QStringLiteral("UPDATE ARInvoice SET InvPaid = 0")));
        QVERIFY(chooseFirstInvoice(window));
        QCOMPARE(window.lstPayments->lines(),
                 (QStringList{"03/06/24\t40.00\t", today + "\t30.00\tCheck # 1234",
                              today + "\t30.00\tCheck # 1235"}));
    }

    void overpaymentIsRefusedAndChangesNothing()
    {
        TestFolder folder(TestFolder::Content::Demo);
        ScriptedPrompter prompts;
        QVERIFY(addHalfPaidInvoice());
        Payment window;
        QVERIFY(chooseFirstInvoice(window));
        typeInto(window.Text1, QStringLiteral("60.01"));
        typeInto(window.txtCheckNo, QStringLiteral("1234"));
        pay(window);

        QCOMPARE(prompts.messages(),
                 QStringList{"The amount is more than the balance due of this invoice; the "
                             "payment was not saved."});
        QCOMPARE(paymentCount(), 1);
        QCOMPARE(invoiceValue("InvPaid"), QStringLiteral("0"));
        QCOMPARE(invoiceValue("CheckNo"), QString());
        QCOMPARE(paidLines(), 0);
        QCOMPARE(window.labInvNum->text(), QStringLiteral("50"));
        QCOMPARE(window.Text1->text(), QStringLiteral("60.01"));
        QCOMPARE(window.txtCheckNo->text(), QStringLiteral("1234"));

        // Corrected to the balance, the same form goes through.
        typeInto(window.Text1, QStringLiteral("60.00"));
        pay(window);
        QCOMPARE(prompts.messages().size(), 1);
        QCOMPARE(invoiceValue("InvPaid"), QStringLiteral("1"));
    }

    void creditMemo()
    {
        TestFolder folder(TestFolder::Content::Demo);
        ScriptedPrompter prompts;
        QVERIFY(addHalfPaidInvoice());
        Payment window;
        QVERIFY(chooseFirstInvoice(window));
        typeInto(window.txtCheckNo, QStringLiteral("abc"));
        QTest::mouseClick(window.chkCredit, Qt::LeftButton, {},
                          QPoint(4, window.chkCredit->height() / 2));
        QVERIFY(window.chkCredit->isChecked());
        QCOMPARE(window.Label9->text(), QStringLiteral("Credit Memo"));
        QVERIFY(window.txtCreditMemo->isVisible());
        QVERIFY(!window.txtCheckNo->isVisible());

        pay(window);
        QCOMPARE(prompts.messages(), QStringList{NeedNumber});
        QCOMPARE(paymentCount(), 1);

        typeInto(window.txtCreditMemo, QStringLiteral("CM-17"));
        pay(window);
        QCOMPARE(prompts.messages().size(), 1);
        QCOMPARE(invoiceValue("CreditMemo"), QStringLiteral("CM-17"));
        QCOMPARE(invoiceValue("CheckNo"), QString());
        QCOMPARE(invoiceValue("InvPaid"), QStringLiteral("1"));
        QCOMPARE(paymentCount(), 2);

        QVERIFY(!window.chkCredit->isChecked());
        QCOMPARE(window.Label9->text(), QStringLiteral("Check #"));
        QVERIFY(window.txtCheckNo->isVisible());
        QVERIFY(!window.txtCreditMemo->isVisible());
        QCOMPARE(window.txtCreditMemo->text(), QString());
    }

    void refusals_data()
    {
        QTest::addColumn<QString>("check");
        QTest::addColumn<QString>("amount");
        QTest::addColumn<QString>("postDate");
        QTest::addColumn<QString>("message");
        const QString today = QStringLiteral("today");
        const QString noInvoice = QStringLiteral("Please select an invoice to pay!");
        const QString notPositive = QStringLiteral("The amount must be a number above zero!");
        QTest::newRow("no check number") << ""
                                         << "60.00" << today << NeedNumber;
        QTest::newRow("check number zero") << "0"
                                           << "60.00" << today << NeedNumber;
        QTest::newRow("letter in check number") << "12a4"
                                                << "60.00" << today << OnlyNumbers;
        QTest::newRow("negative check number") << "-5"
                                               << "60.00" << today << OnlyNumbers;
        QTest::newRow("check number too large") << "99999999999"
                                                << "60.00" << today << OnlyNumbers;
        QTest::newRow("amount 0.00") << "1234"
                                     << "0.00" << today << noInvoice;
        QTest::newRow("no amount") << "1234"
                                   << "" << today << noInvoice;
        QTest::newRow("plain zero") << "1234"
                                    << "0" << today << notPositive;
        QTest::newRow("negative amount") << "1234"
                                         << "-10" << today << notPositive;
        QTest::newRow("amount not a number") << "1234"
                                             << "ten" << today << notPositive;
        QTest::newRow("bad post date") << "1234"
                                       << "60.00"
                                       << "13/45/24"
                                       << "The Post Date is not a valid date!";
    }

    void refusals()
    {
        QFETCH(QString, check);
        QFETCH(QString, amount);
        QFETCH(QString, postDate);
        QFETCH(QString, message);
        TestFolder folder(TestFolder::Content::Demo);
        ScriptedPrompter prompts;
        QVERIFY(addHalfPaidInvoice());
        Payment window;
        QVERIFY(chooseFirstInvoice(window));
        typeInto(window.Text1, amount);
        typeInto(window.txtCheckNo, check);
        if (postDate != QLatin1String("today"))
            typeInto(window.txtPostDate, postDate);
        pay(window);

        QCOMPARE(prompts.messages(), QStringList{message});
        if (check.isEmpty())
            QCOMPARE(window.txtCheckNo->text(), QStringLiteral("0"));
        QCOMPARE(paymentCount(), 1);
        QCOMPARE(invoiceValue("InvPaid"), QStringLiteral("0"));
        QCOMPARE(paidLines(), 0);
        QCOMPARE(window.labInvNum->text(), QStringLiteral("50"));
        QCOMPARE(window.Text1->text(), amount);
    }

    void choosingAnotherCustomerForgetsTheInvoice()
    {
        TestFolder folder(TestFolder::Content::Demo);
        ScriptedPrompter prompts;
        QVERIFY(addHalfPaidInvoice());
        Payment window;
        QVERIFY(chooseFirstInvoice(window));
        QVERIFY(choose(window.combCustID, QStringLiteral("AES-3 - Allen Dental Associates")));
        QCOMPARE(window.labInvNum->text(), QString());
        QCOMPARE(window.Text1->text(), QStringLiteral("0.00"));
        QCOMPARE(window.List2->lines(),
                 QStringList{"1\t" +
                             QDate::currentDate().addDays(-4).toString(QStringLiteral("MM/dd/yy")) +
                             "\t144.82\t50\t94.82"});

        typeInto(window.Text1, QStringLiteral("60.00"));
        typeInto(window.txtCheckNo, QStringLiteral("1234"));
        pay(window);
        QCOMPARE(prompts.messages(), QStringList{PickInvoice});
        QCOMPARE(SampleBilling::scalar(QStringLiteral("SELECT count(*) FROM AmountPaid")).toInt(),
                 2);
    }

    void invoiceSettledMeanwhileIsNotPaidTwice()
    {
        TestFolder folder(TestFolder::Content::Demo);
        ScriptedPrompter prompts;
        QVERIFY(addHalfPaidInvoice());
        Payment window;
        QVERIFY(chooseFirstInvoice(window));
        QVERIFY(SampleBilling::exec(QStringLiteral("UPDATE ARInvoice SET InvPaid = 1 "
                                                   "WHERE InvNum = 50")));
        typeInto(window.txtCheckNo, QStringLiteral("1234"));
        pay(window);
        QCOMPARE(prompts.messages(),
                 QStringList{"This invoice is no longer open for this customer; the payment was "
                             "not saved."});
        QCOMPARE(paymentCount(), 1);
        QCOMPARE(window.labInvNum->text(), QStringLiteral("50"));
    }

    void failedWriteLeavesEverythingAsItWas()
    {
        TestFolder folder(TestFolder::Content::Demo);
        ScriptedPrompter prompts;
        QVERIFY(addHalfPaidInvoice());
        QVERIFY(SampleBilling::exec(
            QStringLiteral("CREATE TRIGGER FailLines BEFORE UPDATE ON InvDetail "
                           "BEGIN SELECT RAISE(ABORT, 'the disk is full'); END")));
        Payment window;
        QVERIFY(chooseFirstInvoice(window));
        typeInto(window.txtCheckNo, QStringLiteral("1234"));
        pay(window);

        QCOMPARE(prompts.messages().size(), 1);
        QVERIFY(prompts.lastMessage().startsWith("The payment could not be saved: "));
        QVERIFY(prompts.lastMessage().contains("the disk is full"));
        QCOMPARE(paymentCount(), 1);
        QCOMPARE(invoiceValue("InvPaid"), QStringLiteral("0"));
        QCOMPARE(invoiceValue("CheckNo"), QString());
        QCOMPARE(window.labInvNum->text(), QStringLiteral("50"));
        QCOMPARE(window.Text1->text(), QStringLiteral("60.00"));
        QCOMPARE(window.txtCheckNo->text(), QStringLiteral("1234"));
        QCOMPARE(window.combCustID->currentText(), Ken);
    }

    void manyInvoicesListAtOnce()
    {
        TestFolder folder(TestFolder::Content::Demo);
        ScriptedPrompter prompts;
        constexpr int Count = 5000;
        {
            Database db;
            Transaction transaction(db);
            for (int n = 100; n < 100 + Count; ++n) {
                QVERIFY(db.exec(QStringLiteral("INSERT INTO ARInvoice (InvNum, InvDate, CustID, "
                                               "InvTotal) VALUES (?, '2024-01-02', 'KEN-7', ?)"),
                                n, money("30")));
                QVERIFY(db.exec(QStringLiteral("INSERT INTO AmountPaid (InvNum, CustID, "
                                               "AmtPaid) VALUES (?, 'KEN-7', ?)"),
                                n, money("10")));
                QVERIFY(db.exec(QStringLiteral("INSERT INTO AmountPaid (InvNum, CustID, "
                                               "AmtPaid) VALUES (?, 'KEN-7', ?)"),
                                n, money("5.25")));
            }
            QVERIFY(transaction.commit());
        }
        Payment window;
        QVERIFY(showActive(&window));
        QElapsedTimer timer;
        timer.start();
        QVERIFY(choose(window.combCustID, Ken));
        qInfo("%d open invoices listed in %lld ms", Count, timer.elapsed());
        QCOMPARE(window.List2->count(), Count);
        QCOMPARE(window.List2->line(Count - 1),
                 QStringLiteral("%1\t01/02/24\t30\t15.25\t14.75").arg(99 + Count));
    }
};

QTEST_MAIN(TestPayment)
#include "tst_payment.moc"
