#include "receivables/custhistory.h"

#include "data/conversions.h"
#include "receivables/custhistorddetail.h"
#include "receivables/customercombo.h"
#include "receivables/customerlist.h"
#include "receivables/historystore.h"
#include "widgets/formbuilder.h"
#include "widgets/hourglass.h"
#include "widgets/listheadings.h"
#include "widgets/statusnotice.h"
#include "widgets/tabbedlist.h"
#include "widgets/windowconventions.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

CustHistory::CustHistory(QWidget* parent) : QWidget(parent)
{
    Hourglass busy;
    setObjectName(QStringLiteral("CustHistory"));
    setWindowTitle(QStringLiteral("Customer History"));
    WindowConventions::applyIcon(this);
    resize(WindowConventions::TaskWindowSize);

    const FormBuilder form(this);
    combCustID = CustomerCombo::create(this);
    lstHistory = form.tabbedList(QStringLiteral("lstHistory"));
    cmdClear = form.button(QStringLiteral("cmdClear"), QStringLiteral("Clear"));

    auto* top = new QHBoxLayout;
    top->addWidget(form.label(QStringLiteral("Customer")));
    top->addWidget(combCustID);
    top->addStretch(1);
    top->addWidget(cmdClear);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(new ListHeadings(lstHistory,
                                       {QStringLiteral("Ticket #"), QStringLiteral("Call Status"),
                                        QStringLiteral("Probelm Type"),
                                        QStringLiteral("Specific Type"), QStringLiteral("Tech")},
                                       this));
    layout->addWidget(lstHistory, 1);

    connect(combCustID, &QComboBox::activated, this, &CustHistory::combCustID_Click);
    connect(lstHistory, &TabbedList::lineClicked, this, &CustHistory::lstHistory_Click);
    // A click on the line already chosen shows its detail again once the pop-up was closed.
    connect(lstHistory, &TabbedList::clicked, this,
            [this](const QModelIndex& index) { lstHistory_Click(index.row()); });
    connect(cmdClear, &QPushButton::clicked, this, &CustHistory::cmdClear_Click);

    lstHistory->setTabStops({45, 100, 175, 265});
}

void CustHistory::combCustID_Click()
{
    Hourglass busy;
    lstHistory->clear();
    if (combCustID->currentIndex() < 0) // typed text that names no customer
        return;
    const QString custId = CustomerList::idOf(combCustID->currentText(), QStringLiteral(" - "));
    const auto tickets = HistoryStore::customerTickets(custId);
    if (!tickets) {
        statusNotice().show(StatusNotice::readFailed(
            QStringLiteral("The tickets of %1").arg(custId), tickets.status()));
        return;
    }
    QStringList lines;
    lines.reserve(tickets->size());
    for (const HistoryStore::TicketLine& t : *tickets) {
        lines << QStringList{QString::number(t.ticketNum), t.callStatus, t.probType, t.typeSpecific,
                             t.tech}
                     .join(QLatin1Char('\t'));
    }
    lstHistory->setLines(lines);
}

void CustHistory::lstHistory_Click(int row)
{
    const QString line = lstHistory->line(row);
    const auto number = conv::toInt32(line.section(QLatin1Char('\t'), 0, 0));
    if (!number.ok())
        return;
    if (m_detail && number.value == m_ticket) {
        m_detail->raise();
        m_detail->activateWindow();
        return;
    }
    m_ticket = number.value;
    if (!m_detail) {
        m_detail = new CustHistOrdDetail(m_ticket, this);
        m_detail->show();
    } else {
        m_detail->showTicket(m_ticket);
    }
    m_detail->raise();
    m_detail->activateWindow();
}

void CustHistory::cmdClear_Click()
{
    combCustID->setCurrentIndex(-1);
    combCustID->setEditText(QString());
    lstHistory->clear();
}

CustHistOrdDetail* CustHistory::detailWindow() const
{
    return m_detail;
}
