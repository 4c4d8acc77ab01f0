#include "tickets/orddetail.h"

#include "tickets/ticketlogstore.h"
#include "widgets/formbuilder.h"
#include "widgets/hourglass.h"
#include "widgets/statusnotice.h"
#include "widgets/windowconventions.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace {

// A read-only text area in a frame captioned `caption`, added to the window's column.
QPlainTextEdit* framedText(const FormBuilder& form, QVBoxLayout* layout, const QString& name,
                           const QString& caption)
{
    QPlainTextEdit* edit = form.textArea(name, true);
    auto* inner = new QVBoxLayout;
    inner->addWidget(edit);
    layout->addWidget(form.frame(caption, inner), 1);
    return edit;
}

} // namespace

OrdDetail::OrdDetail(int ticketNum, const QString& technician, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("OrdDetail"));
    setWindowTitle(QStringLiteral("Order Details"));
    WindowConventions::applyIcon(this);

    const FormBuilder form(this);
    txtTech = form.readOnlyBox(QStringLiteral("txtTech"));
    txtTicknum = form.readOnlyBox(QStringLiteral("txtTicknum"));
    txtProbType = form.readOnlyBox(QStringLiteral("txtProbType"));
    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("Technician"), txtTech);
    fields->addRow(QStringLiteral("Ticket #"), txtTicknum);
    fields->addRow(QStringLiteral("Quick Description"), txtProbType);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    txtProbOT = framedText(form, layout, QStringLiteral("txtProbOT"), QStringLiteral("Problem"));
    txtSolOT = framedText(form, layout, QStringLiteral("txtSolOT"), QStringLiteral("Solution"));
    txtComm = framedText(form, layout, QStringLiteral("txtComm"), QStringLiteral("Comments"));
    resize(480, 520);
    WindowConventions::centreOnMainWindow(this);

    showTicket(ticketNum, technician);
}

void OrdDetail::showTicket(int ticketNum, const QString& technician)
{
    Hourglass busy;
    m_ticketNum = ticketNum;
    txtTech->setText(technician);
    txtTicknum->setText(QString::number(ticketNum));
    // A ticket that cannot be read shows only what the ticket log already knew, and says so.
    const auto read = TicketLogStore::detail(ticketNum);
    if (!read)
        statusNotice().show(
            StatusNotice::readFailed(QStringLiteral("Ticket %1").arg(ticketNum), read.status()));
    const TicketLogStore::TicketDetail detail = read ? *read : TicketLogStore::TicketDetail{};
    txtProbType->setText(detail.quickDescription);
    txtProbOT->setPlainText(detail.problem);
    txtSolOT->setPlainText(detail.solution);
    txtComm->setPlainText(detail.comments);
}
