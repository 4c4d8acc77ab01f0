#pragma once

#include <QList>
#include <QString>
#include <utility>

/** Fields that a spreadsheet would run as formulas, or that hold a character no cell takes,
 *  each with what an export of it reads back as: the formula as text, the NUL left out. */
inline QList<std::pair<QString, QString>> hostileFields()
{
    using namespace Qt::Literals::StringLiterals;
    return {
        {u"=HYPERLINK(\"http://x\",\"y\")"_s, u"'=HYPERLINK(\"http://x\",\"y\")"_s},
        {u"=cmd|' /C calc'!A0"_s, u"'=cmd|' /C calc'!A0"_s},
        {u"+1+2"_s, u"'+1+2"_s},
        {u"-2+3"_s, u"'-2+3"_s},
        {u"@SUM(A1:A9)"_s, u"'@SUM(A1:A9)"_s},
        {u"\t=1+1"_s, u"'\t=1+1"_s},
        {u"\r=1+1"_s, u"'\r=1+1"_s},
        {QString(u"Kim\0Chen"_s), u"KimChen"_s},
        {u"-12.50"_s, u"-12.50"_s},
    };
}
