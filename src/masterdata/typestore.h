#pragma once

#include "data/database.h"

#include <QString>
#include <QStringList>

/** The two lists of hardware and software types a call can be filed under. */
enum class TypeList { Hardware, Software };

/** The hardware and software type tables, for the type window. */
namespace TypeStore {

/** Every stored type of the list, in table order (duplicates included). */
Result<QStringList> types(TypeList list);

/** Adds a row; the list may hold the same text more than once. */
Status add(TypeList list, const QString& type);

/** Deletes every row with that text (case ignored); NotFound when there is none. */
Status remove(TypeList list, const QString& type);

} // namespace TypeStore
