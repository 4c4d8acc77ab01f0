#pragma once

#include "helpdesk/helpdeskstate.h"
#include "helpdesk/invoicearithmetic.h"
#include "helpdesk/invoicestore.h"

#include <QGroupBox>
#include <QList>

class FormBuilder;
class ListRead;
class QComboBox;
class QLineEdit;
class QPushButton;
class TabbedList;

/**
 * Frame "Invoice" inside the repair frame: the parts billed to the customer of the chosen ticket,
 * with the running tax and total, written as an invoice under the invoice counter.
 */
class InvoiceFrame : public QGroupBox {
    Q_OBJECT

public:
    /** `customerIdBox` is the open-tickets page's customer box, `workOrderBox` the repair
     *  frame's work order number. */
    InvoiceFrame(HelpDeskState& state, QLineEdit* customerIdBox, QLineEdit* workOrderBox,
                 QWidget* parent = nullptr);

    /** Fills combInvPart with the active parts afresh. */
    void fillParts();
    void showNextInvoiceNumber();
    /** Empties the line being entered and the item list, shows zero tax and total, forgets the
     *  tax of the lines and enables cmdInvoice. The invoice number stays. */
    void clearInvoiceEntry();
    /** The tax of the lines on the list. */
    Currency taxAccumulator() const { return m_tally.tax; }

    QLineEdit* txtInvNum;
    QComboBox* combInvPart;
    QLineEdit* txtInvDesc;
    QLineEdit* txtPrice;
    QLineEdit* txtInvQty;
    QLineEdit* txtInvSubTotal;
    TabbedList* lstInvItems;
    QLineEdit* txtInvTax;
    QLineEdit* txtInvTotal;
    QPushButton* cmdInvoice;
    QPushButton* cmdClearInv;

public Q_SLOTS:
    void combInvPart_Click(int index);
    void txtInvQty_Change();
    void txtInvQty_LostFocus();
    void lstInvItems_Click(int row);
    void cmdInvoice_Click();
    void cmdClearInv_Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    /** A line of lstInvItems with what it bills and what it added to the tally. */
    struct ListedLine {
        InvoiceLine detail;
        LineCharge charge;
    };

    void buildLayout(const FormBuilder& ui);
    /** The message for the first check that the line being entered fails, if any. */
    QString lineProblem() const;
    void showTally();
    void clearLineEntry();
    /** Asks whether to print the invoice just written and prints it when so answered. */
    void offerToPrint(std::int32_t invoiceNumber);

    HelpDeskState& m_state;
    QLineEdit* m_customerIdBox;
    QLineEdit* m_workOrderBox;
    QString m_chosenPart;
    InvoiceTally m_tally;
    QList<ListedLine> m_lines;
    bool m_removingLine = false;
    /** Reads combInvPart's lines, and again after a read that failed. */
    ListRead* m_parts = nullptr;
};
