#pragma once

#include <QPointer>
#include <QWidget>
#include <memory>

class FormBuilder;
class ListRead;
class OrdDetail;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class TabbedList;

namespace TicketLogStore {
class TicketPages;
struct TicketLog;
} // namespace TicketLogStore

/** The ticket log: every ticket with its days to close, the open tickets counted by priority,
 *  and each technician's tickets, whose details open in a pop-up. Reads only. */
class OpenOrders : public QWidget {
    Q_OBJECT

public:
    explicit OpenOrders(QWidget* parent = nullptr);
    ~OpenOrders() override;

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
    /** The frame of the open tickets' counts by priority. */
    QWidget* buildPriorityCounts(const FormBuilder& form);
    QWidget* buildTechnicianPage();
    /** Shows the counts and the technicians, and lists the tickets. */
    void showLog(const TicketLogStore::TicketLog& log);
    /** Lists the first page of tickets at once. Once those lines are on the screen, the rest
     *  follow a page at a time while the program is idle, so the window answers in between. */
    void fillTicketList(bool openOnly);
    /** Adds the next page of lines and says whether more may follow. */
    bool addTicketPage(int limit);
    void addLaterPages();
    /** Lists at once every line still waiting for idle time. */
    void addRemainingPages();
    void fillTechnicianList(bool openOnly);
    QString chosenTechnicianId() const;
    /** Reads the log again, as F5 does, keeping the technician chosen and the lists' choices. */
    void reloadLists();

    /** Reads the counts and the technicians, and again after a read that failed. */
    ListRead* m_log = nullptr;
    QPointer<OrdDetail> m_detail;
    std::unique_ptr<TicketLogStore::TicketPages> m_ticketPages;
    /** Counts the fills of the ticket list, so that a page of an earlier fill is dropped. */
    int m_ticketFill = 0;
    /** Whether the later pages wait for the first lines to be painted. */
    bool m_pagesAwaitPaint = false;
    int m_laterPageSize = 0;
};
