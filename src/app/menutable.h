#pragma once

#include <QList>
#include <QString>
#include <functional>
#include <optional>

class QAction;
class QMenu;
class QMenuBar;
class QWidget;

/** Who may use a menu entry. */
struct MenuAccess {
    enum class Rule {
        WithItsMenu, ///< never switched itself: usable whenever the menu that holds it is
        AfterLogin,  ///< off until a login succeeds, then on for every employee
        Flag,        ///< on after a login when the employee's access flag at `flag` is set
    };
    Rule rule = Rule::WithItsMenu;
    int flag = -1;

    static MenuAccess afterLogin() { return {Rule::AfterLogin, -1}; }
    static MenuAccess byFlag(int position) { return {Rule::Flag, position}; }
};

/** One row of a menu tree: an entry with the handler it runs, a menu with its rows, or a
 *  separator. An entry is made only with its handler. */
class MenuItem {
public:
    using Handler = std::function<void()>;

    static MenuItem entry(const char* name, const QString& text, MenuAccess access,
                          Handler handler);
    /** A menu; `prepared`, when given, sees it once its rows are in. */
    static MenuItem menu(const char* name, const QString& text, MenuAccess access,
                         QList<MenuItem> items, std::function<void(QMenu*)> prepared = {});
    static MenuItem separator();

private:
    friend class MenuTree;
    MenuItem() = default;

    QString m_name;
    QString m_text;
    MenuAccess m_access;
    Handler m_handler;
    QList<MenuItem> m_items;
    std::function<void(QMenu*)> m_prepared;
    bool m_separator = false;
};

/** The menus of a window built from one table: every action named, captioned, connected to
 *  its handler and switched by its access rule. */
class MenuTree {
public:
    /** Adds the table's menus to `bar`; `owner` owns the menus and the actions. */
    MenuTree(QMenuBar* bar, QWidget* owner, const QList<MenuItem>& table);

    /** Switches the menus on the bar off, as they are until a login. */
    void lock() const;
    /**
     * Switches every entry and menu after a login: those for every employee on, each guarded
     * one to its flag in `rights`. Without an access row every guarded entry is off.
     */
    void applyRights(const std::optional<QList<bool>>& rights) const;
    /** The object names of the entries and menus switched by the flag at `position`. */
    QStringList guardedBy(int position) const;

private:
    void add(QMenu* into, QWidget* owner, const MenuItem& item, bool onBar);

    struct Guarded {
        QAction* action;
        MenuAccess access;
        bool onBar;
    };
    QMenuBar* m_bar;
    QList<Guarded> m_actions;
};
