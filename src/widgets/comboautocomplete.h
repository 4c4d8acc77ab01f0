#pragma once

class QComboBox;

/**
 * Makes an editable combo box complete what is typed to the first entry that starts with it,
 * case ignored, with the untyped rest selected; a key that continues no entry changes nothing,
 * and Delete and Backspace do nothing (Home, then retype). Choosing an entry so emits the
 * combo's activated() signal, as a choice from the list does.
 */
namespace ComboAutoComplete {
void install(QComboBox* combo);
}
