#include "masterdata/employeesetuppage.h"

#include "data/conversions.h"
#include "masterdata/employeeinput.h"
#include "masterdata/employeepictureframe.h"
#include "masterdata/employeestore.h"
#include "widgets/changedrecord.h"
#include "widgets/formbuilder.h"
#include "widgets/hourglass.h"
#include "widgets/inputhelpers.h"
#include "widgets/prompter.h"
#include "widgets/statusnotice.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

constexpr int MiddleInitial = 2;
constexpr int State = 5;
constexpr int Ssn = 9;
constexpr int DateOfBirth = 10;
constexpr int HireDate = 11;
constexpr int Comments = 12;
constexpr int EmpId = 13;

// The boxes Save and Edit require, in screen order.
constexpr int Required[] = {0, 1, 3, 4, 5, 6, 7, Ssn, DateOfBirth, HireDate};

const QString& missingFieldsMessage()
{
    static const QString text =
        QStringLiteral("The Employees name, address, city, state, zip, phone, SS#, Date of Birth "
                       "and Hire date must be filled in!");
    return text;
}

const QString& badDateMessage()
{
    static const QString text = QStringLiteral("Please enter a valid date, mm/dd/yy format.");
    return text;
}

} // namespace

EmployeeSetupPage::EmployeeSetupPage(QWidget* parent) : QWidget(parent)
{
    buildControls();
    txtPostDate->setText(conv::formatDate(QDate::currentDate()));
}

void EmployeeSetupPage::buildControls()
{
    const FormBuilder form(this);
    combEmpID = form.searchCombo(QStringLiteral("combEmpID"));
    combEmpID->setMinimumContentsLength(28);
    connect(combEmpID, &QComboBox::activated, this, &EmployeeSetupPage::combEmpID_Click);
    buildBoxes(form);

    pictureFrame = form.make<EmployeePictureFrame>(QStringLiteral("pictureFrame"));
    cmdSave = form.button(QStringLiteral("cmdSave"), QStringLiteral("Save"));
    cmdEdit = form.button(QStringLiteral("cmdEdit"), QStringLiteral("Edit"));
    cmdClear = form.button(QStringLiteral("cmdClear"), QStringLiteral("Clear"));
    cmdEdit->hide();
    connect(cmdSave, &QPushButton::clicked, this, &EmployeeSetupPage::cmdSave_Click);
    connect(cmdEdit, &QPushButton::clicked, this, &EmployeeSetupPage::cmdEdit_Click);
    connect(cmdClear, &QPushButton::clicked, this, &EmployeeSetupPage::cmdClear_Click);

    txtPostDate = form.textBox(QStringLiteral("txtPostDate"));
    txtPostDate->setReadOnly(true);
    txtPostDate->setAlignment(Qt::AlignCenter);
    txtPostDate->setMaximumWidth(90);

    auto* top = new QHBoxLayout;
    top->addWidget(form.label(QStringLiteral("EmployeeID")));
    top->addWidget(combEmpID, 1);
    top->addSpacing(16);
    top->addWidget(form.label(QStringLiteral("EmpID")));
    top->addWidget(Text1[EmpId]);
    top->addSpacing(16);
    top->addWidget(form.label(QStringLiteral("Post Date")));
    top->addWidget(txtPostDate);

    auto* middle = new QHBoxLayout;
    middle->addLayout(layoutDetails(form), 1);
    middle->addSpacing(12);
    middle->addWidget(pictureFrame, 0, Qt::AlignTop);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdSave);
    buttons->addWidget(cmdEdit);
    buttons->addWidget(cmdClear);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(middle, 1);
    layout->addLayout(buttons);
}

void EmployeeSetupPage::buildBoxes(const FormBuilder& form)
{
    const int limits[] = {30, 30, 1, 30, 20, 2, 10, 15, 0, 11, 0, 0, 0, 10};
    for (int i = 0; i < 14; ++i) {
        if (i == Comments)
            continue;
        Text1[i] = form.textBox(QStringLiteral("Text1_%1").arg(i), limits[i]);
        Text1[i]->installEventFilter(this);
    }
    Text1[MiddleInitial]->setAlignment(Qt::AlignCenter);
    Text1[MiddleInitial]->setMaximumWidth(40);
    Text1[State]->setMaximumWidth(40);
    Text1[EmpId]->setReadOnly(true);

    optMale = form.option(QStringLiteral("optMale"), QStringLiteral("Male"));
    optFemale = form.option(QStringLiteral("optFemale"), QStringLiteral("Female"));
    chkInactive = form.checkBox(QStringLiteral("chkInactive"), QStringLiteral("Inactive"));
    chkRemove = form.checkBox(QStringLiteral("chkRemove"), QStringLiteral("Remove"));
    connect(chkRemove, &QCheckBox::toggled, this, [this](bool ticked) {
        if (ticked)
            chkRemove_Click();
    });
    // Created after the options so that Tab reaches it after them.
    Text1Comments = form.make<QPlainTextEdit>(QStringLiteral("Text1_12"));
    Text1Comments->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    InputHelpers::selectOnFocus({Text1[0], Text1[1], Text1[2], Text1[3], Text1[4], Text1[5],
                                 Text1[6], Text1[7], Text1[8], Text1[9], Text1[10], Text1[11],
                                 Text1Comments, Text1[EmpId]});
}

QGridLayout* EmployeeSetupPage::layoutDetails(const FormBuilder& form)
{
    auto* grid = new QGridLayout;
    form.addLabelled(grid, 0, 0, QStringLiteral("First Name"), Text1[0]);
    form.addLabelled(grid, 0, 2, QStringLiteral("Last Name"), Text1[1]);
    form.addLabelled(grid, 0, 4, QStringLiteral("Middle Initial"), Text1[MiddleInitial]);
    form.addLabelled(grid, 1, 0, QStringLiteral("Address"), Text1[3], 3);
    form.addLabelled(grid, 2, 0, QStringLiteral("City,State,Zip"), Text1[4]);
    grid->addWidget(Text1[State], 2, 2);
    grid->addWidget(Text1[6], 2, 3);
    form.addLabelled(grid, 3, 0, QStringLiteral("Phone"), Text1[7]);
    form.addLabelled(grid, 3, 2, QStringLiteral("Email"), Text1[8], 3);
    form.addLabelled(grid, 4, 0, QStringLiteral("SS#"), Text1[Ssn]);
    form.addLabelled(grid, 4, 2, QStringLiteral("DOB"), Text1[DateOfBirth]);
    form.addLabelled(grid, 5, 0, QStringLiteral("Hire Date"), Text1[HireDate]);
    auto* flags = new QHBoxLayout;
    for (QWidget* box : std::initializer_list<QWidget*>{optMale, optFemale, chkInactive, chkRemove})
        flags->addWidget(box);
    flags->addStretch();
    grid->addLayout(flags, 6, 1, 1, 3);
    grid->addWidget(form.label(QStringLiteral("Comments")), 7, 0, Qt::AlignTop);
    grid->addWidget(Text1Comments, 7, 1, 1, 5);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    return grid;
}

void EmployeeSetupPage::setEmployeeLines(const QStringList& lines)
{
    const QString shown = combEmpID->currentText();
    combEmpID->clear();
    combEmpID->addItems(lines);
    combEmpID->setCurrentIndex(-1);
    combEmpID->setEditText(shown);
    InputHelpers::setComboDropWidth(combEmpID);
}

bool EmployeeSetupPage::eventFilter(QObject* watched, QEvent* event)
{
    // A box is left when the focus goes to another control, not when a message box or another
    // program takes it for a while.
    const auto reason = event->type() == QEvent::FocusOut
                            ? static_cast<QFocusEvent*>(event)->reason()
                            : Qt::ActiveWindowFocusReason;
    if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
        for (int i = 0; i < 14; ++i) {
            if (Text1[i] && watched == Text1[i])
                Text1_LostFocus(i);
        }
    }
    return QWidget::eventFilter(watched, event);
}

void EmployeeSetupPage::Text1_LostFocus(int index)
{
    switch (index) {
    case MiddleInitial:
        if (Text1[0]->text().isEmpty() || !cmdEdit->isHidden())
            return;
        Text1[MiddleInitial]->setText(Text1[MiddleInitial]->text().toUpper());
        CreateEmpID();
        return;
    case State:
        Text1[State]->setText(Text1[State]->text().toUpper());
        return;
    case Ssn:
        checkBox(Ssn, EmployeeInput::checkSsn, QStringLiteral("Please you the 000-00-0000 format"));
        return;
    case DateOfBirth:
    case HireDate:
        checkBox(index, EmployeeInput::checkDate, badDateMessage());
        return;
    default:
        return;
    }
}

void EmployeeSetupPage::CreateEmpID()
{
    const auto number = Hourglass::around([] { return EmployeeStore::drawNumber(); });
    if (!number) {
        prompter().message(number.status().message());
        return;
    }
    Text1[EmpId]->setText(EmployeeInput::employeeId(Text1[0]->text(), Text1[MiddleInitial]->text(),
                                                    Text1[1]->text(), *number));
    combEmpID->setEditText(Text1[EmpId]->text());
}

void EmployeeSetupPage::checkBox(int index, EmployeeInput::Checked (*rule)(const QString&),
                                 const QString& warning)
{
    const auto checked = rule(Text1[index]->text());
    Text1[index]->setText(checked.text);
    if (checked.warn)
        prompter().message(warning);
}

void EmployeeSetupPage::showEditingState(bool editing)
{
    cmdSave->setVisible(!editing);
    cmdEdit->setVisible(editing);
}

void EmployeeSetupPage::combEmpID_Click()
{
    const int index = combEmpID->currentIndex();
    const QString line = index >= 0 ? combEmpID->itemText(index) : combEmpID->currentText();
    m_currentEmpId = line.section(QLatin1Char(' '), 0, 0);
    LoadEmployee();
}

void EmployeeSetupPage::LoadEmployee()
{
    const auto employee = Hourglass::around([this] { return EmployeeStore::load(m_currentEmpId); });
    if (!employee) {
        // Boxes of the employee shown before must not be saved under this one's ID.
        ClearEmployee();
        statusNotice().show(StatusNotice::readFailed(
            QStringLiteral("Employee %1").arg(m_currentEmpId), employee.status()));
        return;
    }
    showEditingState(true);
    const EmployeeRecord& e = *employee;
    m_loaded = e.loaded;
    const QString texts[] = {e.firstName,
                             e.lastName,
                             e.middleInitial,
                             e.address,
                             e.city,
                             e.state,
                             e.zip,
                             e.phone,
                             e.email,
                             e.ssn,
                             conv::formatDate(e.dateOfBirth),
                             conv::formatDate(e.hireDate),
                             e.comments,
                             e.empId};
    for (int i = 0; i < 14; ++i) {
        if (i == Comments)
            Text1Comments->setPlainText(texts[i]);
        else
            Text1[i]->setText(texts[i]);
    }
    pictureFrame->showEmployeePicture(e.picture);
    chkInactive->setChecked(e.inactive);
    setGender(e.male, e.female);
}

void EmployeeSetupPage::setGender(bool male, bool female)
{
    // Both options may be off, for a new employee or one saved without either.
    for (QRadioButton* option : {optMale, optFemale})
        option->setAutoExclusive(false);
    optMale->setChecked(male);
    optFemale->setChecked(female);
    for (QRadioButton* option : {optMale, optFemale})
        option->setAutoExclusive(true);
}

std::optional<EmployeeRecord> EmployeeSetupPage::recordFromBoxes()
{
    for (int index : Required) {
        if (Text1[index]->text().isEmpty()) {
            prompter().message(missingFieldsMessage());
            return std::nullopt;
        }
    }
    EmployeeRecord e;
    for (int index : {DateOfBirth, HireDate}) {
        const auto date = conv::parseDate(Text1[index]->text());
        if (!date) {
            prompter().message(badDateMessage());
            Text1[index]->setFocus();
            return std::nullopt;
        }
        (index == DateOfBirth ? e.dateOfBirth : e.hireDate) = *date;
    }
    e.empId = Text1[EmpId]->text();
    e.firstName = Text1[0]->text();
    e.lastName = Text1[1]->text();
    e.middleInitial = Text1[MiddleInitial]->text();
    e.address = Text1[3]->text();
    e.city = Text1[4]->text();
    e.state = Text1[State]->text();
    e.zip = Text1[6]->text();
    e.phone = Text1[7]->text();
    e.email = Text1[8]->text();
    e.ssn = Text1[Ssn]->text();
    e.comments = Text1Comments->toPlainText();
    e.picture = pictureFrame->path();
    e.inactive = chkInactive->isChecked();
    e.male = optMale->isChecked();
    e.female = optFemale->isChecked();
    e.postDate = conv::parseDate(txtPostDate->text()).value_or(QDate::currentDate());
    e.loaded = m_loaded;
    return e;
}

void EmployeeSetupPage::cmdSave_Click()
{
    const auto employee = recordFromBoxes();
    if (!employee)
        return;
    if (employee->empId.isEmpty()) {
        prompter().message(QStringLiteral("This employee has no EmpID yet: leave the Middle "
                                          "Initial box to make one."));
        Text1[MiddleInitial]->setFocus();
        return;
    }
    const Status status = Hourglass::around([&] { return EmployeeStore::add(*employee); });
    if (status.isDuplicate()) {
        prompter().message(QStringLiteral("This employee already exists!"));
        return;
    }
    if (!status) {
        prompter().message(status.message());
        return;
    }
    ClearEmployee();
    Q_EMIT employeesChanged();
}

void EmployeeSetupPage::cmdEdit_Click()
{
    const auto employee = recordFromBoxes();
    if (!employee)
        return;
    const Status status =
        Hourglass::around([&] { return EmployeeStore::update(m_currentEmpId, *employee); });
    if (status.isChanged()) {
        ChangedRecord::settle(
            m_loaded,
            [this] { return ChangedRecord::loadedOf(EmployeeStore::load(m_currentEmpId)); },
            [this] { LoadEmployee(); });
        return;
    }
    if (!status) {
        prompter().message(status.message());
        if (status.isNotFound())
            Q_EMIT employeesChanged();
        return;
    }
    ClearEmployee();
    Q_EMIT employeesChanged();
}

void EmployeeSetupPage::cmdClear_Click()
{
    ClearEmployee();
}

void EmployeeSetupPage::ClearEmployee()
{
    combEmpID->setCurrentIndex(-1);
    combEmpID->setEditText(QString());
    for (QLineEdit* box : Text1) {
        if (box)
            box->clear();
    }
    Text1Comments->clear();
    setGender(false, false);
    pictureFrame->showEmployeePicture(QString());
    chkInactive->setChecked(false);
    chkRemove->setChecked(false);
    m_loaded = {};
    Text1[0]->setFocus();
    showEditingState(false);
}

void EmployeeSetupPage::chkRemove_Click()
{
    const QString empId = Text1[EmpId]->text();
    if (empId.isEmpty()) {
        prompter().message(QStringLiteral("No employee has been chosen; nothing was removed."));
        chkRemove->setChecked(false);
        return;
    }
    const QString name = (Text1[0]->text() + QLatin1Char(' ') + Text1[1]->text()).trimmed();
    if (!prompter().confirm(QStringLiteral("Are you sure you want to remove employee %1 (%2) "
                                           "from the Database, with the login and access rights?")
                                .arg(empId, name))) {
        prompter().message(QStringLiteral("Deletion has been cancelled"));
        chkRemove->setChecked(false);
        return;
    }
    const Status status = Hourglass::around([&] { return EmployeeStore::remove(empId); });
    if (!status) {
        prompter().message(status.message());
        chkRemove->setChecked(false);
        return;
    }
    prompter().message(QStringLiteral("Employee has been deleted"));
    ClearEmployee();
    Q_EMIT employeesChanged();
}
