#include "helpdesk/invoiceframe.h"

#include "data/conversions.h"
#include "helpdesk/counterbox.h"
#include "helpdesk/lookupstore.h"
#include "reports/invoiceprinting.h"
#include "widgets/formbuilder.h"
#include "widgets/hourglass.h"
#include "widgets/inputhelpers.h"
#include "widgets/listheadings.h"
#include "widgets/listread.h"
#include "widgets/prompter.h"
#include "widgets/statusnotice.h"
#include "widgets/tabbedlist.h"

#include <QApplication>
#include <QFocusEvent>
#include <QGridLayout>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString PartSeparator = QStringLiteral(" - ");

/** The part number of a line of combInvPart: its text before " - ". */
QString partOfLine(const QString& line)
{
    const qsizetype separator = line.indexOf(PartSeparator);
    return separator < 0 ? line : line.left(separator);
}

/** The window a widget belongs to: its top-level window, or the child window of the main
 *  window's workspace that holds it. */
const QWidget* formOf(const QWidget* widget)
{
    while (!widget->isWindow() && !qobject_cast<QMdiSubWindow*>(widget->parentWidget()))
        widget = widget->parentWidget();
    return widget;
}

QString lineText(const QStringList& fields)
{
    return fields.join(QLatin1Char('\t'));
}

} // namespace

InvoiceFrame::InvoiceFrame(HelpDeskState& state, QLineEdit* customerIdBox, QLineEdit* workOrderBox,
                           QWidget* parent)
    : QGroupBox(tr("Invoice"), parent), m_state(state), m_customerIdBox(customerIdBox),
      m_workOrderBox(workOrderBox)
{
    setObjectName(QStringLiteral("Invoice"));
    const FormBuilder ui(this);
    txtInvNum = ui.readOnlyBox(QStringLiteral("txtInvNum"));
    combInvPart = ui.searchCombo(QStringLiteral("combInvPart"));
    m_parts = ListRead::install(combInvPart, tr("The part list"), &LookupStore::partLines,
                                [this](const QStringList& lines) {
                                    combInvPart->clear();
                                    combInvPart->addItems(lines);
                                    combInvPart->setCurrentIndex(-1);
                                    combInvPart->setEditText(QString());
                                });
    txtInvDesc = ui.textBox(QStringLiteral("txtInvDesc"));
    txtPrice = ui.textBox(QStringLiteral("txtPrice"));
    txtInvQty = ui.textBox(QStringLiteral("txtInvQty"));
    txtInvSubTotal = ui.readOnlyBox(QStringLiteral("txtInvSubTotal"));
    lstInvItems = ui.tabbedList(QStringLiteral("lstInvItems"), {40, 130, 160, 200, 250});
    txtInvTax = ui.readOnlyBox(QStringLiteral("txtInvTax"));
    txtInvTotal = ui.readOnlyBox(QStringLiteral("txtInvTotal"));
    cmdInvoice = ui.button(QStringLiteral("cmdInvoice"), tr("Invoice"));
    cmdClearInv = ui.button(QStringLiteral("cmdClearInv"), tr("Clear"));

    // Sized by a fixed width, not by measuring every one of thousands of entries.
    combInvPart->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    combInvPart->setMinimumContentsLength(12);
    combInvPart->setEditText(QString());
    InputHelpers::selectOnFocus({txtInvQty});
    // A long part number or description is cut short rather than pushing the amounts out from
    // under their headings.
    lstInvItems->setFieldsKeepColumns(true);
    lstInvItems->setMinimumHeight(lstInvItems->fontMetrics().lineSpacing() * 3);
    showTally();
    buildLayout(ui);

    connect(combInvPart, &QComboBox::activated, this, &InvoiceFrame::combInvPart_Click);
    connect(txtInvQty, &QLineEdit::textChanged, this, &InvoiceFrame::txtInvQty_Change);
    // An edited price changes the line amount as a changed quantity does.
    connect(txtPrice, &QLineEdit::textChanged, this, &InvoiceFrame::txtInvQty_Change);
    txtInvQty->installEventFilter(this);
    lstInvItems->installEventFilter(this);
    connect(lstInvItems, &TabbedList::lineClicked, this, &InvoiceFrame::lstInvItems_Click);
    connect(cmdInvoice, &QPushButton::clicked, this, &InvoiceFrame::cmdInvoice_Click);
    connect(cmdClearInv, &QPushButton::clicked, this, &InvoiceFrame::cmdClearInv_Click);
}

void InvoiceFrame::buildLayout(const FormBuilder& ui)
{
    auto* entry = new QGridLayout;
    ui.addLabelled(entry, 0, 0, tr("Invoice #"), txtInvNum);
    ui.addLabelled(entry, 0, 2, tr("Part#"), combInvPart, 3);
    ui.addLabelled(entry, 1, 0, tr("Description"), txtInvDesc, 5);
    ui.addLabelled(entry, 2, 0, tr("Price"), txtPrice);
    ui.addLabelled(entry, 2, 2, tr("Qty"), txtInvQty);
    ui.addLabelled(entry, 2, 4, tr("Total"), txtInvSubTotal);
    entry->setVerticalSpacing(4);
    for (int column : {1, 3, 5})
        entry->setColumnStretch(column, 1);

    auto* totals = new QGridLayout;
    ui.addLabelled(totals, 0, 0, tr("Tax"), txtInvTax);
    ui.addLabelled(totals, 0, 2, tr("Invoice Total "), txtInvTotal);
    totals->setColumnStretch(4, 1);
    totals->addWidget(cmdInvoice, 0, 5);
    totals->addWidget(cmdClearInv, 0, 6);

    auto* frame = new QVBoxLayout(this);
    frame->addLayout(entry);
    frame->addWidget(new ListHeadings(
        lstInvItems, {tr("Part#"), tr("Description"), tr("Qty"), tr("Price"), tr("Total")}, this));
    frame->addWidget(lstInvItems, 1);
    frame->addLayout(totals);
}

void InvoiceFrame::fillParts()
{
    m_parts->refresh();
}

void InvoiceFrame::showNextInvoiceNumber()
{
    CounterBox::showNext(txtInvNum, Counter::Invoice);
}

void InvoiceFrame::clearInvoiceEntry()
{
    clearLineEntry();
    lstInvItems->clear();
    m_lines.clear();
    m_tally = InvoiceTally();
    showTally();
    cmdInvoice->setEnabled(true);
}

void InvoiceFrame::clearLineEntry()
{
    combInvPart->setEditText(QString());
    txtInvDesc->clear();
    txtInvQty->clear();
    txtPrice->clear();
    txtInvSubTotal->clear();
}

void InvoiceFrame::showTally()
{
    txtInvTax->setText(m_tally.taxText);
    txtInvTotal->setText(m_tally.totalText);
}

bool InvoiceFrame::eventFilter(QObject* watched, QEvent* event)
{
    // Only a move to another control of this window leaves the box: not a message box, a menu,
    // another window or the window closing.
    if (watched == txtInvQty && event->type() == QEvent::FocusOut) {
        const QWidget* next = QApplication::focusWidget();
        if (next && formOf(next) == formOf(txtInvQty))
            txtInvQty_LostFocus();
    }
    if (watched == lstInvItems && event->type() == QEvent::FocusIn && lstInvItems->count() > 0 &&
        lstInvItems->currentRow() < 0 &&
        static_cast<QFocusEvent*>(event)->reason() != Qt::MouseFocusReason) {
        // The view would make its first line current on arriving by Tab, and a line that
        // becomes current is removed: arriving must not remove anything.
        lstInvItems->viewport()->update();
        return true;
    }
    return QGroupBox::eventFilter(watched, event);
}

void InvoiceFrame::combInvPart_Click(int index)
{
    m_chosenPart = partOfLine(combInvPart->itemText(index));
    const auto part = Hourglass::around([this] { return InvoiceStore::part(m_chosenPart); });
    if (part) {
        txtInvDesc->setText(part->description);
        txtPrice->setText(part->price.toPlainString());
    } else {
        statusNotice().show(
            StatusNotice::readFailed(tr("Part %1").arg(m_chosenPart), part.status()));
    }
    txtInvQty->setFocus();
}

void InvoiceFrame::txtInvQty_Change()
{
    txtInvSubTotal->setText(InvoiceArithmetic::lineAmountText(txtInvQty->text(), txtPrice->text()));
}

QString InvoiceFrame::lineProblem() const
{
    // The part shown must still be the one chosen, whose price and tax are looked up.
    const QString partText = combInvPart->currentText();
    if (partText.isEmpty() || m_chosenPart.isEmpty() || partOfLine(partText) != m_chosenPart)
        return tr("Please select a part number to bill.");
    if (txtInvQty->text().isEmpty())
        return tr("Please enter a quantity.");
    if (m_customerIdBox->text().isEmpty())
        return tr("Please select a customer to bill.");
    if (!conv::isNumeric(txtInvQty->text()))
        return tr("Please enter the quantity as a number.");
    if (!Currency::parse(txtPrice->text()))
        return tr("Please enter the price as a number.");
    return QString();
}

void InvoiceFrame::txtInvQty_LostFocus()
{
    if (const QString problem = lineProblem(); !problem.isEmpty()) {
        prompter().message(problem);
        return;
    }
    const Result<PartPricing> part = InvoiceStore::part(m_chosenPart);
    if (!part) {
        prompter().message(tr("The part could not be billed.\n%1").arg(part.status().message()));
        return;
    }
    ListedLine line;
    line.detail.partNo = m_chosenPart;
    line.detail.description = txtInvDesc->text();
    line.detail.quantity = txtInvQty->text().trimmed().toDouble();
    line.detail.price = Currency::fromText(txtPrice->text());
    line.charge = InvoiceArithmetic::addLine(
        m_tally, line.detail.quantity, line.detail.price.toDouble(), txtInvSubTotal->text(),
        part->taxable ? std::optional<double>(part->taxRate) : std::nullopt);
    lstInvItems->addLine(lineText({m_chosenPart, txtInvDesc->text(), txtInvQty->text(),
                                   txtPrice->text(), txtInvSubTotal->text()}));
    m_lines.append(line);
    showTally();
    clearLineEntry();
    combInvPart->setFocus();
}

void InvoiceFrame::lstInvItems_Click(int row)
{
    if (m_removingLine || row < 0 || row >= m_lines.size())
        return;
    // Removing the current line makes another one current, which must not remove that too.
    m_removingLine = true;
    lstInvItems->removeLine(row);
    lstInvItems->setCurrentRow(-1);
    m_removingLine = false;
    const ListedLine line = m_lines.takeAt(row);
    InvoiceArithmetic::removeLine(m_tally, line.charge, m_lines.isEmpty());
    showTally();
}

void InvoiceFrame::cmdInvoice_Click()
{
    if (m_customerIdBox->text().isEmpty()) {
        prompter().message(tr("Please select a customer to bill."));
        return;
    }
    if (m_lines.isEmpty()) {
        prompter().message(tr("Please select an item to bill."));
        return;
    }
    NewInvoice invoice;
    invoice.customerId = m_customerIdBox->text();
    invoice.date = m_state.postDate;
    invoice.tax = m_tally.tax;
    invoice.total = Currency::fromText(m_tally.totalText);
    invoice.ticket = m_state.currentTicket;
    if (const auto workOrder = conv::toInt32(m_workOrderBox->text()); workOrder.ok())
        invoice.shownWorkOrder = workOrder.value;
    for (const ListedLine& line : std::as_const(m_lines))
        invoice.lines.append(line.detail);

    const Result<std::int32_t> written = Hourglass::around(
        [&] { return InvoiceStore::write(invoice, CounterBox::shown(txtInvNum)); });
    if (!written) {
        prompter().message(
            tr("The invoice could not be written.\n%1").arg(written.status().message()));
        return;
    }
    CounterBox::showFollowing(txtInvNum, *written);
    clearInvoiceEntry();
    offerToPrint(*written);
}

void InvoiceFrame::offerToPrint(std::int32_t invoiceNumber)
{
    if (!prompter().confirm(tr("Do you want to print this invoice now?"), Prompter::defaultTitle(),
                            Prompter::Icon::None)) {
        prompter().message(tr("You can print the invoice later by selecting\n"
                              "Print All Invoices on the report menu."));
        return;
    }
    // The engine shows why a run failed; the invoice is marked printed only after a run.
    InvoicePrinting::printInvoice(invoiceNumber);
}

void InvoiceFrame::cmdClearInv_Click()
{
    clearInvoiceEntry();
}
