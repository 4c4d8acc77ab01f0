#pragma once

#include <QList>
#include <QStringList>
#include <functional>
#include <optional>

class QAction;

/** Which menu entries an employee's access flags switch, by flag position. */
namespace MenuAccess {

/** The entries switched by the flag at `position` (0 to 24). */
const QStringList& entriesOf(int position);
/** Entries switched on for every employee after a login. */
const QStringList& alwaysOn();
/** The six top menus, off until a login succeeds. */
const QStringList& topMenus();

/**
 * Switches the entries found by `find` (an entry's object name to its action): the always-on
 * entries on, every guarded entry to its flag. Without an access row every guarded entry is off.
 */
void apply(const std::optional<QList<bool>>& rights,
           const std::function<QAction*(const QString&)>& find);

} // namespace MenuAccess
