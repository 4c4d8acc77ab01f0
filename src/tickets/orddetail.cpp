#include "tickets/orddetail.h"

#include "widgets/hourglass.h"
#include "widgets/windowconventions.h"
#include "tickets/ticketlogstore.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace {

QPlainTextEdit* framedText(QWidget* window, QVBoxLayout* layout, const char* name,
                           const QString& caption)
{
    auto* frame = new QGroupBox(caption, window);
    auto* edit = new QPlainTextEdit(frame);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setReadOnly(true);
    auto* inner = new QVBoxLayout(frame);
    inner->addWidget(edit);
    layout->addWidget(frame, 1);
    return edit;
}

} // namespace

OrdDetail::OrdDetail(int ticketNum, const QString& technician, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("OrdDetail"));
    setWindowTitle(QStringLiteral("Order Details"));
    WindowConventions::applyIcon(this);

    auto line = [this](const char* name) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QString::fromLatin1(name));
        edit->setReadOnly(true);
        return edit;
    };
    txtTech = line("txtTech");
    txtTicknum = line("txtTicknum");
    txtProbType = line("txtProbType");
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Technician"), txtTech);
    form->addRow(QStringLiteral("Ticket #"), txtTicknum);
    form->addRow(QStringLiteral("Quick Description"), txtProbType);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    txtProbOT = framedText(this, layout, "txtProbOT", QStringLiteral("Problem"));
    txtSolOT = framedText(this, layout, "txtSolOT", QStringLiteral("Solution"));
    txtComm = framedText(this, layout, "txtComm", QStringLiteral("Comments"));
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
    // A ticket that cannot be read shows only what the ticket log already knew.
    const auto detail = TicketLogStore::detail(ticketNum).valueOr({});
    txtProbType->setText(detail.quickDescription);
    txtProbOT->setPlainText(detail.problem);
    txtSolOT->setPlainText(detail.solution);
    txtComm->setPlainText(detail.comments);
}
