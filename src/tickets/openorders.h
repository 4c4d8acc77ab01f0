#pragma once

#include <QPointer>
#include <QWidget>

class OrdDetail;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class TabbedList;

/** The ticket log: every ticket with its days to close, the open tickets counted by priority,
 *  and each technician's tickets, whose details open in a pop-up. Reads only. */
class OpenOrders : public QWidget {
    Q_OBJECT

public:
    explicit OpenOrders(QWidget* parent = nullptr);

    /** The detail pop-up while it is open. */
    OrdDetail* detailWindow() const;

    /** The ticket last chosen in the technician's list. */
    int SelectedTicketNum = 0;

    QTabWidget* SSTab1;
    TabbedList* lstOpenOrders;
    QCheckBox* chkOpenOnly;
    QLabel* Label6;
    QLineEdit* txtHigh;
    QLineEdit* txtMed;
    QLineEdit* txtLow;

    QComboBox* combTech;
    QLabel* Label20;
    TabbedList* lstTechTickets;
    QCheckBox* chkTechOpenOnly;
    QPushButton* cmdClear;

public Q_SLOTS:
    void chkOpenOnly_Click();
    void combTech_Click();
    void chkTechOpenOnly_Click();
    void cmdClear_Click();
    void lstTechTickets_Click();

private:
    QWidget* buildTicketLogPage();
    QWidget* buildTechnicianPage();
    void fillTicketList(bool openOnly);
    /** Adds the next page of ticket lines; while pages come full, the following one is added
     *  once the window has had its turn, so a long log shows its first lines at once. */
    void addTicketPage(bool openOnly, int afterTicket, int limit, int fill);
    void fillTechnicianList(bool openOnly);
    QString chosenTechnicianId() const;

    QPointer<OrdDetail> m_detail;
    /** Counts the fills of the ticket list, so that a page of an earlier fill is dropped. */
    int m_ticketFill = 0;
};
