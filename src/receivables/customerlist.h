#pragma once

#include "data/status.h"

#include <QStringList>

/** The customer lines that the receivables windows offer in their customer combo. */
namespace CustomerList {

/** CustID & " - " & CustName of every active customer, by ID. */
Result<QStringList> activeLines();

/** The customer ID at the start of a combo line: the text before `separator`. */
QString idOf(const QString& line, const QString& separator);

} // namespace CustomerList
