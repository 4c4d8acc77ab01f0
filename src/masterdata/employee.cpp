#include "masterdata/employee.h"

#include "masterdata/employeeaccesspage.h"
#include "masterdata/employeesetuppage.h"
#include "masterdata/employeestore.h"
#include "widgets/formbuilder.h"
#include "widgets/hourglass.h"
#include "widgets/listread.h"
#include "widgets/windowconventions.h"

#include <QTabWidget>
#include <QVBoxLayout>

Employee::Employee(QWidget* parent) : QWidget(parent)
{
    Hourglass busy;
    setObjectName(QStringLiteral("Employee"));
    setWindowTitle(QStringLiteral("Employee"));
    WindowConventions::applyIcon(this);

    SSTab1 = FormBuilder(this).make<QTabWidget>(QStringLiteral("SSTab1"));
    setupPage = new EmployeeSetupPage(SSTab1);
    accessPage = new EmployeeAccessPage(SSTab1);
    SSTab1->addTab(setupPage, QStringLiteral("Employee Setup"));
    SSTab1->addTab(accessPage, QStringLiteral("Employee Access"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(SSTab1);
    connect(setupPage, &EmployeeSetupPage::employeesChanged, this, &Employee::FillEmployeeLists);
    m_employeeLists =
        ListRead::install(setupPage->combEmpID, QStringLiteral("The employee list"),
                          &EmployeeStore::employeeLines, [this](const QStringList& lines) {
                              setupPage->setEmployeeLines(lines);
                              accessPage->setEmployeeLines(lines);
                          });
    m_employeeLists->watch(accessPage->combEmpAccess);

    resize(WindowConventions::TaskWindowSize);
    FillEmployeeLists();
}

void Employee::CreateEmpID()
{
    setupPage->CreateEmpID();
}

void Employee::FillEmployeeLists()
{
    m_employeeLists->refresh();
}
