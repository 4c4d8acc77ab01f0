#pragma once

#include <QPointer>
#include <QWidget>
#include <cstdint>

class QComboBox;
class QPushButton;
class CustHistOrdDetail;
class TabbedList;

/** Lists every support ticket logged for one customer and opens the detail of a ticket. */
class CustHistory : public QWidget {
    Q_OBJECT

public:
    explicit CustHistory(QWidget* parent = nullptr);

    QComboBox* combCustID;
    TabbedList* lstHistory;
    QPushButton* cmdClear;

    /** The ticket of the history line clicked last; 0 before any. */
    std::int32_t chosenTicket() const { return m_ticket; }
    /** The open detail window, or nullptr. */
    CustHistOrdDetail* detailWindow() const;

public Q_SLOTS:
    void combCustID_Click();
    void lstHistory_Click(int row);
    void cmdClear_Click();

private:
    std::int32_t m_ticket = 0;
    QPointer<CustHistOrdDetail> m_detail;
};
