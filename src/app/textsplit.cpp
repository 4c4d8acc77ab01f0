#include "app/textsplit.h"

namespace TextSplit {

QString takeToken(QString& text, const QString& delimiter, Qt::CaseSensitivity cs)
{
    const qsizetype at = delimiter.isEmpty() ? -1 : text.indexOf(delimiter, 0, cs);
    if (at < 0)
        return QString();
    const QString token = text.left(at);
    text.remove(0, at + delimiter.size());
    return token;
}

QStringList splitText(const QString& text, const QString& delimiter, int limit,
                      Qt::CaseSensitivity cs)
{
    QStringList pieces;
    QString rest = text;
    QString token = takeToken(rest, delimiter, cs);
    for (int count = 0;;) {
        pieces << token;
        ++count;
        if (limit != -1 && count >= limit)
            break;
        token = takeToken(rest, delimiter, Qt::CaseSensitive);
        if (token.isEmpty())
            break;
    }
    pieces << rest;
    return pieces;
}

} // namespace TextSplit
