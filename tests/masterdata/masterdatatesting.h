#pragma once

#include "support/widgettesting.h"

#include <QComboBox>

namespace MasterDataTesting {

/** Chooses the list line whose first word is `key`, as a click in the list does. */
inline bool chooseKey(QComboBox* combo, const QString& key)
{
    for (int i = 0; i < combo->count(); ++i) {
        if (combo->itemText(i).section(QLatin1Char(' '), 0, 0) == key)
            return WidgetTesting::choose(combo, combo->itemText(i));
    }
    return false;
}

} // namespace MasterDataTesting
