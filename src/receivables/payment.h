#pragma once

#include <QWidget>
#include <cstdint>
#include <optional>

class FormBuilder;
class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QToolBar;
class TabbedList;

/** Records a customer's payment, by check or credit memo, against one of the customer's open
 *  invoices. */
class Payment : public QWidget {
    Q_OBJECT

public:
    explicit Payment(QWidget* parent = nullptr);

    QToolBar* Toolbar1;
    QComboBox* combCustID;
    QLineEdit* txtPostDate;
    TabbedList* List1;
    TabbedList* List2;
    QLabel* labInvNum;
    /** The amount box. */
    QLineEdit* Text1;
    QCheckBox* chkCredit;
    QLabel* Label9;
    QLineEdit* txtCheckNo;
    QLineEdit* txtCreditMemo;
    /** The payments already made on the chosen invoice, each with its check or credit memo. */
    TabbedList* lstPayments;

public Q_SLOTS:
    void combCustID_Click();
    void List2_DblClick(int row);
    void chkCredit_Click();
    void Toolbar1_ButtonClick(QAction* button);

private:
    void buildControls();
    void layOutControls(const FormBuilder& form);
    void forgetInvoice();
    void listPayments(std::int32_t invNum);
    void pay();
    void clearForm();
    QString customerId() const;

    /** The invoice chosen by double-clicking it, until the customer changes or the form is
     *  cleared. */
    std::optional<std::int32_t> m_invoice;
};
