#pragma once

#include "data/status.h"

#include <QHash>
#include <QString>

class QComboBox;

/** Wherever a customer is chosen, a customer is found by part of the ID, name or phone number. */
namespace CustomerSearch {

/** Every customer's phone number by customer ID. */
Result<QHash<QString, QString>> phonesById();

/** Makes a search combo of customer lines, each starting with the customer ID, find customers
 *  by any part of the line or of their phone number (see ComboAutoComplete::findAnywhere). */
void install(QComboBox* combo);

} // namespace CustomerSearch
