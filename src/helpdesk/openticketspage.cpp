#include "helpdesk/openticketspage.h"

#include "widgets/hourglass.h"
#include "widgets/inputhelpers.h"
#include "widgets/prompter.h"
#include "data/session.h"
#include "widgets/tabbedlist.h"
#include "data/conversions.h"
#include "helpdesk/helpdeskwidgets.h"
#include "helpdesk/invoiceframe.h"
#include "helpdesk/mailstore.h"
#include "helpdesk/repairframe.h"
#include "helpdesk/ticketstore.h"

#include <QCheckBox>
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

using namespace HelpDeskWidgets;

OpenTicketsPage::OpenTicketsPage(HelpDeskState& state, QWidget* parent)
    : QWidget(parent), lstOpenTickets(named<TabbedList>("lstOpenTickets")),
      txtCustID(readOnlyBox("txtCustID")), lstCustOT(named<QListWidget>("lstCustOT")),
      chkKnowOT(named<QCheckBox>("chkKnowOT")), cmdClearOT(button("cmdClearOT", tr("Clear"))),
      txtProbType(textBox("txtProbType", 50)), txtProbOT(textArea("txtProbOT")),
      txtSolOT(textArea("txtSolOT")), combclose(choiceCombo("combclose")),
      txtRecipient(textBox("txtRecipient")), cmdEmail(button("cmdEmail", QString())),
      txtComm(textArea("txtComm")), cmdUpdateCall(button("cmdUpdateCall", tr("Update Call"))),
      cmdClearAll(button("cmdClearAll", tr("Clear All"))), m_state(state),
      m_repair(new RepairFrame(state, txtCustID))
{
    setObjectName(QStringLiteral("OpenTicketsPage"));
    lstOpenTickets->setTabStops({30, 50, 75, 165});
    lstOpenTickets->setMinimumHeight(lstOpenTickets->fontMetrics().lineSpacing() * 3);
    chkKnowOT->setText(tr("Save to Knowledge Base"));
    lstCustOT->setFocusPolicy(Qt::NoFocus);
    cmdEmail->setIcon(style()->standardIcon(QStyle::SP_DialogYesButton));
    cmdEmail->setToolTip(tr("Email solution to customer"));
    InputHelpers::selectOnFocus({txtProbType, txtRecipient});

    auto* columns = new QHBoxLayout;
    columns->addWidget(buildTicketColumn(), 2);
    columns->addWidget(buildTextColumn(), 3);
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
}

QWidget* OpenTicketsPage::buildTicketColumn()
{
    auto* tickets = new QVBoxLayout;
    tickets->addWidget(lstOpenTickets);

    auto* customer = new QGridLayout;
    addLabelled(customer, 0, 0, tr("Customer ID"), txtCustID);
    customer->addWidget(lstCustOT, 1, 0, 1, 2);
    lstCustOT->setFixedHeight(lstCustOT->fontMetrics().lineSpacing() * 3 + 8);
    customer->addWidget(chkKnowOT, 2, 0, 1, 2);
    customer->addWidget(cmdClearOT, 2, 1, Qt::AlignRight);

    auto* column = new QWidget;
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(frame(tr("Open Tickets"), tickets), 1);
    layout->addWidget(frame(tr("Customer"), customer));
    return column;
}

QWidget* OpenTicketsPage::buildTextColumn()
{
    auto* problem = new QVBoxLayout;
    addAbove(problem, tr("Quick Description"), txtProbType);
    problem->addWidget(txtProbOT);

    auto* solution = new QGridLayout;
    solution->addWidget(txtSolOT, 0, 0, 1, 4);
    addLabelled(solution, 1, 0, tr("Closed?"), combclose);
    auto* email = new QLabel(tr("Email solution to customer"));
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
    layout->addWidget(frame(tr("Problem"), problem), 0, 0);
    layout->addWidget(frame(tr("Solution"), solution), 0, 1);
    layout->addWidget(frame(tr("Comments"), comments), 1, 0, 1, 2);
    return column;
}

void OpenTicketsPage::fillOpenTickets()
{
    lstOpenTickets->clear();
    Database db;
    lstOpenTickets->setLines(
        TicketStore::openTicketLines(db, Session::currentEmployeeId()).valueOr({}));
}

void OpenTicketsPage::fillCloseChoices()
{
    setChoices(combclose, {QStringLiteral("Open"), QStringLiteral("Closed")});
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

    Hourglass busy;
    Database db;
    const auto detail = TicketStore::ticketDetail(db, m_state.currentTicket);
    if (!detail)
        return;
    txtCustID->setText(detail->customerId);
    lstCustOT->addItems(detail->customerLines);
    txtProbType->setText(detail->quickDescription);
    txtProbOT->setPlainText(detail->problem);
    txtComm->setPlainText(detail->comments);
    txtSolOT->setPlainText(detail->solution);
    m_repair->showWorkOrder(detail->workOrder.value_or(TicketWorkOrder{}));
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

    const Status status = [&] {
        Hourglass busy;
        Database db;
        return TicketStore::updateCall(db, update);
    }();
    if (!status) {
        prompter().message(tr("The call could not be updated.\n%1").arg(status.message()));
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

    const Status sent = [&] {
        Hourglass busy;
        return m_mail.send(txtRecipient->text().trimmed(), txtProbType->text(),
                           txtSolOT->toPlainText());
    }();
    if (!sent) {
        prompter().message(tr("The solution could not be e-mailed.\n%1").arg(sent.message()));
        return;
    }
    prompter().message(tr("Solution has been emailed to customer!"));
    Database db;
    const Status marked = MailStore::markSolutionEmailed(db, m_state.currentTicket);
    if (!marked)
        prompter().message(
            tr("The solution was e-mailed, but the ticket could not be marked as e-mailed.\n%1")
                .arg(marked.message()));
}
