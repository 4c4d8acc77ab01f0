#include "receivables/customercombo.h"

#include "widgets/comboautocomplete.h"
#include "widgets/inputhelpers.h"
#include "receivables/customerlist.h"

#include <QComboBox>

namespace CustomerCombo {

QComboBox* create(QWidget* parent)
{
    auto* combo = new QComboBox(parent);
    combo->setObjectName(QStringLiteral("combCustID"));
    ComboAutoComplete::install(combo);
    combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    combo->setMinimumContentsLength(30);
    const auto lines = CustomerList::activeLines();
    if (lines)
        combo->addItems(*lines);
    combo->setCurrentIndex(-1);
    InputHelpers::setComboDropWidth(combo);
    return combo;
}

} // namespace CustomerCombo
