#pragma once

#include "data/rowsnapshot.h"
#include "helpdesk/helpdeskstate.h"
#include "helpdesk/mailsession.h"

#include <QWidget>
#include <cstdint>

class FormBuilder;
class ListRead;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class RepairFrame;
class TabbedList;
struct CallUpdate;

/** Page "Open Tickets" of the help desk window: the technician's open calls, one of them shown
 *  for update, with the repair and invoice frames. */
class OpenTicketsPage : public QWidget {
    Q_OBJECT

public:
    OpenTicketsPage(HelpDeskState& state, QWidget* parent = nullptr);
    /** A solution still being e-mailed is stopped; see cmdEmail_Click(). */
    ~OpenTicketsPage() override;

    RepairFrame* repairFrame() const { return m_repair; }
    /** The mail session solutions are e-mailed through; the window signs it on and off. */
    MailSession& mailSession() { return m_mail; }

    /** Lists the logged-in technician's open calls, High priority first. */
    void fillOpenTickets();
    /** Offers "Open" and "Closed" in combclose, with nothing chosen. */
    void fillCloseChoices();

    TabbedList* lstOpenTickets;
    QLineEdit* txtCustID;
    QListWidget* lstCustOT;
    QCheckBox* chkKnowOT;
    QPushButton* cmdClearOT;
    QLineEdit* txtProbType;
    QPlainTextEdit* txtProbOT;
    QPlainTextEdit* txtSolOT;
    QComboBox* combclose;
    QLineEdit* txtRecipient;
    QPushButton* cmdEmail;
    QPlainTextEdit* txtComm;
    QPushButton* cmdUpdateCall;
    QPushButton* cmdClearAll;

public Q_SLOTS:
    void lstOpenTickets_Click(int row);
    /** Shows the current ticket as stored. */
    void showTicket();
    void cmdUpdateCall_Click();
    void cmdClearOT_Click();
    void cmdClearAll_Click();
    void cmdEmail_Click();

private:
    void createControls(const FormBuilder& ui);
    QWidget* buildTicketColumn(const FormBuilder& ui);
    QWidget* buildTextColumn(const FormBuilder& ui);
    /** The call as the page shows it, for the chosen ticket. */
    CallUpdate enteredUpdate() const;
    /** The end of a send: the ticket is marked e-mailed once the server took the message. */
    void solutionSent(const Status& outcome);

    HelpDeskState& m_state;
    /** Reads lstOpenTickets' lines, and again after a read that failed. */
    ListRead* m_openTickets = nullptr;
    RepairFrame* m_repair;
    MailSession m_mail;
    /** The shown call as loaded, to refuse an update over another workstation's. */
    RowSnapshot m_loaded;
    /** The ticket whose solution is being e-mailed: another may be chosen meanwhile. */
    std::int32_t m_emailedTicket = 0;
};
