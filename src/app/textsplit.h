#pragma once

#include <QString>
#include <QStringList>

/** Splitting of list lines at a delimiter, as the invoice lines are read back. */
namespace TextSplit {

/** The text before the first `delimiter`, which is removed from `text` together with it. Not
 *  found: an empty result and `text` unchanged. */
QString takeToken(QString& text, const QString& delimiter,
                  Qt::CaseSensitivity cs = Qt::CaseSensitive);

/**
 * Tokens of `text` up to the first empty one, then whatever is left as the last element; at
 * most `limit` tokens before the rest (-1 for no limit). So "a\tb" gives a, b; "ab" gives an
 * empty element and ab; "a\t\tb" gives a, b; "a\tb\t" gives a, b and an empty element.
 */
QStringList splitText(const QString& text, const QString& delimiter, int limit = -1,
                      Qt::CaseSensitivity cs = Qt::CaseSensitive);

} // namespace TextSplit
