#pragma once

class QComboBox;
class QWidget;

/** The searchable customer combo box of the receivables windows. */
namespace CustomerCombo {

/** A combo named combCustID holding the active customers' lines, nothing chosen, with
 *  auto-complete, the customer search and a drop-down as wide as its longest line. A read that
 *  fails is told in the status line and tried again when the user next comes to the combo. */
QComboBox* create(QWidget* parent);

} // namespace CustomerCombo
