#pragma once

#include <QWidget>
#include <array>

class FormBuilder;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;

/** The "Employee Access" page: an employee's password and the menu entries the employee may
 *  use. */
class EmployeeAccessPage : public QWidget {
    Q_OBJECT

public:
    static constexpr int FlagCount = 25;

    explicit EmployeeAccessPage(QWidget* parent = nullptr);

    /** Puts the employee lines into combEmpAccess. */
    void setEmployeeLines(const QStringList& lines);
    /** The employee chosen in combEmpAccess; empty once the page is cleared. */
    QString currentEmpId() const { return m_currentEmpId; }

    QComboBox* combEmpAccess = nullptr;
    QLineEdit* txtPwd = nullptr;
    QGroupBox* Frame1 = nullptr;
    std::array<QCheckBox*, FlagCount> Check{};
    QCheckBox* chkAdmin = nullptr;
    QPushButton* cmdEmpAccSave = nullptr;
    QPushButton* cmdEmpAccEdit = nullptr;
    QPushButton* cmdEmpAccClear = nullptr;

public Q_SLOTS:
    void combEmpAccess_Click();
    void cmdEmpAccSave_Click();
    void cmdEmpAccEdit_Click();
    void cmdEmpAccClear_Click();
    void chkAdmin_Click();

private:
    void buildControls();
    QGroupBox* buildAccessFrame(const FormBuilder& form);
    void ClearAccess();
    void showEditingState(bool editing);
    void tickAll(bool ticked);
    QList<bool> rights() const;
    bool employeeChosen(const QString& message);

    QString m_currentEmpId;
};
