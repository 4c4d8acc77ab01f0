#include "helpdesk/invoiceframe.h"

#include "app/comboautocomplete.h"
#include "app/inputhelpers.h"
#include "app/tabbedlist.h"
#include "helpdesk/counterbox.h"
#include "helpdesk/helpdeskwidgets.h"
#include "helpdesk/lookupstore.h"

#include <QEvent>
#include <QGridLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace HelpDeskWidgets;

namespace {

const QString Zero = QStringLiteral("0.00");

} // namespace

InvoiceFrame::InvoiceFrame(HelpDeskState& state, QLineEdit* customerIdBox, QLineEdit* workOrderBox,
                           QWidget* parent)
    : QGroupBox(tr("Invoice"), parent), txtInvNum(readOnlyBox("txtInvNum")),
      combInvPart(named<QComboBox>("combInvPart")), txtInvDesc(textBox("txtInvDesc")),
      txtPrice(textBox("txtPrice")), txtInvQty(textBox("txtInvQty")),
      txtInvSubTotal(readOnlyBox("txtInvSubTotal")), lstInvItems(named<TabbedList>("lstInvItems")),
      txtInvTax(readOnlyBox("txtInvTax")), txtInvTotal(readOnlyBox("txtInvTotal")),
      cmdInvoice(button("cmdInvoice", tr("Invoice"))),
      cmdClearInv(button("cmdClearInv", tr("Clear"))), m_state(state),
      m_customerIdBox(customerIdBox), m_workOrderBox(workOrderBox)
{
    setObjectName(QStringLiteral("Invoice"));
    ComboAutoComplete::install(combInvPart);
    combInvPart->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    combInvPart->setMinimumContentsLength(12);
    combInvPart->setEditText(QString());
    InputHelpers::selectOnFocus({txtInvQty});
    lstInvItems->setTabStops({40, 130, 160, 200, 250});
    lstInvItems->setMinimumHeight(lstInvItems->fontMetrics().lineSpacing() * 3);
    txtInvTax->setText(Zero);
    txtInvTotal->setText(Zero);
    buildLayout();

    connect(combInvPart, &QComboBox::activated, this, &InvoiceFrame::combInvPart_Click);
    connect(txtInvQty, &QLineEdit::textChanged, this, &InvoiceFrame::txtInvQty_Change);
    txtInvQty->installEventFilter(this);
    connect(lstInvItems, &TabbedList::lineClicked, this, &InvoiceFrame::lstInvItems_Click);
    connect(cmdInvoice, &QPushButton::clicked, this, &InvoiceFrame::cmdInvoice_Click);
    connect(cmdClearInv, &QPushButton::clicked, this, &InvoiceFrame::cmdClearInv_Click);
}

void InvoiceFrame::buildLayout()
{
    auto* entry = new QGridLayout;
    addLabelled(entry, 0, 0, tr("Invoice #"), txtInvNum);
    addLabelled(entry, 0, 2, tr("Part#"), combInvPart, 3);
    addLabelled(entry, 1, 0, tr("Description"), txtInvDesc, 5);
    addLabelled(entry, 2, 0, tr("Price"), txtPrice);
    addLabelled(entry, 2, 2, tr("Qty"), txtInvQty);
    addLabelled(entry, 2, 4, tr("Total"), txtInvSubTotal);
    entry->setVerticalSpacing(4);
    for (int column : {1, 3, 5})
        entry->setColumnStretch(column, 1);

    auto* totals = new QGridLayout;
    addLabelled(totals, 0, 0, tr("Tax"), txtInvTax);
    addLabelled(totals, 0, 2, tr("Invoice Total "), txtInvTotal);
    totals->setColumnStretch(4, 1);
    totals->addWidget(cmdInvoice, 0, 5);
    totals->addWidget(cmdClearInv, 0, 6);

    auto* frame = new QVBoxLayout(this);
    frame->addLayout(entry);
    frame->addWidget(lstInvItems, 1);
    frame->addLayout(totals);
}

void InvoiceFrame::fillParts()
{
    Database db;
    combInvPart->addItems(LookupStore::partLines(db).valueOr({}));
    combInvPart->setCurrentIndex(-1);
    combInvPart->setEditText(QString());
}

void InvoiceFrame::showNextInvoiceNumber()
{
    CounterBox::showNext(txtInvNum, Counter::Invoice);
}

void InvoiceFrame::clearInvoiceEntry()
{
    combInvPart->setEditText(QString());
    txtInvDesc->clear();
    txtInvQty->clear();
    txtPrice->clear();
    txtInvSubTotal->clear();
    lstInvItems->clear();
    txtInvTotal->setText(Zero);
    txtInvTax->setText(Zero);
    m_taxAccumulator = Currency();
    cmdInvoice->setEnabled(true);
}

bool InvoiceFrame::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == txtInvQty && event->type() == QEvent::FocusOut)
        txtInvQty_LostFocus();
    return QGroupBox::eventFilter(watched, event);
}

void InvoiceFrame::combInvPart_Click(int) {}

void InvoiceFrame::txtInvQty_Change() {}

void InvoiceFrame::txtInvQty_LostFocus() {}

void InvoiceFrame::lstInvItems_Click(int) {}

void InvoiceFrame::cmdInvoice_Click() {}

void InvoiceFrame::cmdClearInv_Click()
{
    clearInvoiceEntry();
}
