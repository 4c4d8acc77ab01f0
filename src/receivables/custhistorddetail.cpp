#include "receivables/custhistorddetail.h"

#include "receivables/historystore.h"
#include "widgets/formbuilder.h"
#include "widgets/hourglass.h"
#include "widgets/statusnotice.h"
#include "widgets/windowconventions.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QVBoxLayout>

CustHistOrdDetail::CustHistOrdDetail(std::int32_t ticketNum, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("CustHistOrdDetail"));
    setWindowTitle(QStringLiteral("Customer Order Detail"));
    setAttribute(Qt::WA_DeleteOnClose);
    WindowConventions::applyIcon(this);

    const FormBuilder form(this);
    txtTicknum = form.readOnlyBox(QStringLiteral("txtTicknum"));
    txtTech = form.readOnlyBox(QStringLiteral("txtTech"));
    txtProbType = form.readOnlyBox(QStringLiteral("txtProbType"));
    txtProbOT = form.textArea(QStringLiteral("txtProbOT"), true);
    txtSolOT = form.textArea(QStringLiteral("txtSolOT"), true);
    txtComm = form.textArea(QStringLiteral("txtComm"), true);

    auto* heading = new QFormLayout;
    heading->addRow(QStringLiteral("Ticket #"), txtTicknum);
    heading->addRow(QStringLiteral("Technician"), txtTech);
    auto* problem = new QFormLayout;
    problem->addRow(QStringLiteral("Quick Description"), txtProbType);
    problem->addRow(txtProbOT);
    auto* solution = new QVBoxLayout;
    solution->addWidget(txtSolOT);
    auto* comments = new QVBoxLayout;
    comments->addWidget(txtComm);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(heading);
    layout->addWidget(form.frame(QStringLiteral("Problem"), problem));
    layout->addWidget(form.frame(QStringLiteral("Solution"), solution));
    layout->addWidget(form.frame(QStringLiteral("Comments"), comments));
    resize(520, 560);

    showTicket(ticketNum);
    WindowConventions::centreOnMainWindow(this);
}

void CustHistOrdDetail::showTicket(std::int32_t ticketNum)
{
    Hourglass busy;
    const auto detail = HistoryStore::ticketDetail(ticketNum);
    if (!detail)
        statusNotice().show(
            StatusNotice::readFailed(QStringLiteral("Ticket %1").arg(ticketNum), detail.status()));
    const HistoryStore::TicketDetail shown =
        detail && *detail ? **detail : HistoryStore::TicketDetail{};
    txtTicknum->setText(detail && *detail ? QString::number(shown.ticketNum) : QString());
    txtTech->setText(shown.tech);
    txtProbType->setText(shown.quickDescription);
    txtProbOT->setPlainText(shown.problem);
    txtSolOT->setPlainText(shown.solution);
    txtComm->setPlainText(shown.comments);
}
