#include "masterdata/employeeaccesspage.h"

#include "masterdata/employeestore.h"
#include "widgets/formbuilder.h"
#include "widgets/hourglass.h"
#include "widgets/inputhelpers.h"
#include "widgets/prompter.h"
#include "widgets/statusnotice.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

struct AccessHeading {
    const char* heading;
    int first;
    int last;
    int column;
};

// The menu the access flags switch, grouped as the main window's menus are.
constexpr AccessHeading Headings[] = {
    {"File Menu", 0, 1, 0},       {"Delete Tickets", 2, 3, 0},
    {"Delete Invoices", 4, 5, 0}, {"Delete Knowledge Base", 6, 7, 0},
    {"Company Info", 8, 9, 1},    {"Options", 10, 17, 1},
    {"Reports", 18, 24, 2},
};

constexpr const char* Captions[EmployeeAccessPage::FlagCount] = {
    "Backup Database",
    "Compact Database",
    "Delete One Ticket",
    "Delete All closed Tickets",
    "Delete One Invoice",
    "Delete All closed Invoices",
    "Delete One Solution",
    "Delete Knowledge Base",
    "Add/Edit Company",
    "Add/Edit Employee",
    "Add/Edit Customer",
    "Add/Edit Inventory",
    "Add Hardware/Software Type",
    "Customer History",
    "Customer Payment",
    "ReAssign Ticket/Priority",
    "HelpDesk",
    "Ticket Log",
    "Billing Statement",
    "Call Log Statistics",
    "Employee List",
    "Inventory List",
    "Knowledge Base",
    "Print All Invoices",
    "RePrint Invoice",
};

} // namespace

EmployeeAccessPage::EmployeeAccessPage(QWidget* parent) : QWidget(parent)
{
    buildControls();
}

void EmployeeAccessPage::buildControls()
{
    const FormBuilder form(this);
    combEmpAccess = form.make<QComboBox>(QStringLiteral("combEmpAccess"));
    combEmpAccess->setEditable(true);
    combEmpAccess->setInsertPolicy(QComboBox::NoInsert);
    combEmpAccess->setCompleter(nullptr);
    combEmpAccess->setMinimumContentsLength(28);
    connect(combEmpAccess, &QComboBox::activated, this, &EmployeeAccessPage::combEmpAccess_Click);

    txtPwd = form.textBox(QStringLiteral("txtPwd"));
    txtPwd->setEchoMode(QLineEdit::Password);
    txtPwd->setMaximumWidth(200);
    InputHelpers::selectOnFocus({txtPwd});

    cmdEmpAccSave = form.button(QStringLiteral("cmdEmpAccSave"), QStringLiteral("Save"));
    cmdEmpAccEdit = form.button(QStringLiteral("cmdEmpAccEdit"), QStringLiteral("Edit"));
    cmdEmpAccClear = form.button(QStringLiteral("cmdEmpAccClear"), QStringLiteral("Clear"));
    cmdEmpAccEdit->hide();
    connect(cmdEmpAccSave, &QPushButton::clicked, this, &EmployeeAccessPage::cmdEmpAccSave_Click);
    connect(cmdEmpAccEdit, &QPushButton::clicked, this, &EmployeeAccessPage::cmdEmpAccEdit_Click);
    connect(cmdEmpAccClear, &QPushButton::clicked, this, &EmployeeAccessPage::cmdEmpAccClear_Click);

    auto* who = new QFormLayout;
    who->addRow(QStringLiteral("EmpID"), combEmpAccess);
    who->addRow(QStringLiteral("Password"), txtPwd);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdEmpAccSave);
    buttons->addWidget(cmdEmpAccEdit);
    buttons->addWidget(cmdEmpAccClear);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(who);
    layout->addWidget(buildAccessFrame(form), 1);
    layout->addLayout(buttons);
}

QGroupBox* EmployeeAccessPage::buildAccessFrame(const FormBuilder& form)
{
    std::array<QVBoxLayout*, 3> columns{};
    auto* row = new QHBoxLayout;
    for (QVBoxLayout*& column : columns) {
        column = new QVBoxLayout;
        row->addLayout(column, 1);
    }
    for (const AccessHeading& group : Headings) {
        QLabel* heading = form.label(QString::fromUtf8(group.heading));
        QFont bold = heading->font();
        bold.setBold(true);
        heading->setFont(bold);
        columns[group.column]->addWidget(heading);
        for (int i = group.first; i <= group.last; ++i) {
            Check[i] =
                form.checkBox(QStringLiteral("Check_%1").arg(i), QString::fromUtf8(Captions[i]));
            columns[group.column]->addWidget(Check[i]);
        }
        columns[group.column]->addSpacing(8);
    }
    chkAdmin = form.checkBox(QStringLiteral("chkAdmin"), QStringLiteral("Give Admin Rites"));
    connect(chkAdmin, &QCheckBox::toggled, this, &EmployeeAccessPage::chkAdmin_Click);
    columns[2]->addSpacing(8);
    columns[2]->addWidget(chkAdmin);
    for (QVBoxLayout* column : columns)
        column->addStretch();
    Frame1 = form.frame(QStringLiteral("Set Access"), row);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    return Frame1;
}

void EmployeeAccessPage::setEmployeeLines(const QStringList& lines)
{
    const QString shown = combEmpAccess->currentText();
    combEmpAccess->clear();
    combEmpAccess->addItems(lines);
    combEmpAccess->setCurrentIndex(-1);
    combEmpAccess->setEditText(shown);
    InputHelpers::setComboDropWidth(combEmpAccess);
}

void EmployeeAccessPage::showEditingState(bool editing)
{
    cmdEmpAccSave->setVisible(!editing);
    cmdEmpAccEdit->setVisible(editing);
}

void EmployeeAccessPage::tickAll(bool ticked)
{
    for (QCheckBox* box : Check)
        box->setChecked(ticked);
}

QList<bool> EmployeeAccessPage::rights() const
{
    QList<bool> flags;
    for (const QCheckBox* box : Check)
        flags << box->isChecked();
    return flags;
}

void EmployeeAccessPage::combEmpAccess_Click()
{
    const int index = combEmpAccess->currentIndex();
    const QString line = index >= 0 ? combEmpAccess->itemText(index) : combEmpAccess->currentText();
    m_currentEmpId = line.section(QLatin1Char(' '), 0, 0);
    const auto access =
        Hourglass::around([this] { return EmployeeStore::loadAccess(m_currentEmpId); });
    if (!access) {
        // An employee without a login yet is given one; any other failure is said.
        if (!access.status().isNotFound())
            statusNotice().show(StatusNotice::readFailed(
                QStringLiteral("The access rights of %1").arg(m_currentEmpId), access.status()));
        showEditingState(false);
        return;
    }
    for (int i = 0; i < FlagCount; ++i)
        Check[i]->setChecked(access->value(i));
    showEditingState(true);
}

void EmployeeAccessPage::chkAdmin_Click()
{
    tickAll(chkAdmin->isChecked());
}

bool EmployeeAccessPage::employeeChosen(const QString& message)
{
    if (combEmpAccess->currentText().isEmpty() || m_currentEmpId.isEmpty()) {
        prompter().message(message);
        return false;
    }
    return true;
}

void EmployeeAccessPage::cmdEmpAccSave_Click()
{
    if (!employeeChosen(QStringLiteral("Please select an Employee")))
        return;
    const Status status = Hourglass::around(
        [this] { return EmployeeStore::addAccess(m_currentEmpId, rights(), txtPwd->text()); });
    if (!status) {
        prompter().message(status.isDuplicate()
                               ? QStringLiteral("This employee already has access rights.")
                               : status.message());
        return;
    }
    prompter().message(QStringLiteral("Access rites have been added to database"));
    ClearAccess();
}

void EmployeeAccessPage::cmdEmpAccEdit_Click()
{
    if (!employeeChosen(QStringLiteral("Please select an employee")))
        return;
    const Status status = Hourglass::around(
        [this] { return EmployeeStore::editAccess(m_currentEmpId, rights(), txtPwd->text()); });
    if (!status) {
        prompter().message(status.message());
        return;
    }
    showEditingState(false);
    combEmpAccess->setCurrentIndex(-1);
    combEmpAccess->setEditText(QString());
    m_currentEmpId.clear();
    tickAll(false);
    txtPwd->clear();
}

void EmployeeAccessPage::cmdEmpAccClear_Click()
{
    ClearAccess();
}

void EmployeeAccessPage::ClearAccess()
{
    combEmpAccess->setCurrentIndex(-1);
    combEmpAccess->setEditText(QString());
    m_currentEmpId.clear();
    txtPwd->clear();
    chkAdmin->setChecked(false);
    tickAll(false);
    showEditingState(false);
}
