#pragma once

#include "helpdesk/helpdeskstate.h"

#include <QGroupBox>

class FormBuilder;
class InvoiceFrame;
class ListRead;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
struct TicketWorkOrder;

/**
 * Frame "Repair" of the open-tickets page: the chosen ticket's repair work order with its work
 * order and RMA numbers, repair technician and notes. It holds the invoice frame.
 */
class RepairFrame : public QGroupBox {
    Q_OBJECT

public:
    /** `customerIdBox` is the open-tickets page's customer box. */
    RepairFrame(HelpDeskState& state, QLineEdit* customerIdBox, QWidget* parent = nullptr);

    InvoiceFrame* invoiceFrame() const { return m_invoice; }

    /** Lists the active employees in combRepairTech, replacing what it held. */
    void fillRepairTechnicians();
    /** Shows the next work order and RMA numbers. */
    void showNextNumbers();
    /** Shows the work order of a chosen ticket and sets the buttons to match it. */
    void showWorkOrder(const TicketWorkOrder& order);
    /** The employee ID of the repair technician last chosen in combRepairTech. */
    QString repairTechId() const { return m_repairTechId; }

    QLineEdit* txtWorkOrder;
    QLineEdit* txtRMA;
    QComboBox* combRepairTech;
    QPlainTextEdit* txtRepairNotes;
    QPushButton* cmdCreateWrkOrd;
    QPushButton* cmdRepairEdit;
    QPushButton* cmdClearRepair;

public Q_SLOTS:
    void cmdCreateWrkOrd_Click();
    void cmdRepairEdit_Click();
    void cmdClearRepair_Click();
    void combRepairTech_Click(int index);

private:
    void buildLayout(const FormBuilder& ui);
    /** The message for the first of customer, technician and notes that is missing. */
    QString missingField() const;

    HelpDeskState& m_state;
    QLineEdit* m_customerIdBox;
    InvoiceFrame* m_invoice;
    QString m_repairTechId;
    /** Reads combRepairTech's lines, and again after a read that failed. */
    ListRead* m_technicians = nullptr;
};
