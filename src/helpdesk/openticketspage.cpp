#include "helpdesk/openticketspage.h"

#include "data/conversions.h"
#include "data/session.h"
#include "helpdesk/invoiceframe.h"
#include "helpdesk/mailstore.h"
#include "helpdesk/repairframe.h"
#include "helpdesk/ticketstore.h"
#include "widgets/changedrecord.h"
#include "widgets/formbuilder.h"
#include "widgets/hourglass.h"
#include "widgets/inputhelpers.h"
#include "widgets/listread.h"
#include "widgets/prompter.h"
#include "widgets/statusnotice.h"
#include "widgets/tabbedlist.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

OpenTicketsPage::OpenTicketsPage(HelpDeskState& state, QWidget* parent)
    : QWidget(parent), m_state(state)
{
    setObjectName(QStringLiteral("OpenTicketsPage"));
    const FormBuilder ui(this);
    createControls(ui);
    m_repair = new RepairFrame(state, txtCustID, this);

    auto* columns = new QHBoxLayout;
    columns->addWidget(buildTicketColumn(ui), 2);
    columns->addWidget(buildTextColumn(ui), 3);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdUpdateCall);
    buttons->addWidget(cmdClearAll);
    auto* page = new QVBoxLayout(this);
    page->addLayout(columns, 3);
    page->addWidget(m_repair, 2);
    page->addLayout(buttons);

    connect(lstOpenTickets, &TabbedList::lineClicked, this, &OpenTicketsPage::lstOpenTickets_Click);
    connect(cmdUpdateCall, &QPushButton::clicked, this, &OpenTicketsPage::cmdUpdateCall_Click);
    connect(cmdClearOT, &QPushButton::clicked, this, &OpenTicketsPage::cmdClearOT_Click);
    connect(cmdClearAll, &QPushButton::clicked, this, &OpenTicketsPage::cmdClearAll_Click);
    connect(cmdEmail, &QPushButton::clicked, this, &OpenTicketsPage::cmdEmail_Click);
    connect(&m_mail, &MailSession::sent, this, &OpenTicketsPage::solutionSent);
}

OpenTicketsPage::~OpenTicketsPage()
{
    // The window goes without waiting for the server; a message it had already taken still
    // marks its ticket. Nobody is left to tell of a failure.
    if (m_mail.stop())
        MailStore::markSolutionEmailed(m_emailedTicket);
}

void OpenTicketsPage::createControls(const FormBuilder& ui)
{
    lstOpenTickets = ui.tabbedList(QStringLiteral("lstOpenTickets"), {30, 50, 75, 165});
    m_openTickets = ListRead::install(
        lstOpenTickets, tr("The list of open tickets"),
        [] { return TicketStore::openTicketLines(Session::currentEmployeeId()); },
        [this](const QStringList& lines) { lstOpenTickets->setLines(lines); });
    txtCustID = ui.readOnlyBox(QStringLiteral("txtCustID"));
    lstCustOT = ui.make<QListWidget>(QStringLiteral("lstCustOT"));
    chkKnowOT = ui.checkBox(QStringLiteral("chkKnowOT"), tr("Save to Knowledge Base"));
    cmdClearOT = ui.button(QStringLiteral("cmdClearOT"), tr("Clear"));
    txtProbType = ui.textBox(QStringLiteral("txtProbType"), 50);
    txtProbOT = ui.textArea(QStringLiteral("txtProbOT"));
    txtSolOT = ui.textArea(QStringLiteral("txtSolOT"));
    combclose = ui.choiceCombo(QStringLiteral("combclose"));
    txtRecipient = ui.textBox(QStringLiteral("txtRecipient"));
    cmdEmail = ui.button(QStringLiteral("cmdEmail"), QString());
    txtComm = ui.textArea(QStringLiteral("txtComm"));
    cmdUpdateCall = ui.button(QStringLiteral("cmdUpdateCall"), tr("Update Call"));
    cmdClearAll = ui.button(QStringLiteral("cmdClearAll"), tr("Clear All"));

    lstOpenTickets->setMinimumHeight(lstOpenTickets->fontMetrics().lineSpacing() * 3);
    lstCustOT->setFocusPolicy(Qt::NoFocus);
    cmdEmail->setIcon(style()->standardIcon(QStyle::SP_DialogYesButton));
    cmdEmail->setToolTip(tr("Email solution to customer"));
    InputHelpers::selectOnFocus({txtProbType, txtRecipient});
}

QWidget* OpenTicketsPage::buildTicketColumn(const FormBuilder& ui)
{
    auto* tickets = new QVBoxLayout;
    tickets->addWidget(lstOpenTickets);

    auto* customer = new QGridLayout;
    ui.addLabelled(customer, 0, 0, tr("Customer ID"), txtCustID);
    customer->addWidget(lstCustOT, 1, 0, 1, 2);
    lstCustOT->setFixedHeight(lstCustOT->fontMetrics().lineSpacing() * 3 + 8);
    customer->addWidget(chkKnowOT, 2, 0, 1, 2);
    customer->addWidget(cmdClearOT, 2, 1, Qt::AlignRight);

    auto* column = new QWidget;
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(ui.frame(tr("Open Tickets"), tickets), 1);
    layout->addWidget(ui.frame(tr("Customer"), customer));
    return column;
}

QWidget* OpenTicketsPage::buildTextColumn(const FormBuilder& ui)
{
    auto* problem = new QVBoxLayout;
    ui.addAbove(problem, tr("Quick Description"), txtProbType);
    problem->addWidget(txtProbOT);

    auto* solution = new QGridLayout;
    solution->addWidget(txtSolOT, 0, 0, 1, 4);
    ui.addLabelled(solution, 1, 0, tr("Closed?"), combclose);
    QLabel* email = ui.label(tr("Email solution to customer"));
    email->setBuddy(txtRecipient);
    solution->addWidget(email, 2, 0, 1, 4);
    solution->addWidget(txtRecipient, 3, 0, 1, 3);
    solution->addWidget(cmdEmail, 3, 3);
    solution->setColumnStretch(2, 1);

    auto* comments = new QVBoxLayout;
    comments->addWidget(txtComm);

    auto* column = new QWidget;
    auto* layout = new QGridLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(ui.frame(tr("Problem"), problem), 0, 0);
    layout->addWidget(ui.frame(tr("Solution"), solution), 0, 1);
    layout->addWidget(ui.frame(tr("Comments"), comments), 1, 0, 1, 2);
    return column;
}

void OpenTicketsPage::fillOpenTickets()
{
    lstOpenTickets->clear();
    m_openTickets->refresh();
}

void OpenTicketsPage::fillCloseChoices()
{
    FormBuilder::setChoices(combclose, {QStringLiteral("Open"), QStringLiteral("Closed")});
}

void OpenTicketsPage::lstOpenTickets_Click(int row)
{
    const QString line = lstOpenTickets->line(row);
    cmdClearAll->click();
    lstCustOT->clear();
    const auto ticket = conv::toInt32(line.section(QLatin1Char('\t'), 0, 0));
    if (!ticket.ok())
        return;
    m_state.currentTicket = ticket.value;
    showTicket();
}

void OpenTicketsPage::showTicket()
{
    const auto detail =
        Hourglass::around([&] { return TicketStore::ticketDetail(m_state.currentTicket); });
    if (!detail) {
        statusNotice().show(
            StatusNotice::readFailed(tr("Ticket %1").arg(m_state.currentTicket), detail.status()));
        return;
    }
    m_loaded = detail->loaded;
    txtCustID->setText(detail->customerId);
    lstCustOT->addItems(detail->customerLines);
    txtProbType->setText(detail->quickDescription);
    txtProbOT->setPlainText(detail->problem);
    txtComm->setPlainText(detail->comments);
    txtSolOT->setPlainText(detail->solution);
    m_repair->showWorkOrder(detail->workOrder.value_or(TicketWorkOrder{}));
}

CallUpdate OpenTicketsPage::enteredUpdate() const
{
    CallUpdate update;
    update.ticket = m_state.currentTicket;
    update.status = combclose->currentText();
    if (update.status == QLatin1String("Closed"))
        update.closeDate = m_state.postDate;
    update.comments = txtComm->toPlainText();
    update.quickDescription = txtProbType->text();
    update.problem = txtProbOT->toPlainText();
    update.solution = txtSolOT->toPlainText();
    update.knowledgeBase = chkKnowOT->isChecked();
    update.loaded = m_loaded;
    return update;
}

void OpenTicketsPage::cmdUpdateCall_Click()
{
    if (txtCustID->text().isEmpty()) {
        prompter().message(tr("Please select a Call Ticket to Update!"));
        return;
    }
    if (combclose->currentText().isEmpty()) {
        prompter().message(tr("Please select if this call log is closed or not."));
        return;
    }
    const CallUpdate update = enteredUpdate();
    const Status status = Hourglass::around([&] { return TicketStore::updateCall(update); });
    if (status.isChanged()) {
        ChangedRecord::settle(
            m_loaded,
            [this] {
                return ChangedRecord::loadedOf(TicketStore::ticketDetail(m_state.currentTicket));
            },
            [this] {
                cmdClearOT_Click();
                showTicket();
            });
        fillOpenTickets();
        return;
    }
    if (!status) {
        prompter().message(tr("The call could not be updated.\n%1").arg(status.message()));
        if (status.isNotFound())
            fillOpenTickets();
        return;
    }
    cmdClearAll->click();
    fillOpenTickets();
}

void OpenTicketsPage::cmdClearOT_Click()
{
    txtCustID->clear();
    lstCustOT->clear();
    txtProbType->clear();
    txtProbOT->clear();
    txtComm->clear();
    txtSolOT->clear();
    fillCloseChoices();
    txtRecipient->clear();
    chkKnowOT->setChecked(false);
    m_loaded = {};
}

void OpenTicketsPage::cmdClearAll_Click()
{
    cmdClearOT_Click();
    m_repair->cmdClearRepair->click();
    m_repair->invoiceFrame()->clearInvoiceEntry();
}

void OpenTicketsPage::cmdEmail_Click()
{
    if (txtRecipient->text().isEmpty()) {
        prompter().message(tr("Please enter a customer email address."));
        return;
    }
    if (txtCustID->text().isEmpty()) {
        prompter().message(tr("Please select a customer to email."));
        return;
    }
    if (txtSolOT->toPlainText().isEmpty()) {
        prompter().message(tr("Please fill in a solution to email."));
        return;
    }
    // The server may take its time: the window goes on working, only a second send waits.
    const Status started = m_mail.startSend(txtRecipient->text().trimmed(), txtProbType->text(),
                                            txtSolOT->toPlainText());
    if (!started) {
        prompter().message(tr("The solution could not be e-mailed.\n%1").arg(started.message()));
        return;
    }
    m_emailedTicket = m_state.currentTicket;
    cmdEmail->setEnabled(false);
}

void OpenTicketsPage::solutionSent(const Status& outcome)
{
    cmdEmail->setEnabled(true);
    if (!outcome) {
        prompter().message(tr("The solution could not be e-mailed.\n%1").arg(outcome.message()));
        return;
    }
    const Status marked = MailStore::markSolutionEmailed(m_emailedTicket);
    prompter().message(tr("Solution has been emailed to customer!"));
    if (!marked)
        prompter().message(
            tr("The solution was e-mailed, but the ticket could not be marked as e-mailed.\n%1")
                .arg(marked.message()));
}
