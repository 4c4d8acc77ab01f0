#include "tickets/openorders.h"

#include "tickets/orddetail.h"
#include "tickets/ticketlogstore.h"
#include "widgets/formbuilder.h"
#include "widgets/hourglass.h"
#include "widgets/inputhelpers.h"
#include "widgets/listheadings.h"
#include "widgets/listread.h"
#include "widgets/statusnotice.h"
#include "widgets/tabbedlist.h"
#include "widgets/windowconventions.h"
#include "widgets/windowrefresh.h"

#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

namespace {

// The first lines show with the window. Each later page is sized by the time the page before
// took, so that the window's pause for a page stays near PagePauseMs on any machine.
constexpr int FirstTicketPage = 1000;
constexpr int SmallestLaterPage = 1000;
constexpr int LargestLaterPage = 50000;
constexpr double PagePauseMs = 15;

QLineEdit* countBox(const FormBuilder& form, const QString& name)
{
    auto* box = form.textBox(name);
    box->setReadOnly(true);
    box->setMaximumWidth(80);
    return box;
}

const QString TechnicianSeparator = QStringLiteral(" - ");

} // namespace

OpenOrders::OpenOrders(QWidget* parent) : QWidget(parent)
{
    Hourglass busy;
    setObjectName(QStringLiteral("OpenOrders"));
    setWindowTitle(QStringLiteral("Ticket Logs"));
    WindowConventions::applyIcon(this);

    SSTab1 = FormBuilder(this).make<QTabWidget>(QStringLiteral("SSTab1"));
    SSTab1->addTab(buildTicketLogPage(), QStringLiteral("Ticket Log"));
    SSTab1->addTab(buildTechnicianPage(), QStringLiteral("Technician Log"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(SSTab1);
    resize(WindowConventions::TaskWindowSize);

    m_log =
        ListRead::install(lstOpenOrders, QStringLiteral("The ticket log"), &TicketLogStore::load,
                          [this](const TicketLogStore::TicketLog& log) { showLog(log); });
    m_log->watch(combTech);
    m_log->refresh();
    WindowRefresh::install(this, [this] { reloadLists(); });
}

void OpenOrders::reloadLists()
{
    {
        const KeptChoices kept({combTech});
        if (!m_log->refresh())
            return;
    }
    if (combTech->currentIndex() >= 0)
        fillTechnicianList(chkTechOpenOnly->isChecked());
}

void OpenOrders::showLog(const TicketLogStore::TicketLog& log)
{
    Label6->setText(QString::number(log.counts.open));
    txtHigh->setText(QString::number(log.counts.high));
    txtMed->setText(QString::number(log.counts.medium));
    txtLow->setText(QString::number(log.counts.low));
    fillTicketList(chkOpenOnly->isChecked());
    combTech->clear();
    for (const auto& technician : log.technicians) {
        combTech->addItem(technician.id + TechnicianSeparator + technician.firstName +
                          QStringLiteral("   ") + technician.lastName);
    }
    combTech->setCurrentIndex(-1);
    InputHelpers::setComboDropWidth(combTech);
}

OpenOrders::~OpenOrders() = default;

OrdDetail* OpenOrders::detailWindow() const
{
    return m_detail;
}

QWidget* OpenOrders::buildTicketLogPage()
{
    auto* page = new QWidget(this);
    const FormBuilder form(page);
    // The customer ID and name get room of their own: a name clipped to a few letters tells
    // nothing, and an ID of a shop with thousands of customers ("ABC-1234") would push every
    // field after it to the next column.
    lstOpenOrders = form.tabbedList(QStringLiteral("lstOpenOrders"), {45, 90, 190, 240, 290, 340});
    chkOpenOnly = form.checkBox(QStringLiteral("chkOpenOnly"), QStringLiteral("Open Tickets Only"));
    Label6 = form.make<QLabel>(QStringLiteral("Label6"));
    auto* openCount = new QHBoxLayout;
    openCount->addWidget(form.label(QStringLiteral("Open Tickets")));
    openCount->addWidget(Label6);
    openCount->addStretch();

    auto* leftColumn = new QVBoxLayout;
    leftColumn->addWidget(chkOpenOnly);
    leftColumn->addLayout(openCount);
    leftColumn->addStretch();
    auto* summary = new QHBoxLayout;
    summary->addLayout(leftColumn, 1);
    summary->addWidget(buildPriorityCounts(form));

    auto* layout = new QVBoxLayout(page);
    layout->addWidget(new ListHeadings(
        lstOpenOrders,
        {"Ticket #", "CustID", "Customer Name", "Open Date", "Close Date", "Tech", "Days to close"},
        page));
    layout->addWidget(lstOpenOrders, 1);
    layout->addLayout(summary);

    connect(chkOpenOnly, &QCheckBox::clicked, this, &OpenOrders::chkOpenOnly_Click);
    connect(lstOpenOrders, &TabbedList::painted, this, [this] {
        if (!m_pagesAwaitPaint)
            return;
        m_pagesAwaitPaint = false;
        addLaterPages();
    });
    lstOpenOrders->setFinishFilling([this] { addRemainingPages(); });
    return page;
}

QWidget* OpenOrders::buildPriorityCounts(const FormBuilder& form)
{
    txtHigh = countBox(form, QStringLiteral("txtHigh"));
    txtMed = countBox(form, QStringLiteral("txtMed"));
    txtLow = countBox(form, QStringLiteral("txtLow"));
    auto* counts = new QGridLayout;
    form.addLabelled(counts, 0, 0, QStringLiteral("High Priority"), txtHigh);
    form.addLabelled(counts, 1, 0, QStringLiteral("Meduim Priority"), txtMed);
    form.addLabelled(counts, 2, 0, QStringLiteral("Low Priority"), txtLow);
    return form.frame(QStringLiteral("Priority Count"), counts);
}

QWidget* OpenOrders::buildTechnicianPage()
{
    auto* page = new QWidget(this);
    const FormBuilder form(page);
    combTech = form.searchCombo(QStringLiteral("combTech"));
    combTech->setMinimumWidth(240);
    Label20 = form.make<QLabel>(QStringLiteral("Label20"));
    lstTechTickets = form.tabbedList(QStringLiteral("lstTechTickets"), {45, 95, 148, 220});
    chkTechOpenOnly =
        form.checkBox(QStringLiteral("chkTechOpenOnly"), QStringLiteral("Open Tickets Only"));
    cmdClear = form.button(QStringLiteral("cmdClear"), QStringLiteral("Clear"));

    auto* chooser = new QHBoxLayout;
    chooser->addWidget(form.label(QStringLiteral("Technician")));
    chooser->addWidget(combTech);
    chooser->addSpacing(16);
    chooser->addWidget(Label20, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(chkTechOpenOnly);
    buttons->addStretch();
    buttons->addWidget(cmdClear);

    auto* layout = new QVBoxLayout(page);
    layout->addLayout(chooser);
    layout->addWidget(new ListHeadings(
        lstTechTickets, {"Ticket #", "Priority", "Call Status", "Problem Type", "Type Specific"},
        page));
    layout->addWidget(lstTechTickets, 1);
    layout->addLayout(buttons);

    connect(combTech, &QComboBox::activated, this, &OpenOrders::combTech_Click);
    connect(chkTechOpenOnly, &QCheckBox::clicked, this, &OpenOrders::chkTechOpenOnly_Click);
    connect(cmdClear, &QPushButton::clicked, this, &OpenOrders::cmdClear_Click);
    connect(lstTechTickets, &TabbedList::lineClicked, this, &OpenOrders::lstTechTickets_Click);
    return page;
}

void OpenOrders::chkOpenOnly_Click()
{
    fillTicketList(chkOpenOnly->isChecked());
}

void OpenOrders::combTech_Click()
{
    // Choosing a technician shows all of the technician's tickets, whatever the box says.
    fillTechnicianList(false);
}

void OpenOrders::chkTechOpenOnly_Click()
{
    fillTechnicianList(chkTechOpenOnly->isChecked());
}

void OpenOrders::cmdClear_Click()
{
    combTech->setCurrentIndex(-1);
    combTech->setEditText(QString());
    chkTechOpenOnly->setChecked(false);
    lstTechTickets->clear();
    Label20->clear();
}

void OpenOrders::lstTechTickets_Click()
{
    const QString line = lstTechTickets->currentLine();
    bool ok = false;
    const int ticket = line.section(QLatin1Char('\t'), 0, 0).toInt(&ok);
    if (!ok)
        return;
    SelectedTicketNum = ticket;
    if (m_detail) {
        m_detail->showTicket(ticket, combTech->currentText());
        m_detail->raise();
        return;
    }
    m_detail = new OrdDetail(ticket, combTech->currentText(), this);
    m_detail->setAttribute(Qt::WA_DeleteOnClose);
    m_detail->show();
}

void OpenOrders::fillTicketList(bool openOnly)
{
    Hourglass busy;
    lstOpenOrders->clear();
    ++m_ticketFill;
    m_ticketPages = std::make_unique<TicketLogStore::TicketPages>(openOnly);
    m_pagesAwaitPaint = addTicketPage(FirstTicketPage);
}

bool OpenOrders::addTicketPage(int limit)
{
    QElapsedTimer timer;
    timer.start();
    // A page that cannot be read ends the list where it stands, and the status line says so.
    const auto lines = m_ticketPages->next(limit);
    if (lines)
        lstOpenOrders->appendLines(*lines);
    else
        statusNotice().show(
            StatusNotice::readFailed(QStringLiteral("The ticket list"), lines.status()));
    if (!lines || lines->size() < limit) {
        m_ticketPages.reset();
        return false;
    }
    const double msPerLine = std::max(static_cast<double>(timer.nsecsElapsed()) / 1e6, 0.01) /
                             static_cast<double>(limit);
    m_laterPageSize =
        std::clamp(static_cast<int>(PagePauseMs / msPerLine), SmallestLaterPage, LargestLaterPage);
    return true;
}

void OpenOrders::addLaterPages()
{
    QTimer::singleShot(0, this, [this, fill = m_ticketFill] {
        if (fill == m_ticketFill && addTicketPage(m_laterPageSize))
            addLaterPages();
    });
}

void OpenOrders::addRemainingPages()
{
    if (!m_ticketPages)
        return;
    Hourglass busy;
    ++m_ticketFill; // the pages still queued for idle time are added here
    m_pagesAwaitPaint = false;
    while (addTicketPage(LargestLaterPage)) {
    }
}

void OpenOrders::fillTechnicianList(bool openOnly)
{
    Hourglass busy;
    lstTechTickets->clear();
    const auto log = TicketLogStore::technicianLog(chosenTechnicianId(), openOnly);
    if (!log) {
        statusNotice().show(StatusNotice::readFailed(
            QStringLiteral("The tickets of %1").arg(chosenTechnicianId()), log.status()));
        return;
    }
    if (!openOnly)
        Label20->setText(log->name);
    lstTechTickets->setLines(log->ticketLines);
}

QString OpenOrders::chosenTechnicianId() const
{
    const QString text = combTech->currentText();
    const int separator = text.indexOf(TechnicianSeparator);
    return separator < 0 ? text : text.left(separator);
}
