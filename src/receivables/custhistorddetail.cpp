#include "receivables/custhistorddetail.h"

#include "widgets/hourglass.h"
#include "widgets/windowconventions.h"
#include "receivables/historystore.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace {

QPlainTextEdit* textArea(QWidget* parent, const char* name)
{
    auto* box = new QPlainTextEdit(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setReadOnly(true);
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    return box;
}

QLineEdit* line(QWidget* parent, const char* name)
{
    auto* box = new QLineEdit(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setReadOnly(true);
    return box;
}

QGroupBox* frame(QWidget* parent, const QString& title, QLayout* content)
{
    auto* box = new QGroupBox(title, parent);
    box->setLayout(content);
    return box;
}

} // namespace

CustHistOrdDetail::CustHistOrdDetail(std::int32_t ticketNum, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("CustHistOrdDetail"));
    setWindowTitle(QStringLiteral("Customer Order Detail"));
    setAttribute(Qt::WA_DeleteOnClose);
    WindowConventions::applyIcon(this);

    txtTicknum = line(this, "txtTicknum");
    txtTech = line(this, "txtTech");
    txtProbType = line(this, "txtProbType");
    txtProbOT = textArea(this, "txtProbOT");
    txtSolOT = textArea(this, "txtSolOT");
    txtComm = textArea(this, "txtComm");

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
    layout->addWidget(frame(this, QStringLiteral("Problem"), problem));
    layout->addWidget(frame(this, QStringLiteral("Solution"), solution));
    layout->addWidget(frame(this, QStringLiteral("Comments"), comments));
    resize(520, 560);

    showTicket(ticketNum);
    WindowConventions::centreOnMainWindow(this);
}

void CustHistOrdDetail::showTicket(std::int32_t ticketNum)
{
    Hourglass busy;
    const auto detail = HistoryStore::ticketDetail(ticketNum);
    const HistoryStore::TicketDetail shown =
        detail && *detail ? **detail : HistoryStore::TicketDetail{};
    txtTicknum->setText(detail && *detail ? QString::number(shown.ticketNum) : QString());
    txtTech->setText(shown.tech);
    txtProbType->setText(shown.quickDescription);
    txtProbOT->setPlainText(shown.problem);
    txtSolOT->setPlainText(shown.solution);
    txtComm->setPlainText(shown.comments);
}
