#pragma once

#include <QWidget>

class ListRead;
class QComboBox;
class QLineEdit;
class QPushButton;
class QTabWidget;

namespace AssignmentStore {
struct Choices;
}

/** Hands an open ticket to another technician, or changes an open ticket's priority. */
class Assignment : public QWidget {
    Q_OBJECT

public:
    explicit Assignment(QWidget* parent = nullptr);

    QTabWidget* SSTab1;
    QComboBox* combAssign;
    QLineEdit* txtAsgnTicket;
    QComboBox* combAssignEmp;
    QPushButton* cmdAssign;
    QPushButton* cmdClear;

    QComboBox* combAssignP;
    QLineEdit* txtChgPr;
    QComboBox* combChgPrTo;
    QPushButton* cmdChgPr;
    QPushButton* cmdClearPr;

public Q_SLOTS:
    void combAssign_Click();
    void combAssignEmp_Click();
    void cmdAssign_Click();
    void cmdClear_Click();
    void combAssignP_Click();
    void cmdChgPr_Click();
    void cmdClearPr_Click();

private:
    QWidget* buildReassignPage();
    QWidget* buildPriorityPage();
    void fillLists();
    void showChoices(const AssignmentStore::Choices& choices);

    /** The employee chosen last since the window opened; Clear keeps it. */
    QString m_selectedEmpId;
    int m_priorityTicketNum = 0;
    /** Reads the tickets and technicians to choose from, and again after a read that failed. */
    ListRead* m_choices = nullptr;
};
