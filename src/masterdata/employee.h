#pragma once

#include <QWidget>

class EmployeeAccessPage;
class EmployeeSetupPage;
class ListRead;
class QTabWidget;

/** The Employee window: employee records on one page, logins and access rights on the other. */
class Employee : public QWidget {
    Q_OBJECT

public:
    explicit Employee(QWidget* parent = nullptr);

    /** Draws the next employee number and forms the new employee's ID from the initials. */
    void CreateEmpID();

    QTabWidget* SSTab1 = nullptr;
    EmployeeSetupPage* setupPage = nullptr;
    EmployeeAccessPage* accessPage = nullptr;

public Q_SLOTS:
    /** Refills the employee lists of both pages. */
    void FillEmployeeLists();

private:
    /** Reads both pages' employee lines, and again after a read that failed. */
    ListRead* m_employeeLists = nullptr;
};
