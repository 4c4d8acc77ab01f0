#include "tickets/assignment.h"

#include "data/conversions.h"
#include "tickets/assignmentstore.h"
#include "widgets/formbuilder.h"
#include "widgets/hourglass.h"
#include "widgets/inputhelpers.h"
#include "widgets/listread.h"
#include "widgets/prompter.h"
#include "widgets/statusnotice.h"
#include "widgets/windowconventions.h"
#include "widgets/windowrefresh.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <utility>

namespace {

const QString TicketSeparator = QStringLiteral(" - ");
const QString NoTicketChosen = QStringLiteral("Please select a ticket to reassign.");

/** A page holding one frame with its form and a row of buttons under it. */
QWidget* framedPage(const FormBuilder& form, const QString& caption, QFormLayout* fields,
                    std::initializer_list<QPushButton*> buttons)
{
    auto* inner = new QVBoxLayout;
    inner->addLayout(fields);
    auto* row = new QHBoxLayout;
    row->addStretch();
    for (QPushButton* b : buttons)
        row->addWidget(b);
    inner->addLayout(row);
    auto* page = new QWidget(form.owner());
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(form.frame(caption, inner));
    layout->addStretch();
    return page;
}

/** Runs one write under the hourglass; a failure is told with `failure`, its %1 the reason. */
template <typename Write> bool written(Write&& write, const QString& failure)
{
    const Status status = Hourglass::around(std::forward<Write>(write));
    if (!status)
        prompter().message(failure.arg(status.message()));
    return status.isOk();
}

void emptyCombo(QComboBox* combo)
{
    combo->setCurrentIndex(-1);
    if (combo->isEditable())
        combo->setEditText(QString());
}

} // namespace

Assignment::Assignment(QWidget* parent) : QWidget(parent)
{
    Hourglass busy;
    setObjectName(QStringLiteral("Assignment"));
    setWindowTitle(QStringLiteral("Assign Ticket"));
    WindowConventions::applyIcon(this);

    SSTab1 = FormBuilder(this).make<QTabWidget>(QStringLiteral("SSTab1"));
    SSTab1->addTab(buildReassignPage(), QStringLiteral("Reassign Ticket"));
    SSTab1->addTab(buildPriorityPage(), QStringLiteral("Reassign Priority"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(SSTab1);
    resize(460, 260);

    fillLists();
}

QWidget* Assignment::buildReassignPage()
{
    const FormBuilder build(this);
    combAssign = build.searchCombo(QStringLiteral("combAssign"));
    txtAsgnTicket = build.textBox(QStringLiteral("txtAsgnTicket"));
    combAssignEmp = build.searchCombo(QStringLiteral("combAssignEmp"));
    cmdAssign = build.button(QStringLiteral("cmdAssign"), QStringLiteral("Assign"));
    cmdClear = build.button(QStringLiteral("cmdClear"), QStringLiteral("Clear"));
    InputHelpers::selectOnFocus({txtAsgnTicket});

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Ticket #"), combAssign);
    form->addRow(QStringLiteral("Assign Ticket #"), txtAsgnTicket);
    form->addRow(QStringLiteral("To Employee"), combAssignEmp);

    connect(combAssign, &QComboBox::activated, this, &Assignment::combAssign_Click);
    connect(combAssignEmp, &QComboBox::activated, this, &Assignment::combAssignEmp_Click);
    connect(cmdAssign, &QPushButton::clicked, this, &Assignment::cmdAssign_Click);
    connect(cmdClear, &QPushButton::clicked, this, &Assignment::cmdClear_Click);
    return framedPage(build, QStringLiteral("Re-Assign Ticket"), form, {cmdAssign, cmdClear});
}

QWidget* Assignment::buildPriorityPage()
{
    // Choices only: the ticket shown must be the ticket changed, and a priority must be one of
    // the three that the lists and counts know.
    const FormBuilder build(this);
    combAssignP = build.choiceCombo(QStringLiteral("combAssignP"));
    txtChgPr = build.textBox(QStringLiteral("txtChgPr"));
    txtChgPr->setReadOnly(true);
    combChgPrTo = build.choiceCombo(QStringLiteral("combChgPrTo"));
    cmdChgPr = build.button(QStringLiteral("cmdChgPr"), QStringLiteral("Change"));
    cmdClearPr = build.button(QStringLiteral("cmdClearPr"), QStringLiteral("Clear"));

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Ticket #"), combAssignP);
    form->addRow(QStringLiteral("Change From"), txtChgPr);
    form->addRow(QStringLiteral("Change To"), combChgPrTo);

    connect(combAssignP, &QComboBox::activated, this, &Assignment::combAssignP_Click);
    connect(cmdChgPr, &QPushButton::clicked, this, &Assignment::cmdChgPr_Click);
    connect(cmdClearPr, &QPushButton::clicked, this, &Assignment::cmdClearPr_Click);
    return framedPage(build, QStringLiteral("Re-Assign Priority"), form, {cmdChgPr, cmdClearPr});
}

void Assignment::fillLists()
{
    combChgPrTo->addItems(
        {QStringLiteral("3-Low"), QStringLiteral("2-Med"), QStringLiteral("1-High")});
    emptyCombo(combChgPrTo);
    // Lists that cannot be read stay empty, and are read again when the user comes to them.
    m_choices = ListRead::install(
        combAssign, QStringLiteral("The open tickets and technicians"), &AssignmentStore::load,
        [this](const AssignmentStore::Choices& choices) { showChoices(choices); });
    m_choices->watch(combAssignEmp);
    m_choices->watch(combAssignP);
    m_choices->refresh();
    WindowRefresh::install(this, [this] {
        const KeptChoices kept({combAssign, combAssignEmp, combAssignP});
        m_choices->refresh();
    });
}

void Assignment::showChoices(const AssignmentStore::Choices& choices)
{
    for (QComboBox* combo : {combAssign, combAssignEmp, combAssignP})
        combo->clear();
    for (const auto& ticket : choices.tickets) {
        const QString number = QString::number(ticket.number);
        combAssign->addItem(number + TicketSeparator + ticket.custId);
        combAssignP->addItem(number + TicketSeparator + ticket.priority);
    }
    const QString gap = QStringLiteral("    ");
    for (const auto& employee : choices.employees)
        combAssignEmp->addItem(employee.id + gap + employee.firstName + gap + employee.lastName);
    for (QComboBox* combo : {combAssign, combAssignEmp, combAssignP})
        emptyCombo(combo);
    InputHelpers::setComboDropWidth(combAssign);
    InputHelpers::setComboDropWidth(combAssignEmp);
}

void Assignment::combAssign_Click()
{
    Hourglass busy;
    const int ticket = combAssign->currentText().section(TicketSeparator, 0, 0).toInt();
    const auto exists = AssignmentStore::ticketExists(ticket);
    if (!exists)
        statusNotice().show(
            StatusNotice::readFailed(QStringLiteral("Ticket %1").arg(ticket), exists.status()));
    txtAsgnTicket->setText(exists.valueOr(false) ? QString::number(ticket) : QString());
}

void Assignment::combAssignEmp_Click()
{
    m_selectedEmpId = combAssignEmp->currentText().section(QLatin1Char(' '), 0, 0);
}

void Assignment::cmdAssign_Click()
{
    if (combAssign->currentText().isEmpty()) {
        prompter().message(NoTicketChosen);
        return;
    }
    if (m_selectedEmpId.isEmpty()) {
        prompter().message(QStringLiteral("Please select an employee to assign the ticket to."));
        return;
    }
    const auto ticket = conv::toInt32(txtAsgnTicket->text());
    if (!ticket.ok()) {
        prompter().message(NoTicketChosen);
        return;
    }
    if (written([&] { return AssignmentStore::reassign(ticket.value, m_selectedEmpId); },
                QStringLiteral("The ticket could not be reassigned: %1")))
        cmdClear_Click();
}

void Assignment::cmdClear_Click()
{
    emptyCombo(combAssign);
    txtAsgnTicket->clear();
    emptyCombo(combAssignEmp);
}

void Assignment::combAssignP_Click()
{
    Hourglass busy;
    m_priorityTicketNum = combAssignP->currentText().section(TicketSeparator, 0, 0).toInt();
    const auto priority = AssignmentStore::priorityOf(m_priorityTicketNum);
    if (!priority)
        statusNotice().show(StatusNotice::readFailed(
            QStringLiteral("Ticket %1").arg(m_priorityTicketNum), priority.status()));
    txtChgPr->setText(priority ? priority->value_or(QString()) : QString());
}

void Assignment::cmdChgPr_Click()
{
    if (combAssignP->currentText().isEmpty()) {
        prompter().message(NoTicketChosen);
        return;
    }
    if (combChgPrTo->currentText().isEmpty()) {
        prompter().message(QStringLiteral("Please select the new priority."));
        return;
    }
    const QString priority = combChgPrTo->currentText();
    if (written([&] { return AssignmentStore::changePriority(m_priorityTicketNum, priority); },
                QStringLiteral("The priority could not be changed: %1")))
        cmdClearPr_Click();
}

void Assignment::cmdClearPr_Click()
{
    emptyCombo(combAssignP);
    txtChgPr->clear();
    emptyCombo(combChgPrTo);
}
