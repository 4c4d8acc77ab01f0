#include "helpdesk/helpdesk.h"

#include "data/session.h"
#include "helpdesk/addkbpage.h"
#include "helpdesk/counterbox.h"
#include "helpdesk/invoiceframe.h"
#include "helpdesk/logcallpage.h"
#include "helpdesk/openticketspage.h"
#include "helpdesk/repairframe.h"
#include "helpdesk/searchkbpage.h"
#include "widgets/inputhelpers.h"
#include "widgets/windowconventions.h"
#include "widgets/windowrefresh.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QVBoxLayout>

HelpDesk::HelpDesk(QWidget* parent)
    : QWidget(parent), SSTab1(new QTabWidget), m_logCall(new LogCallPage(m_state)),
      m_openTickets(new OpenTicketsPage(m_state)), m_searchKb(new SearchKbPage),
      m_addKb(new AddKbPage)
{
    setObjectName(QStringLiteral("HelpDesk"));
    setWindowTitle(tr("HelpDesk"));
    SSTab1->setObjectName(QStringLiteral("SSTab1"));
    SSTab1->addTab(m_logCall, tr("Log New Call"));
    SSTab1->addTab(m_openTickets, tr("Open Tickets"));
    SSTab1->addTab(m_searchKb, tr("Search Knowledge Base"));
    SSTab1->addTab(m_addKb, tr("Add to Knowledge Base"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(SSTab1);
    // Text areas may shrink to two lines, so that the busy open-tickets page fits the window.
    for (QPlainTextEdit* area : findChildren<QPlainTextEdit*>())
        area->setMinimumHeight(area->fontMetrics().lineSpacing() * 2 + 12);

    connect(m_logCall, &LogCallPage::callLogged, m_openTickets, &OpenTicketsPage::fillOpenTickets);
    // Coming back to the open tickets shows the calls other workstations logged meanwhile.
    connect(SSTab1, &QTabWidget::currentChanged, this, [this](int index) {
        if (SSTab1->widget(index) == m_openTickets)
            m_openTickets->fillOpenTickets();
    });
    WindowRefresh::install(this, [this] { m_openTickets->fillOpenTickets(); });
    load();
}

void HelpDesk::load()
{
    WindowConventions::applyIcon(this);
    resize(WindowConventions::TaskWindowSize);
    m_state.postDate = QDate::currentDate();
    m_logCall->fillPriorityAndStatus();
    m_openTickets->fillCloseChoices();
    m_logCall->txtTech->setText(Session::currentEmployeeId());

    RepairFrame* repair = m_openTickets->repairFrame();
    InvoiceFrame* invoice = repair->invoiceFrame();
    m_logCall->fillProblemTypes();
    CounterBox::showNext(m_logCall->txtTicket, Counter::Ticket);
    m_logCall->fillCustomers();
    invoice->showNextInvoiceNumber();
    m_openTickets->fillOpenTickets();
    repair->showNextNumbers();
    repair->fillRepairTechnicians();
    m_addKb->showNextKnowledgeBaseNumber();
    invoice->fillParts();

    InputHelpers::setComboDropWidth(m_logCall->combCustIDHD);
    InputHelpers::setComboDropWidth(repair->combRepairTech);
    InputHelpers::setComboDropWidth(invoice->combInvPart);
    signOnToMail();
}

void HelpDesk::closeEvent(QCloseEvent* event)
{
    signOffFromMail();
    QWidget::closeEvent(event);
}

void HelpDesk::signOnToMail()
{
    m_openTickets->mailSession().signOn();
}

void HelpDesk::signOffFromMail()
{
    m_openTickets->mailSession().signOff();
}
