#pragma once

#include "data/rowsnapshot.h"
#include "masterdata/employeeinput.h"

#include <QWidget>
#include <array>
#include <optional>

class FormBuilder;
class QCheckBox;
class QGridLayout;
class QComboBox;
class EmployeePictureFrame;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
struct EmployeeRecord;

/** The "Employee Setup" page: creates, corrects and removes employee records. */
class EmployeeSetupPage : public QWidget {
    Q_OBJECT

public:
    explicit EmployeeSetupPage(QWidget* parent = nullptr);

    /** Puts the employee lines into combEmpID. */
    void setEmployeeLines(const QStringList& lines);
    /** Draws the next employee number and forms the ID from the initials into Text1(13). */
    void CreateEmpID();
    /** The employee chosen last in combEmpID; Edit works on it. */
    QString currentEmpId() const { return m_currentEmpId; }

    QComboBox* combEmpID = nullptr;
    // Text1(12), the comments, is the multi-line Text1Comments; its slot here stays empty.
    std::array<QLineEdit*, 14> Text1{};
    QPlainTextEdit* Text1Comments = nullptr;
    QRadioButton* optMale = nullptr;
    QRadioButton* optFemale = nullptr;
    QCheckBox* chkInactive = nullptr;
    QCheckBox* chkRemove = nullptr;
    // Picture1, txtPicLink and cmdPicLink.
    EmployeePictureFrame* pictureFrame = nullptr;
    QPushButton* cmdSave = nullptr;
    QPushButton* cmdEdit = nullptr;
    QPushButton* cmdClear = nullptr;
    QLineEdit* txtPostDate = nullptr;

Q_SIGNALS:
    /** An employee was added, changed or removed. */
    void employeesChanged();

public Q_SLOTS:
    void combEmpID_Click();
    void Text1_LostFocus(int index);
    void cmdSave_Click();
    void cmdEdit_Click();
    void cmdClear_Click();
    void chkRemove_Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void buildBoxes(const FormBuilder& form);
    QGridLayout* layoutDetails(const FormBuilder& form);
    /** Shows the employee m_currentEmpId as stored. */
    void LoadEmployee();
    void ClearEmployee();
    void showEditingState(bool editing);
    void setGender(bool male, bool female);
    std::optional<EmployeeRecord> recordFromBoxes();
    void checkBox(int index, EmployeeInput::Checked (*rule)(const QString&),
                  const QString& warning);

    QString m_currentEmpId;
    /** The shown employee as loaded, to refuse an edit over another workstation's. */
    RowSnapshot m_loaded;
};
