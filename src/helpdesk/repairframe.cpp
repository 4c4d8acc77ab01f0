#include "helpdesk/repairframe.h"

#include "data/conversions.h"
#include "helpdesk/counterbox.h"
#include "helpdesk/invoiceframe.h"
#include "helpdesk/lookupstore.h"
#include "helpdesk/ticketstore.h"
#include "helpdesk/workorderstore.h"
#include "widgets/formbuilder.h"
#include "widgets/hourglass.h"
#include "widgets/listread.h"
#include "widgets/prompter.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

RepairFrame::RepairFrame(HelpDeskState& state, QLineEdit* customerIdBox, QWidget* parent)
    : QGroupBox(tr("Repair"), parent), m_state(state), m_customerIdBox(customerIdBox)
{
    setObjectName(QStringLiteral("Repair"));
    const FormBuilder ui(this);
    txtWorkOrder = ui.readOnlyBox(QStringLiteral("txtWorkOrder"));
    txtRMA = ui.readOnlyBox(QStringLiteral("txtRMA"));
    combRepairTech = ui.searchCombo(QStringLiteral("combRepairTech"));
    txtRepairNotes = ui.textArea(QStringLiteral("txtRepairNotes"));
    cmdCreateWrkOrd = ui.button(QStringLiteral("cmdCreateWrkOrd"), tr("Create "));
    cmdRepairEdit = ui.button(QStringLiteral("cmdRepairEdit"), tr("Edit"));
    cmdClearRepair = ui.button(QStringLiteral("cmdClearRepair"), tr("Clear"));
    m_invoice = new InvoiceFrame(state, customerIdBox, txtWorkOrder, this);
    combRepairTech->setEditText(QString());
    m_technicians = ListRead::install(
        combRepairTech, tr("The technician list"), &LookupStore::technicianLines,
        [this](const QStringList& lines) { FormBuilder::setChoices(combRepairTech, lines); });
    buildLayout(ui);

    connect(cmdCreateWrkOrd, &QPushButton::clicked, this, &RepairFrame::cmdCreateWrkOrd_Click);
    connect(cmdRepairEdit, &QPushButton::clicked, this, &RepairFrame::cmdRepairEdit_Click);
    connect(cmdClearRepair, &QPushButton::clicked, this, &RepairFrame::cmdClearRepair_Click);
    connect(combRepairTech, &QComboBox::activated, this, &RepairFrame::combRepairTech_Click);
}

void RepairFrame::buildLayout(const FormBuilder& ui)
{
    auto* order = new QGridLayout;
    ui.addLabelled(order, 0, 0, tr("Work Order #"), txtWorkOrder);
    ui.addLabelled(order, 1, 0, tr("RMA #"), txtRMA);
    ui.addLabelled(order, 2, 0, tr("Repair Tech"), combRepairTech);
    auto* notes = new QVBoxLayout;
    ui.addAbove(notes, tr("Repair Notes"), txtRepairNotes);
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
    m_technicians->refresh();
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

    const Result<WorkOrderNumbers> created = Hourglass::around([&] {
        return WorkOrderStore::create(order,
                                      {CounterBox::shown(txtWorkOrder), CounterBox::shown(txtRMA)});
    });
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
    const Status status = Hourglass::around([&] {
        if (!number.ok())
            return Status::error(Status::Kind::NotFound, QString());
        return WorkOrderStore::updateNotes(number.value, txtRepairNotes->toPlainText());
    });
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
