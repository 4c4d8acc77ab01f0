#include "app/menutable.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

MenuItem MenuItem::entry(const char* name, const QString& text, MenuAccess access, Handler handler)
{
    Q_ASSERT(handler);
    MenuItem item;
    item.m_name = QString::fromLatin1(name);
    item.m_text = text;
    item.m_access = access;
    item.m_handler = std::move(handler);
    return item;
}

MenuItem MenuItem::menu(const char* name, const QString& text, MenuAccess access,
                        QList<MenuItem> items, std::function<void(QMenu*)> prepared)
{
    MenuItem item;
    item.m_name = QString::fromLatin1(name);
    item.m_text = text;
    item.m_access = access;
    item.m_items = std::move(items);
    item.m_prepared = std::move(prepared);
    return item;
}

MenuItem MenuItem::separator()
{
    MenuItem item;
    item.m_separator = true;
    return item;
}

MenuTree::MenuTree(QMenuBar* bar, QWidget* owner, const QList<MenuItem>& table) : m_bar(bar)
{
    for (const MenuItem& item : table)
        add(nullptr, owner, item, true);
}

void MenuTree::add(QMenu* into, QWidget* owner, const MenuItem& item, bool onBar)
{
    if (item.m_separator) {
        into->addSeparator();
        return;
    }
    QAction* action = nullptr;
    if (item.m_handler) {
        action = new QAction(item.m_text, owner);
        QObject::connect(action, &QAction::triggered, owner, item.m_handler);
        into->addAction(action);
    } else {
        auto* menu = new QMenu(item.m_text, owner);
        menu->setObjectName(item.m_name);
        action = menu->menuAction();
        if (onBar)
            m_bar->addMenu(menu);
        else
            into->addMenu(menu);
        for (const MenuItem& row : item.m_items)
            add(menu, owner, row, false);
        if (item.m_prepared)
            item.m_prepared(menu);
    }
    action->setObjectName(item.m_name);
    m_actions.append({action, item.m_access, onBar});
}

void MenuTree::lock() const
{
    for (const Guarded& guarded : m_actions)
        if (guarded.onBar)
            guarded.action->setEnabled(false);
}

void MenuTree::applyRights(const std::optional<QList<bool>>& rights) const
{
    for (const Guarded& guarded : m_actions) {
        switch (guarded.access.rule) {
        case MenuAccess::Rule::WithItsMenu:
            break;
        case MenuAccess::Rule::AfterLogin:
            guarded.action->setEnabled(true);
            break;
        case MenuAccess::Rule::Flag:
            guarded.action->setEnabled(rights && rights->value(guarded.access.flag, false));
            break;
        }
    }
}

QStringList MenuTree::guardedBy(int position) const
{
    QStringList names;
    for (const Guarded& guarded : m_actions)
        if (guarded.access.rule == MenuAccess::Rule::Flag && guarded.access.flag == position)
            names << guarded.action->objectName();
    return names;
}
