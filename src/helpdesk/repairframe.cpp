#include "helpdesk/repairframe.h"

#include "app/comboautocomplete.h"
#include "helpdesk/counterbox.h"
#include "helpdesk/helpdeskwidgets.h"
#include "helpdesk/invoiceframe.h"
#include "helpdesk/lookupstore.h"
#include "helpdesk/ticketstore.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace HelpDeskWidgets;

RepairFrame::RepairFrame(HelpDeskState& state, QLineEdit* customerIdBox, QWidget* parent)
    : QGroupBox(tr("Repair"), parent), txtWorkOrder(readOnlyBox("txtWorkOrder")),
      txtRMA(readOnlyBox("txtRMA")), combRepairTech(named<QComboBox>("combRepairTech")),
      txtRepairNotes(textArea("txtRepairNotes")),
      cmdCreateWrkOrd(button("cmdCreateWrkOrd", tr("Create "))),
      cmdRepairEdit(button("cmdRepairEdit", tr("Edit"))),
      cmdClearRepair(button("cmdClearRepair", tr("Clear"))), m_state(state),
      m_customerIdBox(customerIdBox),
      m_invoice(new InvoiceFrame(state, customerIdBox, txtWorkOrder))
{
    setObjectName(QStringLiteral("Repair"));
    ComboAutoComplete::install(combRepairTech);
    combRepairTech->setEditText(QString());
    buildLayout();

    connect(cmdCreateWrkOrd, &QPushButton::clicked, this, &RepairFrame::cmdCreateWrkOrd_Click);
    connect(cmdRepairEdit, &QPushButton::clicked, this, &RepairFrame::cmdRepairEdit_Click);
    connect(cmdClearRepair, &QPushButton::clicked, this, &RepairFrame::cmdClearRepair_Click);
    connect(combRepairTech, &QComboBox::activated, this, &RepairFrame::combRepairTech_Click);
}

void RepairFrame::buildLayout()
{
    auto* order = new QGridLayout;
    addLabelled(order, 0, 0, tr("Work Order #"), txtWorkOrder);
    addLabelled(order, 1, 0, tr("RMA #"), txtRMA);
    addLabelled(order, 2, 0, tr("Repair Tech"), combRepairTech);
    auto* notes = new QVBoxLayout;
    addAbove(notes, tr("Repair Notes"), txtRepairNotes);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdCreateWrkOrd);
    buttons->addWidget(cmdRepairEdit);
    buttons->addWidget(cmdClearRepair);

    auto* left = new QVBoxLayout;
    left->addLayout(order);
    left->addLayout(notes, 1);
    left->addLayout(buttons);

    auto* frame = new QHBoxLayout(this);
    frame->addLayout(left, 2);
    frame->addWidget(m_invoice, 3);
}

void RepairFrame::fillRepairTechnicians()
{
    Database db;
    setChoices(combRepairTech, LookupStore::technicianLines(db).valueOr({}));
}

void RepairFrame::showNextNumbers()
{
    CounterBox::showNext(txtWorkOrder, Counter::WorkOrder);
    CounterBox::showNext(txtRMA, Counter::Rma);
}

void RepairFrame::showWorkOrder(const TicketWorkOrder& order)
{
    if (order.workNumber != 0) {
        txtWorkOrder->setText(QString::number(order.workNumber));
        txtRMA->setText(QString::number(order.rmaNumber));
        combRepairTech->setEditText(order.repairTech);
        txtRepairNotes->setPlainText(order.notes);
    }
    cmdCreateWrkOrd->setEnabled(!order.workOrder);
    cmdRepairEdit->setEnabled(order.workOrder);
    if (order.invoiced)
        m_invoice->cmdInvoice->setEnabled(false);
}

void RepairFrame::cmdCreateWrkOrd_Click() {}

void RepairFrame::cmdRepairEdit_Click() {}

void RepairFrame::cmdClearRepair_Click()
{
    txtWorkOrder->clear();
    txtRMA->clear();
    cmdCreateWrkOrd->setEnabled(true);
    cmdRepairEdit->setEnabled(true);
    txtRepairNotes->clear();
    showNextNumbers();
    fillRepairTechnicians();
}

void RepairFrame::combRepairTech_Click(int index)
{
    m_repairTechId = LookupStore::keyOfLine(combRepairTech->itemText(index));
}
