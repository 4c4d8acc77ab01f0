#include "receivables/payment.h"

#include "data/conversions.h"
#include "receivables/customercombo.h"
#include "receivables/customerlist.h"
#include "receivables/paymentstore.h"
#include "widgets/formbuilder.h"
#include "widgets/hourglass.h"
#include "widgets/inputhelpers.h"
#include "widgets/listheadings.h"
#include "widgets/prompter.h"
#include "widgets/statusnotice.h"
#include "widgets/tabbedlist.h"
#include "widgets/windowconventions.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QToolBar>
#include <QVBoxLayout>

namespace {

const QString NoOpenInvoices = QStringLiteral("No open invoices for this customer");
const QString ZeroAmount = QStringLiteral("0.00");

QString invoiceLine(const PaymentStore::OpenInvoice& invoice)
{
    return QStringList{QString::number(invoice.invNum), conv::formatDate(invoice.invDate),
                       invoice.total.toPlainString(), invoice.paid.toPlainString(),
                       invoice.balance().toPlainString()}
        .join(QLatin1Char('\t'));
}

QString paymentLine(const PaymentStore::RecordedPayment& payment)
{
    QString number;
    if (payment.checkNo)
        number = QStringLiteral("Check # ") + QString::number(*payment.checkNo);
    else if (!payment.creditMemo.isEmpty())
        number = QStringLiteral("Credit Memo ") + payment.creditMemo;
    return QStringList{conv::formatDate(payment.payDate), payment.amount.toString(), number}.join(
        QLatin1Char('\t'));
}

/** A check number: whole, not negative, within the 32-bit range. */
std::optional<std::int32_t> checkNumber(const QString& text)
{
    const QString digits = text.trimmed();
    for (QChar c : digits) {
        if (!c.isDigit())
            return std::nullopt;
    }
    const auto number = conv::toInt32(digits);
    if (digits.isEmpty() || !number.ok())
        return std::nullopt;
    return number.value;
}

} // namespace

Payment::Payment(QWidget* parent) : QWidget(parent)
{
    Hourglass busy;
    setObjectName(QStringLiteral("Payment"));
    setWindowTitle(QStringLiteral("Pay Invoice"));
    WindowConventions::applyIcon(this);
    resize(WindowConventions::TaskWindowSize);
    buildControls();

    List2->setTabStops({50, 110, 180, 225, 285});
    Text1->setText(ZeroAmount);
    txtPostDate->setText(conv::formatDate(QDate::currentDate()));
}

void Payment::buildControls()
{
    const FormBuilder form(this);
    Toolbar1 = form.toolbar(QStringLiteral("Toolbar1"));
    FormBuilder::toolButton(Toolbar1, QStringLiteral("Pay"), QStringLiteral("Pay"),
                            QStringLiteral("Pay Invoice"), QStyle::SP_DialogApplyButton);
    FormBuilder::toolButton(Toolbar1, QStringLiteral("Clear"), QStringLiteral("Clear"),
                            QStringLiteral("Clear Form"), QStyle::SP_DialogResetButton);

    combCustID = CustomerCombo::create(this);
    txtPostDate = form.textBox(QStringLiteral("txtPostDate"));
    txtPostDate->setMaximumWidth(100);
    List1 = form.tabbedList(QStringLiteral("List1"), {120});
    List1->setFixedHeight(List1->fontMetrics().height() * 4 + 8);
    List2 = form.tabbedList(QStringLiteral("List2"));
    labInvNum = form.make<QLabel>(QStringLiteral("labInvNum"));
    labInvNum->setFrameShape(QFrame::StyledPanel);
    labInvNum->setMinimumWidth(100);
    Text1 = form.textBox(QStringLiteral("Text1"));
    Text1->setProperty("index", 4);
    Text1->setMaximumWidth(120);
    chkCredit = form.checkBox(QStringLiteral("chkCredit"), QStringLiteral("Credit Memo"));
    Label9 = form.make<QLabel>(QStringLiteral("Label9"), QStringLiteral("Check #"));
    txtCheckNo = form.textBox(QStringLiteral("txtCheckNo"));
    txtCreditMemo = form.textBox(QStringLiteral("txtCreditMemo"));
    txtCreditMemo->hide();
    lstPayments = form.tabbedList(QStringLiteral("lstPayments"), {50, 100});
    lstPayments->setFixedHeight(lstPayments->fontMetrics().height() * 4 + 8);

    layOutControls(form);
    InputHelpers::selectOnFocus({Text1, txtCheckNo, txtCreditMemo});
    connect(combCustID, &QComboBox::activated, this, &Payment::combCustID_Click);
    connect(List2, &TabbedList::lineDoubleClicked, this, &Payment::List2_DblClick);
    connect(chkCredit, &QCheckBox::clicked, this, &Payment::chkCredit_Click);
    connect(Toolbar1, &QToolBar::actionTriggered, this, &Payment::Toolbar1_ButtonClick);
}

void Payment::layOutControls(const FormBuilder& form)
{
    auto* top = new QGridLayout;
    form.addLabelled(top, 0, 0, QStringLiteral("Customer"), combCustID);
    form.addLabelled(top, 0, 3, QStringLiteral("Post Date"), txtPostDate);
    top->addWidget(List1, 1, 1);
    top->setColumnStretch(2, 1);

    auto* payment = new QGridLayout;
    form.addLabelled(payment, 0, 0, QStringLiteral("Pay Invoice #"), labInvNum);
    form.addLabelled(payment, 1, 0, QStringLiteral("In the amount of:"), Text1);
    payment->addWidget(chkCredit, 0, 3);
    payment->addWidget(Label9, 1, 3);
    payment->addWidget(txtCheckNo, 1, 4);
    payment->addWidget(txtCreditMemo, 1, 4);
    payment->setColumnMinimumWidth(2, 40);
    payment->setColumnStretch(5, 1);

    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(Toolbar1);
    layout->addLayout(top);
    layout->addWidget(
        new ListHeadings(List2,
                         {QStringLiteral("Invoice #"), QStringLiteral("Invoice Date"),
                          QStringLiteral("Invoice Total"), QStringLiteral("Amount    Paid"),
                          QStringLiteral("Balance Due")},
                         this));
    layout->addWidget(List2, 1);
    layout->addLayout(payment);
    layout->addWidget(new ListHeadings(lstPayments,
                                       {QStringLiteral("Paid On"), QStringLiteral("Amount"),
                                        QStringLiteral("Check # / Credit Memo")},
                                       this));
    layout->addWidget(lstPayments);
}

QString Payment::customerId() const
{
    return CustomerList::idOf(combCustID->currentText(), QStringLiteral(" "));
}

void Payment::forgetInvoice()
{
    m_invoice.reset();
    labInvNum->clear();
    Text1->setText(ZeroAmount);
    lstPayments->clear();
}

void Payment::listPayments(std::int32_t invNum)
{
    const auto recorded = PaymentStore::payments(invNum);
    if (!recorded) {
        lstPayments->clear();
        statusNotice().show(StatusNotice::readFailed(
            QStringLiteral("The payments of invoice %1").arg(invNum), recorded.status()));
        return;
    }
    QStringList lines;
    for (const PaymentStore::RecordedPayment& payment : *recorded)
        lines << paymentLine(payment);
    lstPayments->setLines(lines);
}

void Payment::combCustID_Click()
{
    Hourglass busy;
    List1->clear();
    List2->clear();
    // A payment must never be booked against an invoice of the customer chosen before.
    forgetInvoice();
    if (combCustID->currentIndex() < 0) // typed text that names no customer
        return;
    const QString custId = customerId();
    const auto address = PaymentStore::customerAddress(custId);
    if (!address) {
        statusNotice().show(StatusNotice::readFailed(
            QStringLiteral("The address of %1").arg(custId), address.status()));
    } else if (*address) {
        const PaymentStore::Address& a = **address;
        List1->setLines({a.name, a.street,
                         a.city + QStringLiteral(", ") + a.state + QLatin1Char('\t') + a.zip});
    }
    const auto invoices = PaymentStore::openInvoices(custId);
    if (!invoices) {
        statusNotice().show(StatusNotice::readFailed(
            QStringLiteral("The open invoices of %1").arg(custId), invoices.status()));
        return;
    }
    QStringList lines;
    lines.reserve(invoices->size());
    for (const PaymentStore::OpenInvoice& invoice : *invoices)
        lines << invoiceLine(invoice);
    if (lines.isEmpty())
        lines << NoOpenInvoices;
    List2->setLines(lines);
}

void Payment::List2_DblClick(int row)
{
    const QString line = List2->line(row);
    const qsizetype tab = line.indexOf(QLatin1Char('\t'));
    if (tab < 0)
        return;
    const auto number = conv::toInt32(line.left(tab));
    if (!number.ok())
        return;
    Hourglass busy;
    const auto invoice = PaymentStore::openInvoice(customerId(), number.value);
    if (!invoice) {
        statusNotice().show(StatusNotice::readFailed(QStringLiteral("Invoice %1").arg(number.value),
                                                     invoice.status()));
        return;
    }
    if (!*invoice)
        return;
    m_invoice = number.value;
    labInvNum->setText(QString::number(number.value));
    listPayments(number.value);
    Text1->setText((*invoice)->balance().toString());
    Text1->setFocus();
}

void Payment::chkCredit_Click()
{
    const bool credit = chkCredit->isChecked();
    Label9->setText(credit ? QStringLiteral("Credit Memo") : QStringLiteral("Check #"));
    txtCheckNo->setVisible(!credit);
    txtCreditMemo->setVisible(credit);
}

void Payment::Toolbar1_ButtonClick(QAction* button)
{
    if (button->objectName() == QLatin1String("Pay"))
        pay();
    else if (button->objectName() == QLatin1String("Clear"))
        clearForm();
}

void Payment::pay()
{
    const QString custId = customerId();
    auto refuse = [](const char* text) { prompter().message(QString::fromUtf8(text)); };
    if (labInvNum->text().isEmpty() || !m_invoice)
        return refuse("Please double click the list box for the invoice you wish to pay!");
    const bool byCreditMemo = chkCredit->isChecked();
    if (txtCheckNo->text().isEmpty())
        txtCheckNo->setText(QStringLiteral("0"));
    // The hidden check box plays no part in a credit memo payment.
    const auto checkNo =
        byCreditMemo ? std::optional<std::int32_t>(0) : checkNumber(txtCheckNo->text());
    if (!checkNo)
        return refuse("Only numbers are allowed in the Check # box");
    if (custId.isEmpty())
        return refuse("Please select a Customer!");
    if (Text1->text().isEmpty() || Text1->text() == ZeroAmount)
        return refuse("Please select an invoice to pay!");
    const auto amount = Currency::parse(Text1->text());
    if (!amount || *amount <= Currency())
        return refuse("The amount must be a number above zero!");
    if (byCreditMemo ? txtCreditMemo->text().trimmed().isEmpty() : *checkNo == 0)
        return refuse("Please enter a Check Or Credit Memo number!");
    const auto payDate = conv::parseDate(txtPostDate->text());
    if (!payDate)
        return refuse("The Post Date is not a valid date!");

    PaymentStore::Payment payment;
    payment.invNum = *m_invoice;
    payment.custId = custId;
    payment.amount = *amount;
    payment.payDate = *payDate;
    payment.byCreditMemo = byCreditMemo;
    payment.checkNo = *checkNo;
    payment.creditMemo = txtCreditMemo->text();
    const auto outcome = Hourglass::around([&] { return PaymentStore::record(payment); });
    if (!outcome) {
        prompter().message(
            QStringLiteral("The payment could not be saved: %1").arg(outcome.status().message()));
        return;
    }
    switch (*outcome) {
    case PaymentStore::Outcome::NotOpen:
        return refuse("This invoice is no longer open for this customer; the payment was not "
                      "saved.");
    case PaymentStore::Outcome::MoreThanBalance:
        return refuse("The amount is more than the balance due of this invoice; the payment was "
                      "not saved.");
    case PaymentStore::Outcome::PaidInFull:
    case PaymentStore::Outcome::PartlyPaid:
        clearForm();
        return;
    }
}

void Payment::clearForm()
{
    List1->clear();
    List2->clear();
    combCustID->setCurrentIndex(-1);
    combCustID->setEditText(QString());
    chkCredit->setChecked(false);
    chkCredit_Click();
    forgetInvoice();
    txtCheckNo->clear();
    txtCreditMemo->clear();
}
