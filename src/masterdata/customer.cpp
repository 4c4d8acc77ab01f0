#include "masterdata/customer.h"

#include "data/conversions.h"
#include "masterdata/customerstore.h"
#include "widgets/changedrecord.h"
#include "widgets/customersearch.h"
#include "widgets/formbuilder.h"
#include "widgets/hourglass.h"
#include "widgets/inputhelpers.h"
#include "widgets/listread.h"
#include "widgets/prompter.h"
#include "widgets/statusnotice.h"
#include "widgets/windowconventions.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QStyle>
#include <QToolBar>
#include <QVBoxLayout>

Customer::Customer(QWidget* parent) : QWidget(parent)
{
    Hourglass busy;
    setObjectName(QStringLiteral("Customer"));
    setWindowTitle(QStringLiteral("Create Customer"));
    WindowConventions::applyIcon(this);
    resize(WindowConventions::TaskWindowSize);
    buildControls();

    m_postDate = QDate::currentDate();
    txtPostDate->setText(conv::formatDate(m_postDate));
    FillCustomerList();
    InputHelpers::setComboDropWidth(combCustID);
    showNewCustomerState(true);
}

void Customer::buildControls()
{
    const FormBuilder form(this);
    Toolbar1 = form.toolbar(QStringLiteral("Toolbar1"));
    m_create = FormBuilder::toolButton(Toolbar1, QStringLiteral("Create"), QStringLiteral("Create"),
                                       QStringLiteral("Create Customer in Database"),
                                       QStyle::SP_FileDialogNewFolder);
    m_clear = FormBuilder::toolButton(Toolbar1, QStringLiteral("Clear"), QStringLiteral("Clear"),
                                      QStringLiteral("Clear From"), QStyle::SP_DialogResetButton);
    m_edit =
        FormBuilder::toolButton(Toolbar1, QStringLiteral("Edit"), QStringLiteral("Edit"),
                                QStringLiteral("Edit Customer"), QStyle::SP_FileDialogDetailedView);
    connect(Toolbar1, &QToolBar::actionTriggered, this, &Customer::Toolbar1_ButtonClick);

    combCustID = form.searchCombo(QStringLiteral("combCustID"));
    CustomerSearch::install(combCustID);
    m_customerList = ListRead::install(
        combCustID, QStringLiteral("The customer list"), &CustomerStore::listLines,
        [this](const QStringList& lines) { showCustomerLines(lines); });
    connect(combCustID, &QComboBox::activated, this, &Customer::combCustID_Click);
    buildBoxes(form);

    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(Toolbar1);
    layout->addLayout(layoutFields(form));
    FormBuilder::chainTabOrder({Text1, Text2, Text3, Text4, Text5, Text6, Text7, Text8, txtComm});
}

void Customer::buildBoxes(const FormBuilder& form)
{
    txtID = form.readOnlyBox(QStringLiteral("txtID"));
    txtID->setFocusPolicy(Qt::NoFocus);
    Text1 = form.textBox(QStringLiteral("Text1"), 30);
    Text2 = form.textBox(QStringLiteral("Text2"), 30);
    Text3 = form.textBox(QStringLiteral("Text3"), 20);
    Text4 = form.textBox(QStringLiteral("Text4"), 2);
    Text4->setMaximumWidth(Text4->fontMetrics().horizontalAdvance(QStringLiteral("WWWW")));
    Text5 = form.textBox(QStringLiteral("Text5"), 10);
    Text6 = form.textBox(QStringLiteral("Text6"), 15);
    Text7 = form.textBox(QStringLiteral("Text7"), 15);
    Text8 = form.textBox(QStringLiteral("Text8"), 50);
    txtComm = form.textArea(QStringLiteral("txtComm"));
    chkInactive = form.checkBox(QStringLiteral("chkInactive"), QStringLiteral("Inactive"));
    chkRemove = form.checkBox(QStringLiteral("chkRemove"), QStringLiteral("Remove"));
    txtPostDate = form.readOnlyBox(QStringLiteral("txtPostDate"));
    txtPostDate->setFocusPolicy(Qt::NoFocus);
    txtPostDate->setAlignment(Qt::AlignCenter);

    InputHelpers::selectOnFocus({Text1, Text2, Text3, Text4, Text5, Text6, Text7, Text8});
    // A box counts as left when the focus moves to another control of this window; switching
    // windows or opening a message box does not draw a new customer number.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget* old, QWidget* now) {
        if (!now || !isAncestorOf(now))
            return;
        if (old == Text1)
            Text1_LostFocus();
        else if (old == Text4)
            Text4_LostFocus();
    });
}

QGridLayout* Customer::layoutFields(const FormBuilder& form)
{
    auto* grid = new QGridLayout;
    grid->addWidget(combCustID, 0, 1, 1, 3);
    form.addLabelled(grid, 1, 0, QStringLiteral("CustID"), txtID);
    grid->addWidget(chkInactive, 1, 2);
    grid->addWidget(chkRemove, 1, 3);
    form.addLabelled(grid, 2, 0, QStringLiteral("Name"), Text1, 3);
    form.addLabelled(grid, 3, 0, QStringLiteral("Address"), Text2, 3);
    form.addLabelled(grid, 4, 0, QStringLiteral("City, State, Zip"), Text3);
    grid->addWidget(Text4, 4, 2, Qt::AlignLeft);
    grid->addWidget(Text5, 4, 3);
    form.addLabelled(grid, 5, 0, QStringLiteral("Phone, Fax, Email"), Text6);
    grid->addWidget(Text7, 5, 2);
    grid->addWidget(Text8, 5, 3);
    grid->addWidget(form.label(QStringLiteral("Comments")), 6, 0, Qt::AlignTop);
    grid->addWidget(txtComm, 6, 1, 1, 3);
    form.addLabelled(grid, 7, 0, QStringLiteral("Post Date"), txtPostDate);
    grid->setColumnStretch(1, 3);
    grid->setColumnStretch(2, 1);
    grid->setColumnStretch(3, 3);
    grid->setRowStretch(6, 1);
    return grid;
}

void Customer::showNewCustomerState(bool newCustomer)
{
    m_create->setVisible(newCustomer);
    m_edit->setVisible(!newCustomer);
}

void Customer::Text1_LostFocus()
{
    if (Text1->text().isEmpty()) {
        txtID->clear();
        return;
    }
    if (m_edit->isVisible())
        return;
    const auto id = CustomerStore::drawId(Text1->text());
    // No number could be drawn: an empty ID makes Create refuse rather than reuse the old one.
    txtID->setText(id.valueOr(QString()));
}

void Customer::Text4_LostFocus()
{
    Text4->setText(Text4->text().toUpper());
}

void Customer::Toolbar1_ButtonClick(QAction* button)
{
    if (chkRemove->isChecked()) {
        RemoveCustomer();
        return;
    }
    if (button == m_create)
        createCustomer();
    else if (button == m_clear)
        ClearCustomer();
    else if (button == m_edit)
        editCustomer();
}

void Customer::createCustomer()
{
    for (QLineEdit* required : {Text1, Text2, Text3, Text4, Text5, Text6}) {
        if (required->text().isEmpty()) {
            prompter().message(QStringLiteral(
                "The Customer Name, Address, City, State, Zip and Phone must be filled in!"));
            return;
        }
    }
    if (txtID->text().isEmpty()) {
        prompter().message(QStringLiteral("No customer to Add"));
        return;
    }
    CustomerRecord customer = typedCustomer(txtID->text());
    customer.postDate = m_postDate;
    const Status status = Hourglass::around([&] { return CustomerStore::create(customer); });
    if (status.isDuplicate()) {
        prompter().message(QStringLiteral("This customer already exists!"));
        return;
    }
    if (!status) {
        prompter().message(status.message());
        return;
    }
    FillCustomerList();
    ClearCustomer();
}

CustomerRecord Customer::typedCustomer(const QString& id) const
{
    return {id,
            Text1->text(),
            Text2->text(),
            Text3->text(),
            Text4->text(),
            Text5->text(),
            Text6->text(),
            Text7->text(),
            Text8->text(),
            txtComm->toPlainText(),
            chkInactive->isChecked(),
            {},
            m_loaded};
}

void Customer::editCustomer()
{
    const CustomerRecord customer = typedCustomer(m_currentCustomerId);
    const Status status = Hourglass::around([&] { return CustomerStore::update(customer); });
    if (status.isChanged()) {
        ChangedRecord::settle(
            m_loaded,
            [this] { return ChangedRecord::loadedOf(CustomerStore::load(m_currentCustomerId)); },
            [this] { LoadCustomer(); });
        return;
    }
    if (!status) {
        prompter().message(status.message());
        if (status.isNotFound())
            FillCustomerList();
        return;
    }
    ClearCustomer();
}

void Customer::combCustID_Click(int index)
{
    if (index < 0) { // typed text that names no customer: the one shown before goes
        forgetCustomer();
        return;
    }
    showNewCustomerState(false);
    const QString line = combCustID->itemText(index);
    m_currentCustomerId = line.section(QLatin1Char(' '), 0, 0);
    LoadCustomer();
    FillCustomerList();
}

void Customer::FillCustomerList()
{
    m_customerList->refresh();
}

void Customer::showCustomerLines(const QStringList& lines)
{
    const QString shown = combCustID->currentText();
    // The untyped rest of a completed line stays selected, so that typing goes on from there.
    QLineEdit* edit = combCustID->lineEdit();
    const int selected = edit->selectionStart();
    const auto selectedLength = static_cast<int>(edit->selectedText().size());
    const QSignalBlocker quiet(combCustID);
    combCustID->clear();
    combCustID->addItems(lines);
    combCustID->setCurrentIndex(combCustID->findText(shown));
    combCustID->setEditText(shown);
    if (selected >= 0)
        edit->setSelection(selected, selectedLength);
}

void Customer::LoadCustomer()
{
    const auto loaded =
        Hourglass::around([this] { return CustomerStore::load(m_currentCustomerId); });
    if (!loaded) {
        statusNotice().show(StatusNotice::readFailed(
            QStringLiteral("Customer %1").arg(m_currentCustomerId), loaded.status()));
        // Boxes of the customer shown before must not be saved under this one's ID.
        ClearCustomer();
        return;
    }
    const CustomerRecord& c = *loaded;
    m_loaded = c.loaded;
    chkInactive->setChecked(c.inactive);
    Text1->setText(c.name);
    txtID->setText(c.id);
    Text2->setText(c.address);
    Text3->setText(c.city);
    Text4->setText(c.state);
    Text5->setText(c.zip);
    Text6->setText(c.phone);
    Text7->setText(c.fax);
    Text8->setText(c.email);
    txtComm->setPlainText(c.comment);
}

void Customer::ClearCustomer()
{
    combCustID->setEditText(QString());
    forgetCustomer();
    Text1->setFocus();
}

void Customer::forgetCustomer()
{
    m_currentCustomerId.clear();
    for (QLineEdit* box : {txtID, Text1, Text2, Text3, Text4, Text5, Text6, Text7, Text8})
        box->clear();
    txtComm->clear();
    chkInactive->setChecked(false);
    m_loaded = {};
    showNewCustomerState(true);
}

void Customer::RemoveCustomer()
{
    if (m_currentCustomerId.isEmpty()) {
        prompter().message(QStringLiteral("No customer has been chosen."));
        return;
    }
    if (!prompter().confirm(
            QStringLiteral("Are you sure you want to remove this customer from the Database?"),
            Prompter::defaultTitle(), Prompter::Icon::None)) {
        prompter().message(QStringLiteral("Deletion has been cancelled"));
        return;
    }
    if (!CheckOpenInvoices())
        return;
    const Status status =
        Hourglass::around([this] { return CustomerStore::remove(m_currentCustomerId); });
    if (!status) {
        prompter().message(status.message());
        return;
    }
    prompter().message(QStringLiteral("Customer has beed deleted from database"));
    m_currentCustomerId.clear();
    ClearCustomer();
    chkRemove->setChecked(false);
    FillCustomerList();
}

bool Customer::CheckOpenInvoices()
{
    const auto open = CustomerStore::hasOpenInvoices(m_currentCustomerId);
    if (!open) {
        // The invoices could not be read: do not remove a customer who may still owe money.
        prompter().message(open.status().message());
        return false;
    }
    if (!*open)
        return true;
    return prompter().confirm(QStringLiteral("This customer still had open invoices. Do you still "
                                             "want to remove this customer?"),
                              Prompter::defaultTitle(), Prompter::Icon::None);
}
