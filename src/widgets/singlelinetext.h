#pragma once

#include <QString>

/**
 * Single-line boxes keep single-line text. Whatever reaches a line edit (typed, pasted, dropped
 * or from an input method) loses its control characters, and each run of tabs and line breaks
 * becomes one blank, so that a name never splits a tab-joined list line or adds a column to a
 * list's CSV. Tab itself still moves the focus: it never reaches the text.
 */
namespace SingleLineText {

/** `text` as a single-line box keeps it. */
QString cleaned(const QString& text);

/** From now on, every line edit of the application keeps single-line text from the moment it
 *  is first shown, a combo box's edit line included; a box with a validator of its own (a spin
 *  box's, say) keeps that one, which already refuses such characters. Once is enough. */
void keepInEveryBox();

} // namespace SingleLineText
