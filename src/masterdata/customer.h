#pragma once

#include "masterdata/customerstore.h"

#include <QDate>
#include <QWidget>

class FormBuilder;
class ListRead;
class QAction;
class QGridLayout;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QToolBar;

/** The window where customers are created, corrected, marked inactive and removed. */
class Customer : public QWidget {
    Q_OBJECT

public:
    explicit Customer(QWidget* parent = nullptr);

    /** The customer chosen in the list, whom Edit and the removal act on. */
    QString currentCustomerId() const { return m_currentCustomerId; }

public Q_SLOTS:
    void Toolbar1_ButtonClick(QAction* button);
    void combCustID_Click(int index);
    /** Forms a new customer's ID from the name and a freshly drawn number. */
    void Text1_LostFocus();
    void Text4_LostFocus();

private:
    void buildControls();
    void buildBoxes(const FormBuilder& form);
    QGridLayout* layoutFields(const FormBuilder& form);
    void FillCustomerList();
    /** Puts `lines` into combCustID, keeping what its box shows. */
    void showCustomerLines(const QStringList& lines);
    void LoadCustomer();
    void ClearCustomer();
    /** Empties the boxes of the customer shown, leaving combCustID's text and the focus. */
    void forgetCustomer();
    void RemoveCustomer();
    /** False when the removal is to stop. */
    bool CheckOpenInvoices();
    void createCustomer();
    void editCustomer();
    /** The customer as the boxes show it, under `id`. */
    CustomerRecord typedCustomer(const QString& id) const;
    void showNewCustomerState(bool newCustomer);

    QToolBar* Toolbar1 = nullptr;
    QAction* m_create = nullptr;
    QAction* m_clear = nullptr;
    QAction* m_edit = nullptr;
    QComboBox* combCustID = nullptr;
    QLineEdit* txtID = nullptr;
    QLineEdit* Text1 = nullptr;
    QLineEdit* Text2 = nullptr;
    QLineEdit* Text3 = nullptr;
    QLineEdit* Text4 = nullptr;
    QLineEdit* Text5 = nullptr;
    QLineEdit* Text6 = nullptr;
    QLineEdit* Text7 = nullptr;
    QLineEdit* Text8 = nullptr;
    QPlainTextEdit* txtComm = nullptr;
    QCheckBox* chkInactive = nullptr;
    QCheckBox* chkRemove = nullptr;
    QLineEdit* txtPostDate = nullptr;

    /** Reads combCustID's lines, and again after a read that failed. */
    ListRead* m_customerList = nullptr;
    QString m_currentCustomerId;
    QDate m_postDate;
    /** The shown customer as loaded, to refuse an edit over another workstation's. */
    RowSnapshot m_loaded;
};
