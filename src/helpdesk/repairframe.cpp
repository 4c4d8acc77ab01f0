#include "helpdesk/repairframe.h"

#include "widgets/comboautocomplete.h"
#include "widgets/hourglass.h"
#include "widgets/prompter.h"
#include "data/conversions.h"
#include "helpdesk/counterbox.h"
#include "helpdesk/helpdeskwidgets.h"
#include "helpdesk/invoiceframe.h"
#include "helpdesk/lookupstore.h"
#include "helpdesk/ticketstore.h"
#include "helpdesk/workorderstore.h"

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

QString RepairFrame::missingField() const
{
    if (m_customerIdBox->text().isEmpty())
        return tr("Please select a Customer for this Work Order!");
    if (combRepairTech->currentText().isEmpty())
        return tr("Please assign a repair tech");
    if (txtRepairNotes->toPlainText().isEmpty())
        return tr("Please enter repair notes");
    return QString();
}

void RepairFrame::cmdCreateWrkOrd_Click()
{
    if (const QString missing = missingField(); !missing.isEmpty()) {
        prompter().message(missing);
        return;
    }
    NewWorkOrder order;
    order.repairTech = m_repairTechId;
    order.notes = txtRepairNotes->toPlainText();
    order.customerId = m_customerIdBox->text();
    order.ticket = m_state.currentTicket;

    const Result<WorkOrderNumbers> created = [&] {
        Hourglass busy;
        Database db;
        return WorkOrderStore::create(db, order,
                                      {CounterBox::shown(txtWorkOrder), CounterBox::shown(txtRMA)});
    }();
    if (!created) {
        prompter().message(
            tr("The work order could not be created.\n%1").arg(created.status().message()));
        return;
    }
    cmdCreateWrkOrd->setEnabled(false);
    cmdRepairEdit->setEnabled(true);
    CounterBox::showFollowing(txtWorkOrder, created->workOrder);
    CounterBox::showFollowing(txtRMA, created->rma);
}

void RepairFrame::cmdRepairEdit_Click()
{
    if (const QString missing = missingField(); !missing.isEmpty()) {
        prompter().message(missing);
        return;
    }
    const auto number = conv::toInt32(txtWorkOrder->text());
    const Status status = [&] {
        if (!number.ok())
            return Status::error(Status::Kind::NotFound, QString());
        Hourglass busy;
        Database db;
        return WorkOrderStore::updateNotes(db, number.value, txtRepairNotes->toPlainText());
    }();
    if (status.isNotFound())
        prompter().message(tr("There is no work order %1 to edit.").arg(txtWorkOrder->text()));
    else if (!status)
        prompter().message(tr("The repair notes could not be saved.\n%1").arg(status.message()));
}

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
