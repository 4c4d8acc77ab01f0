#pragma once

#include <QObject>
#include <functional>

class QComboBox;
class QWidget;

/** The typing comforts every window shares. */
namespace InputHelpers {

/** Selects the whole text of a line edit or text edit. */
void selectAllText(QWidget* box);
/** Letters a to z become capitals; other key codes pass unchanged. */
int upperCaseKey(int keyCode);
/** Widens the combo's drop-down list to its first longest entry plus one character. */
void setComboDropWidth(QComboBox* combo);

/** The boxes select their whole text whenever they get the focus, by Tab or by click. */
void selectOnFocus(std::initializer_list<QWidget*> boxes);
/** Letters typed into the box appear as capitals. */
void upperCaseInput(QWidget* box);
/** Enter moves the focus on as Tab would and is swallowed; then `afterMove` runs, if given (the
 *  window's last box presses its main button so). */
void enterAsTab(QWidget* box, std::function<void()> afterMove = {});

} // namespace InputHelpers
