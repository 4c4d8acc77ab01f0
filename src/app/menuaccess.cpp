#include "app/menuaccess.h"

#include <QAction>

namespace {

const QList<QStringList>& table()
{
    static const QList<QStringList> entries = {
        {QStringLiteral("mnubackup")},
        {QStringLiteral("mnucompact")},
        {QStringLiteral("mnudeloneticket")},
        {QStringLiteral("mnuDelAllTic")},
        {QStringLiteral("mnudelinv")},
        {QStringLiteral("mnudelallinv")},
        {QStringLiteral("mnuDelOneSol")},
        {QStringLiteral("mnuDelAllSols")},
        {QStringLiteral("mnucompInfo")},
        {QStringLiteral("mnuEmp")},
        {QStringLiteral("mnuaddcust")},
        {QStringLiteral("mnuInventory")},
        {QStringLiteral("mnuHStype")},
        {QStringLiteral("mnuCustHist")},
        {QStringLiteral("mnuCustPay")},
        {QStringLiteral("mnuAssign")},
        {QStringLiteral("mnuhdsk")},
        {QStringLiteral("mnuOpenOrd")},
        {QStringLiteral("mnuBill")},
        {QStringLiteral("mnuCallStat"), QStringLiteral("mnuopnticket"),
         QStringLiteral("mnuopentickets"), QStringLiteral("mnuOpnTickTech")},
        {QStringLiteral("mnuEmplst")},
        {QStringLiteral("mnuInvent")},
        {QStringLiteral("mnuKB")},
        {QStringLiteral("mnuPrtAllInv")},
        {QStringLiteral("mnuReprint"), QStringLiteral("mnusaltaxdate"),
         QStringLiteral("mnusaltaxfull")},
    };
    return entries;
}

} // namespace

namespace MenuAccess {

const QStringList& entriesOf(int position)
{
    static const QStringList none;
    return position >= 0 && position < table().size() ? table()[position] : none;
}

const QStringList& alwaysOn()
{
    static const QStringList entries = {
        QStringLiteral("mnuFile"),   QStringLiteral("mnuexit"), QStringLiteral("mnucomp"),
        QStringLiteral("mnuChgPwd"), QStringLiteral("mnuopt"),  QStringLiteral("mnurpt"),
        QStringLiteral("mnusaltax"), QStringLiteral("mnuwind"), QStringLiteral("mnuHelp")};
    return entries;
}

const QStringList& topMenus()
{
    static const QStringList menus = {QStringLiteral("mnuFile"), QStringLiteral("mnucomp"),
                                      QStringLiteral("mnuopt"),  QStringLiteral("mnurpt"),
                                      QStringLiteral("mnuwind"), QStringLiteral("mnuHelp")};
    return menus;
}

void apply(const std::optional<QList<bool>>& rights,
           const std::function<QAction*(const QString&)>& find)
{
    for (const QString& name : alwaysOn())
        if (QAction* action = find(name))
            action->setEnabled(true);
    for (int position = 0; position < table().size(); ++position) {
        const bool allowed = rights && rights->value(position, false);
        for (const QString& name : table()[position])
            if (QAction* action = find(name))
                action->setEnabled(allowed);
    }
}

} // namespace MenuAccess
