#include "masterdata/customer.h"

#include "widgets/comboautocomplete.h"
#include "widgets/hourglass.h"
#include "widgets/inputhelpers.h"
#include "widgets/prompter.h"
#include "widgets/windowconventions.h"
#include "data/conversions.h"
#include "masterdata/customerstore.h"

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

namespace {

QLineEdit* newBox(QWidget* parent, const char* name, int maxLength)
{
    auto* box = new QLineEdit(parent);
    box->setObjectName(QString::fromLatin1(name));
    if (maxLength > 0)
        box->setMaxLength(maxLength);
    return box;
}

QAction* newButton(QToolBar* toolbar, const char* key, const QString& text, const QString& tip,
                   QStyle::StandardPixmap picture)
{
    QAction* action = toolbar->addAction(toolbar->style()->standardIcon(picture), text);
    action->setObjectName(QString::fromLatin1(key));
    action->setToolTip(tip);
    return action;
}

} // namespace

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
    Toolbar1 = new QToolBar(this);
    Toolbar1->setObjectName(QStringLiteral("Toolbar1"));
    Toolbar1->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_create =
        newButton(Toolbar1, "Create", QStringLiteral("Create"),
                  QStringLiteral("Create Customer in Database"), QStyle::SP_FileDialogNewFolder);
    m_clear = newButton(Toolbar1, "Clear", QStringLiteral("Clear"), QStringLiteral("Clear From"),
                        QStyle::SP_DialogResetButton);
    m_edit = newButton(Toolbar1, "Edit", QStringLiteral("Edit"), QStringLiteral("Edit Customer"),
                       QStyle::SP_FileDialogDetailedView);
    connect(Toolbar1, &QToolBar::actionTriggered, this, &Customer::Toolbar1_ButtonClick);

    combCustID = new QComboBox(this);
    combCustID->setObjectName(QStringLiteral("combCustID"));
    combCustID->setEditable(true);
    combCustID->setInsertPolicy(QComboBox::NoInsert);
    ComboAutoComplete::install(combCustID);
    connect(combCustID, &QComboBox::activated, this, &Customer::combCustID_Click);

    txtID = newBox(this, "txtID", 0);
    txtID->setReadOnly(true);
    txtID->setFocusPolicy(Qt::NoFocus);
    Text1 = newBox(this, "Text1", 30);
    Text2 = newBox(this, "Text2", 30);
    Text3 = newBox(this, "Text3", 20);
    Text4 = newBox(this, "Text4", 2);
    Text4->setMaximumWidth(Text4->fontMetrics().horizontalAdvance(QStringLiteral("WWWW")));
    Text5 = newBox(this, "Text5", 10);
    Text6 = newBox(this, "Text6", 15);
    Text7 = newBox(this, "Text7", 15);
    Text8 = newBox(this, "Text8", 50);
    txtComm = new QPlainTextEdit(this);
    txtComm->setObjectName(QStringLiteral("txtComm"));
    txtComm->setTabChangesFocus(true);
    txtComm->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    chkInactive = new QCheckBox(QStringLiteral("Inactive"), this);
    chkInactive->setObjectName(QStringLiteral("chkInactive"));
    chkRemove = new QCheckBox(QStringLiteral("Remove"), this);
    chkRemove->setObjectName(QStringLiteral("chkRemove"));
    txtPostDate = newBox(this, "txtPostDate", 0);
    txtPostDate->setReadOnly(true);
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

    auto* grid = new QGridLayout;
    auto label = [this](const char* text) { return new QLabel(QString::fromUtf8(text), this); };
    grid->addWidget(combCustID, 0, 1, 1, 3);
    grid->addWidget(label("CustID"), 1, 0);
    grid->addWidget(txtID, 1, 1);
    grid->addWidget(chkInactive, 1, 2);
    grid->addWidget(chkRemove, 1, 3);
    grid->addWidget(label("Name"), 2, 0);
    grid->addWidget(Text1, 2, 1, 1, 3);
    grid->addWidget(label("Address"), 3, 0);
    grid->addWidget(Text2, 3, 1, 1, 3);
    grid->addWidget(label("City, State, Zip"), 4, 0);
    grid->addWidget(Text3, 4, 1);
    grid->addWidget(Text4, 4, 2, Qt::AlignLeft);
    grid->addWidget(Text5, 4, 3);
    grid->addWidget(label("Phone, Fax, Email"), 5, 0);
    grid->addWidget(Text6, 5, 1);
    grid->addWidget(Text7, 5, 2);
    grid->addWidget(Text8, 5, 3);
    grid->addWidget(label("Comments"), 6, 0, Qt::AlignTop);
    grid->addWidget(txtComm, 6, 1, 1, 3);
    grid->addWidget(label("Post Date"), 7, 0);
    grid->addWidget(txtPostDate, 7, 1);
    grid->setColumnStretch(1, 3);
    grid->setColumnStretch(2, 1);
    grid->setColumnStretch(3, 3);
    grid->setRowStretch(6, 1);

    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(Toolbar1);
    layout->addLayout(grid);

    const QList<QWidget*> tabOrder{Text1, Text2, Text3, Text4, Text5, Text6, Text7, Text8, txtComm};
    for (int i = 1; i < tabOrder.size(); ++i)
        setTabOrder(tabOrder[i - 1], tabOrder[i]);
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
    Database db;
    const auto id = CustomerStore::drawId(db, Text1->text());
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
    const Status status = [&] {
        Hourglass busy;
        Database db;
        return CustomerStore::create(db, customer);
    }();
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
            {}};
}

void Customer::editCustomer()
{
    const CustomerRecord customer = typedCustomer(m_currentCustomerId);
    const Status status = [&] {
        Hourglass busy;
        Database db;
        return CustomerStore::update(db, customer);
    }();
    if (!status) {
        prompter().message(status.message());
        return;
    }
    ClearCustomer();
}

void Customer::combCustID_Click(int index)
{
    showNewCustomerState(false);
    const QString line = combCustID->itemText(index);
    m_currentCustomerId = line.section(QLatin1Char(' '), 0, 0);
    LoadCustomer();
    FillCustomerList();
}

void Customer::FillCustomerList()
{
    Hourglass busy;
    Database db;
    const auto lines = CustomerStore::listLines(db);
    const QString shown = combCustID->currentText();
    const QSignalBlocker quiet(combCustID);
    combCustID->clear();
    combCustID->addItems(lines.valueOr({}));
    combCustID->setCurrentIndex(combCustID->findText(shown));
    combCustID->setEditText(shown);
}

void Customer::LoadCustomer()
{
    Hourglass busy;
    Database db;
    const auto loaded = CustomerStore::load(db, m_currentCustomerId);
    if (!loaded)
        return;
    const CustomerRecord& c = *loaded;
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
    for (QLineEdit* box : {txtID, Text1, Text2, Text3, Text4, Text5, Text6, Text7, Text8})
        box->clear();
    txtComm->clear();
    chkInactive->setChecked(false);
    showNewCustomerState(true);
    Text1->setFocus();
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
    const Status status = [this] {
        Hourglass busy;
        Database db;
        return CustomerStore::remove(db, m_currentCustomerId);
    }();
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
    Database db;
    const auto open = CustomerStore::hasOpenInvoices(db, m_currentCustomerId);
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
