#include "helpdesk/logcallpage.h"

#include "helpdesk/counterbox.h"
#include "helpdesk/lookupstore.h"
#include "helpdesk/ticketstore.h"
#include "widgets/customersearch.h"
#include "widgets/formbuilder.h"
#include "widgets/hourglass.h"
#include "widgets/inputhelpers.h"
#include "widgets/listread.h"
#include "widgets/prompter.h"
#include "widgets/statusnotice.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

LogCallPage::LogCallPage(HelpDeskState& state, QWidget* parent) : QWidget(parent), m_state(state)
{
    setObjectName(QStringLiteral("LogCallPage"));
    const FormBuilder ui(this);
    txtTicket = ui.readOnlyBox(QStringLiteral("txtTicket"));
    combCustIDHD = ui.searchCombo(QStringLiteral("combCustIDHD"));
    lstCust = ui.make<QListWidget>(QStringLiteral("lstCust"));
    combPriority = ui.choiceCombo(QStringLiteral("combPriority"));
    combCallStatus = ui.choiceCombo(QStringLiteral("combCallStatus"));
    combProbType = ui.choiceCombo(QStringLiteral("combProbType"));
    combTypeSpec = ui.choiceCombo(QStringLiteral("combTypeSpec"));
    txtTech = ui.readOnlyBox(QStringLiteral("txtTech"));
    txtQuickDesc = ui.textBox(QStringLiteral("txtQuickDesc"), 50);
    txtProb = ui.textArea(QStringLiteral("txtProb"));
    txtSol = ui.textArea(QStringLiteral("txtSol"));
    txtCommLog = ui.textArea(QStringLiteral("txtCommLog"));
    chkKnowBase = ui.checkBox(QStringLiteral("chkKnowBase"), tr("Save to Knowledge Base"));
    cmdLogCall = ui.button(QStringLiteral("cmdLogCall"), tr("Log Call"));
    cmdClearCall = ui.button(QStringLiteral("cmdClearCall"), tr("Clear"));

    // Sized by a fixed width, not by measuring every one of thousands of entries.
    combCustIDHD->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    combCustIDHD->setMinimumContentsLength(30);
    CustomerSearch::install(combCustIDHD);
    lstCust->setFocusPolicy(Qt::NoFocus);
    InputHelpers::selectOnFocus({txtQuickDesc});
    buildLayout(ui);
    createListReads();

    connect(cmdLogCall, &QPushButton::clicked, this, &LogCallPage::cmdLogCall_Click);
    connect(cmdClearCall, &QPushButton::clicked, this, &LogCallPage::cmdClearCall_Click);
    connect(combCustIDHD, &QComboBox::activated, this, &LogCallPage::combCustIDHD_Click);
    connect(combProbType, &QComboBox::activated, this, &LogCallPage::combProbType_Click);
}

void LogCallPage::buildLayout(const FormBuilder& ui)
{
    auto* call = new QGridLayout;
    ui.addLabelled(call, 0, 0, tr("Ticket #"), txtTicket);
    ui.addLabelled(call, 1, 0, tr("Customer ID"), combCustIDHD);
    call->addWidget(lstCust, 2, 1, 1, 3);
    lstCust->setFixedHeight(lstCust->fontMetrics().lineSpacing() * 3 + 8);
    ui.addLabelled(call, 0, 2, tr("Technician"), txtTech);
    ui.addLabelled(call, 3, 0, tr("Priority"), combPriority);
    ui.addLabelled(call, 3, 2, tr("Call Status"), combCallStatus);
    ui.addLabelled(call, 4, 0, tr("Problem Type"), combProbType);
    ui.addLabelled(call, 4, 2, tr("Type Specific"), combTypeSpec);
    ui.addLabelled(call, 5, 0, tr("Quick Description"), txtQuickDesc, 3);
    call->setColumnStretch(1, 1);
    call->setColumnStretch(3, 1);

    auto* texts = new QVBoxLayout;
    texts->addLayout(ui.sideBySide(tr("Problem In Detail"), txtProb, tr("Solution"), txtSol));
    ui.addAbove(texts, tr("Comments"), txtCommLog);

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

void LogCallPage::createListReads()
{
    m_problemTypes =
        ListRead::install(combProbType, tr("The problem type list"), &LookupStore::problemTypes,
                          [this](const QStringList& types) {
                              combProbType->clear();
                              combProbType->addItems(types);
                              combProbType->setCurrentIndex(-1);
                          });
    m_customers = ListRead::install(combCustIDHD, tr("The customer list"),
                                    &LookupStore::customerLines, [this](const QStringList& lines) {
                                        combCustIDHD->clear();
                                        combCustIDHD->addItems(lines);
                                        combCustIDHD->setCurrentIndex(-1);
                                        combCustIDHD->setEditText(QString());
                                    });
    m_typeSpecifics = ListRead::install(
        combTypeSpec, tr("The specific type list"),
        [this]() -> Result<QStringList> {
            const QString type = combProbType->currentText();
            if (type.isEmpty())
                return QStringList();
            return type == QLatin1String("Hardware") ? LookupStore::hardwareTypes()
                                                     : LookupStore::softwareTypes();
        },
        [this](const QStringList& types) { FormBuilder::setChoices(combTypeSpec, types); });
}

void LogCallPage::fillProblemTypes()
{
    m_problemTypes->refresh();
}

void LogCallPage::fillCustomers()
{
    lstCust->clear();
    m_customers->refresh();
}

void LogCallPage::fillPriorityAndStatus()
{
    FormBuilder::setChoices(
        combPriority, {QStringLiteral("3-Low"), QStringLiteral("2-Med"), QStringLiteral("1-High")});
    FormBuilder::setChoices(combCallStatus, {QStringLiteral("Open"), QStringLiteral("Closed")});
}

void LogCallPage::combCustIDHD_Click(int index)
{
    lstCust->clear();
    m_state.selectedCustomerId.clear();
    if (index < 0) // typed text that names no customer
        return;
    m_state.selectedCustomerId = LookupStore::keyOfLine(combCustIDHD->itemText(index));
    const auto address =
        Hourglass::around([&] { return LookupStore::customerAddress(m_state.selectedCustomerId); });
    if (address)
        lstCust->addItems(*address);
    else
        statusNotice().show(StatusNotice::readFailed(
            tr("The address of %1").arg(m_state.selectedCustomerId), address.status()));
}

void LogCallPage::combProbType_Click(int)
{
    // The other problem type's entries go even when this one's cannot be read.
    FormBuilder::setChoices(combTypeSpec, {});
    m_typeSpecifics->refresh();
}

void LogCallPage::cmdClearCall_Click()
{
    // Emptied first, so that nothing chosen before stays when a list cannot be read.
    combCustIDHD->clear();
    fillCustomers();
    m_state.selectedCustomerId.clear();
    fillPriorityAndStatus();
    combProbType->clear();
    fillProblemTypes();
    FormBuilder::setChoices(combTypeSpec, {});
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

NewCall LogCallPage::enteredCall() const
{
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
    return call;
}

void LogCallPage::cmdLogCall_Click()
{
    if (const QString missing = missingField(); !missing.isEmpty()) {
        prompter().message(missing);
        return;
    }
    const NewCall call = enteredCall();
    const Result<std::int32_t> logged =
        Hourglass::around([&] { return TicketStore::logCall(call, CounterBox::shown(txtTicket)); });
    if (!logged) {
        prompter().message(tr("The call could not be logged.\n%1").arg(logged.status().message()));
        return;
    }
    cmdClearCall_Click();
    CounterBox::showFollowing(txtTicket, *logged);
    Q_EMIT callLogged(*logged);
}
