#pragma once

#include "helpdesk/helpdeskstate.h"

#include <QWidget>
#include <cstdint>

struct NewCall;

class FormBuilder;
class ListRead;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

/** Page "Log New Call" of the help desk window: a new support call and its problem. */
class LogCallPage : public QWidget {
    Q_OBJECT

public:
    LogCallPage(HelpDeskState& state, QWidget* parent = nullptr);

    /** Fills combProbType with the problem types afresh. */
    void fillProblemTypes();
    /** Fills combCustIDHD with the active customers afresh and clears lstCust. */
    void fillCustomers();
    /** Fills the fixed priority and status choices afresh. */
    void fillPriorityAndStatus();

    QLineEdit* txtTicket;
    QComboBox* combCustIDHD;
    QListWidget* lstCust;
    QComboBox* combPriority;
    QComboBox* combCallStatus;
    QComboBox* combProbType;
    QComboBox* combTypeSpec;
    QLineEdit* txtTech;
    QLineEdit* txtQuickDesc;
    QPlainTextEdit* txtProb;
    QPlainTextEdit* txtSol;
    QPlainTextEdit* txtCommLog;
    QCheckBox* chkKnowBase;
    QPushButton* cmdLogCall;
    QPushButton* cmdClearCall;

public Q_SLOTS:
    void cmdLogCall_Click();
    void cmdClearCall_Click();
    void combCustIDHD_Click(int index);
    void combProbType_Click(int index);

Q_SIGNALS:
    /** A call was saved under `ticket`. */
    void callLogged(std::int32_t ticket);

private:
    void buildLayout(const FormBuilder& ui);
    /** Sets up how the page's lists are read, and read again after a read that failed. */
    void createListReads();
    /** The first missing field's message, or an empty text when all are given. */
    QString missingField() const;
    /** The call as the page shows it. */
    NewCall enteredCall() const;

    HelpDeskState& m_state;
    ListRead* m_problemTypes = nullptr;
    ListRead* m_customers = nullptr;
    /** The types of the problem type chosen in combProbType. */
    ListRead* m_typeSpecifics = nullptr;
};
