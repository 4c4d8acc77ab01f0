#include "receivables/customercombo.h"

#include "receivables/customerlist.h"
#include "widgets/customersearch.h"
#include "widgets/formbuilder.h"
#include "widgets/inputhelpers.h"

#include <QComboBox>

namespace CustomerCombo {

QComboBox* create(QWidget* parent)
{
    auto* combo = FormBuilder(parent).searchCombo(QStringLiteral("combCustID"));
    combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    combo->setMinimumContentsLength(30);
    CustomerSearch::install(combo);
    const auto lines = CustomerList::activeLines();
    if (lines)
        combo->addItems(*lines);
    combo->setCurrentIndex(-1);
    InputHelpers::setComboDropWidth(combo);
    return combo;
}

} // namespace CustomerCombo
