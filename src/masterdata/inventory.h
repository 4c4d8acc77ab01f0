#pragma once

#include "data/rowsnapshot.h"

#include <QWidget>
#include <array>
#include <optional>

class FormBuilder;
class ListRead;
class QAction;
class QGroupBox;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QToolBar;
struct InventoryItem;

/** The "Inventory Items" window: adds, corrects and removes the parts billed on invoices. */
class inventory : public QWidget {
    Q_OBJECT

public:
    explicit inventory(QWidget* parent = nullptr);

    /** The part chosen last in combItemID; Edit and the removal work on it. */
    QString currentItemNo() const { return m_currentItemNo; }

    // The toolbar's buttons are actions named by their keys "Add", "Clear" and "Edit".
    QToolBar* Toolbar1 = nullptr;
    QComboBox* combItemID = nullptr;
    std::array<QLineEdit*, 3> Text1{};
    QComboBox* combItemType = nullptr;
    QCheckBox* chkTaxable = nullptr;
    QLineEdit* txtTaxRate = nullptr;
    QCheckBox* chkInactive = nullptr;
    QCheckBox* chkRemove = nullptr;
    QLineEdit* txtPostDate = nullptr;

public Q_SLOTS:
    void Toolbar1_ButtonClick(QAction* button);
    void combItemID_Click();
    void Text1_LostFocus(int index);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    QGroupBox* buildPartFrame(const FormBuilder& form);
    void FillItemList();
    void FillTypeList();
    void LoadItem();
    void ClearItem();
    void RemoveItem();
    bool requiredBoxesFilled();
    std::optional<InventoryItem> itemFromBoxes();
    void saveItem(bool adding);
    void showNewPartState(bool newPart);

    QAction* m_addButton = nullptr;
    QAction* m_editButton = nullptr;
    /** Read combItemID's and combItemType's lines, and again after a read that failed. */
    ListRead* m_itemList = nullptr;
    ListRead* m_typeList = nullptr;
    QString m_currentItemNo;
    /** The shown part as loaded, to refuse an edit over another workstation's. */
    RowSnapshot m_loaded;
};
