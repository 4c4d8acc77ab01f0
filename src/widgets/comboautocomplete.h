#pragma once

#include <QHash>
#include <QString>
#include <functional>

class QComboBox;

/**
 * Makes an editable combo box complete what is typed to the first entry that starts with it,
 * case ignored, with the untyped rest selected; a key that continues no entry changes nothing,
 * and Delete and Backspace do nothing (Home, then retype). Choosing an entry so emits the
 * combo's activated() signal, as a choice from the list does.
 */
namespace ComboAutoComplete {
void install(QComboBox* combo);

/** More text to find entries by, keyed by an entry's first word (a customer's phone by ID). */
using MoreText = std::function<QHash<QString, QString>()>;

/**
 * Lets a combo with auto-complete also find its entries by any part of them. What is typed
 * still completes to the first entry that starts with it; besides, a list named lstFound opens
 * under the box with every entry that contains the typed text (see LineFinder), the more text
 * beside each. A key that continues no entry now shows the typed text, and Backspace and Delete
 * edit it; the entry an earlier key completed to is no longer chosen: the current index becomes
 * -1 and activated(-1) tells the window that the box names no entry. Up, Down, Page Up and Page
 * Down move in the list; Enter or a click chooses the line as a choice from the drop-down does
 * (activated() emitted). Escape puts back what the box showed and had chosen before the typing
 * (activated() emitted when that changes the choice); leaving the box keeps the typed text.
 */
void findAnywhere(QComboBox* combo, MoreText moreText = {});
} // namespace ComboAutoComplete
