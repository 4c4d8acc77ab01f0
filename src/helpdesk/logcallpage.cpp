#include "helpdesk/logcallpage.h"

#include "widgets/comboautocomplete.h"
#include "widgets/hourglass.h"
#include "widgets/inputhelpers.h"
#include "widgets/prompter.h"
#include "helpdesk/counterbox.h"
#include "helpdesk/helpdeskwidgets.h"
#include "helpdesk/lookupstore.h"
#include "helpdesk/ticketstore.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace HelpDeskWidgets;

LogCallPage::LogCallPage(HelpDeskState& state, QWidget* parent)
    : QWidget(parent), txtTicket(readOnlyBox("txtTicket")),
      combCustIDHD(named<QComboBox>("combCustIDHD")), lstCust(named<QListWidget>("lstCust")),
      combPriority(choiceCombo("combPriority")), combCallStatus(choiceCombo("combCallStatus")),
      combProbType(choiceCombo("combProbType")), combTypeSpec(choiceCombo("combTypeSpec")),
      txtTech(readOnlyBox("txtTech")), txtQuickDesc(textBox("txtQuickDesc", 50)),
      txtProb(textArea("txtProb")), txtSol(textArea("txtSol")), txtCommLog(textArea("txtCommLog")),
      chkKnowBase(named<QCheckBox>("chkKnowBase")),
      cmdLogCall(button("cmdLogCall", tr("Log Call"))),
      cmdClearCall(button("cmdClearCall", tr("Clear"))), m_state(state)
{
    setObjectName(QStringLiteral("LogCallPage"));
    chkKnowBase->setText(tr("Save to Knowledge Base"));
    ComboAutoComplete::install(combCustIDHD);
    // Sized by a fixed width, not by measuring every one of thousands of entries.
    combCustIDHD->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    combCustIDHD->setMinimumContentsLength(30);
    lstCust->setFocusPolicy(Qt::NoFocus);
    InputHelpers::selectOnFocus({txtQuickDesc});
    buildLayout();

    connect(cmdLogCall, &QPushButton::clicked, this, &LogCallPage::cmdLogCall_Click);
    connect(cmdClearCall, &QPushButton::clicked, this, &LogCallPage::cmdClearCall_Click);
    connect(combCustIDHD, &QComboBox::activated, this, &LogCallPage::combCustIDHD_Click);
    connect(combProbType, &QComboBox::activated, this, &LogCallPage::combProbType_Click);
}

void LogCallPage::buildLayout()
{
    auto* call = new QGridLayout;
    addLabelled(call, 0, 0, tr("Ticket #"), txtTicket);
    addLabelled(call, 1, 0, tr("Customer ID"), combCustIDHD);
    call->addWidget(lstCust, 2, 1, 1, 3);
    lstCust->setFixedHeight(lstCust->fontMetrics().lineSpacing() * 3 + 8);
    addLabelled(call, 0, 2, tr("Technician"), txtTech);
    addLabelled(call, 3, 0, tr("Priority"), combPriority);
    addLabelled(call, 3, 2, tr("Call Status"), combCallStatus);
    addLabelled(call, 4, 0, tr("Problem Type"), combProbType);
    addLabelled(call, 4, 2, tr("Type Specific"), combTypeSpec);
    addLabelled(call, 5, 0, tr("Quick Description"), txtQuickDesc, 3);
    call->setColumnStretch(1, 1);
    call->setColumnStretch(3, 1);

    auto* texts = new QVBoxLayout;
    texts->addLayout(sideBySide(tr("Problem In Detail"), txtProb, tr("Solution"), txtSol));
    addAbove(texts, tr("Comments"), txtCommLog);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(chkKnowBase);
    buttons->addStretch();
    buttons->addWidget(cmdLogCall);
    buttons->addWidget(cmdClearCall);

    auto* page = new QVBoxLayout(this);
    page->addLayout(call);
    page->addLayout(texts, 1);
    page->addLayout(buttons);
}

void LogCallPage::fillProblemTypes()
{
    Database db;
    combProbType->addItems(LookupStore::problemTypes(db).valueOr({}));
    combProbType->setCurrentIndex(-1);
}

void LogCallPage::fillCustomers()
{
    lstCust->clear();
    Database db;
    combCustIDHD->addItems(LookupStore::customerLines(db).valueOr({}));
    combCustIDHD->setCurrentIndex(-1);
    combCustIDHD->setEditText(QString());
}

void LogCallPage::fillPriorityAndStatus()
{
    setChoices(combPriority,
               {QStringLiteral("3-Low"), QStringLiteral("2-Med"), QStringLiteral("1-High")});
    setChoices(combCallStatus, {QStringLiteral("Open"), QStringLiteral("Closed")});
}

void LogCallPage::combCustIDHD_Click(int index)
{
    lstCust->clear();
    m_state.selectedCustomerId = LookupStore::keyOfLine(combCustIDHD->itemText(index));
    Hourglass busy;
    Database db;
    lstCust->addItems(LookupStore::customerAddress(db, m_state.selectedCustomerId).valueOr({}));
}

void LogCallPage::combProbType_Click(int)
{
    Database db;
    const bool hardware = combProbType->currentText() == QLatin1String("Hardware");
    setChoices(
        combTypeSpec,
        (hardware ? LookupStore::hardwareTypes(db) : LookupStore::softwareTypes(db)).valueOr({}));
}

void LogCallPage::cmdClearCall_Click()
{
    combCustIDHD->clear();
    fillCustomers();
    m_state.selectedCustomerId.clear();
    fillPriorityAndStatus();
    combProbType->clear();
    fillProblemTypes();
    setChoices(combTypeSpec, {});
    txtQuickDesc->clear();
    txtProb->clear();
    txtCommLog->clear();
    txtSol->clear();
    chkKnowBase->setChecked(false);
}

QString LogCallPage::missingField() const
{
    // The customer line must still be the one chosen: text put in the box some other way
    // (pasted, for one) names no customer that was looked up.
    const QString customerText = combCustIDHD->currentText();
    if (customerText.isEmpty() || m_state.selectedCustomerId.isEmpty() ||
        LookupStore::keyOfLine(customerText) != m_state.selectedCustomerId)
        return tr("Please select a Customer.");
    if (combPriority->currentText().isEmpty())
        return tr("Please select a Priority.");
    if (combCallStatus->currentText().isEmpty())
        return tr("Please select a Call Status.");
    if (combProbType->currentText().isEmpty())
        return tr("Please select the Problem Type.");
    if (combTypeSpec->currentText().isEmpty())
        return tr("Please select Type Specific.");
    if (txtQuickDesc->text().isEmpty())
        return tr("Please enter a Quick Description.");
    if (txtProb->toPlainText().isEmpty())
        return tr("Please enter the problem in the Problem Detail box.");
    return QString();
}

void LogCallPage::cmdLogCall_Click()
{
    if (const QString missing = missingField(); !missing.isEmpty()) {
        prompter().message(missing);
        return;
    }
    NewCall call;
    call.customerId = m_state.selectedCustomerId;
    call.priority = combPriority->currentText();
    call.status = combCallStatus->currentText();
    call.problemType = combProbType->currentText();
    call.typeSpecific = combTypeSpec->currentText();
    call.comments = txtCommLog->toPlainText();
    call.technician = txtTech->text();
    call.openDate = m_state.postDate;
    call.quickDescription = txtQuickDesc->text();
    call.problem = txtProb->toPlainText();
    call.solution = txtSol->toPlainText();
    call.knowledgeBase = chkKnowBase->isChecked();

    Result<std::int32_t> logged = [&] {
        Hourglass busy;
        Database db;
        return TicketStore::logCall(db, call, CounterBox::shown(txtTicket));
    }();
    if (!logged) {
        prompter().message(tr("The call could not be logged.\n%1").arg(logged.status().message()));
        return;
    }
    cmdClearCall_Click();
    CounterBox::showFollowing(txtTicket, *logged);
    Q_EMIT callLogged(*logged);
}
