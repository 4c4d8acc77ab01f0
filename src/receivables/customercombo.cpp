#include "receivables/customercombo.h"

#include "receivables/customerlist.h"
#include "widgets/customersearch.h"
#include "widgets/formbuilder.h"
#include "widgets/inputhelpers.h"
#include "widgets/listread.h"

#include <QComboBox>

namespace CustomerCombo {

QComboBox* create(QWidget* parent)
{
    auto* combo = FormBuilder(parent).searchCombo(QStringLiteral("combCustID"));
    combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    combo->setMinimumContentsLength(30);
    CustomerSearch::install(combo);
    // Opened while the database cannot be read, the combo reads again when the user comes to
    // it, until it has the customers.
    ListRead::install(combo, QStringLiteral("The customer list"), &CustomerList::activeLines,
                      [combo](const QStringList& lines) {
                          combo->clear();
                          combo->addItems(lines);
                          combo->setCurrentIndex(-1);
                          combo->setEditText(QString());
                          InputHelpers::setComboDropWidth(combo);
                      })
        ->refresh();
    return combo;
}

} // namespace CustomerCombo
