#pragma once

#include "widgets/windowrefresh.h"

#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <memory>
#include <optional>

class QLabel;
class QLineEdit;
class QMenu;
class AutoBackup;
class Login;
class MenuItem;
class MenuTree;

/** The main window: a multiple-document frame with the menu bar, the status bar and the box that
 *  holds the current employee. Every task window opens inside it, once. */
class MDIHelpDesk : public QMainWindow {
    Q_OBJECT

public:
    explicit MDIHelpDesk(QWidget* parent = nullptr);
    ~MDIHelpDesk() override;

    /** Brings the shop's database up to date, makes the day's backup when it is due and opens
     *  the login window; on a first start the window that creates the shop comes first. A file
     *  that is no shop's database is named and left alone, and the menus stay off. A server
     *  reached without encryption over the network is warned about first. */
    void start();

    /** Opens the login window inside the frame, with the top menus off until it succeeds. */
    Login* startLogin();

    /** The menu entry (or menu) with that object name. */
    QAction* entry(const QString& name) const;
    /** The object names of the entries and menus that the access flag at `position` switches. */
    QStringList entriesGuardedBy(int position) const;
    QMdiArea* mdiArea() const { return m_mdi; }
    AutoBackup* autoBackup() const { return m_autoBackup; }
    QLineEdit* currentEmployeeBox() const { return txtEmpID; }

    /** Shows the child window of type T, creating it the first time; brings it forward and reads
     *  its lists again. */
    template <typename T> T* showChild()
    {
        for (QMdiSubWindow* sub : m_mdi->subWindowList()) {
            if (auto* window = qobject_cast<T*>(sub->widget())) {
                sub->showNormal();
                m_mdi->setActiveSubWindow(sub);
                WindowRefresh::reload(window);
                return window;
            }
        }
        auto* window = new T;
        addChild(window);
        return window;
    }

    /** Shows the pop-up window of type T (a top-level window), creating it the first time. */
    template <typename T> T* showPopup()
    {
        for (const QPointer<QWidget>& popup : m_popups) {
            if (auto* window = qobject_cast<T*>(popup.data())) {
                window->showNormal();
                window->raise();
                window->activateWindow();
                WindowRefresh::reload(window);
                return window;
            }
        }
        auto* window = new T;
        addPopup(window);
        return window;
    }

public Q_SLOTS:
    void mnuexit_Click();
    void mnuChgPwd_Click();
    void mnuabout_Click();
    void mnugethelp_Click();

private Q_SLOTS:
    void loggedIn(const QString& empId, const std::optional<QList<bool>>& rights);
    void fillWindowList();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void lockMenus();
    void centreActiveChild();
    // The menu bar, one top menu each: every entry with its caption, name, access and handler.
    MenuItem fileMenu();
    MenuItem companyMenu();
    MenuItem optionsMenu();
    MenuItem reportsMenu();
    MenuItem windowsMenu();
    MenuItem helpMenu();
    /** Names in the status bar where the shop's data lives. */
    void showPlace();
    void addChild(QWidget* window);
    void addPopup(QWidget* window);
    /** Fits a child window into the visible part of the main window. */
    void keepInView(QMdiSubWindow* sub) const;

    QMdiArea* m_mdi;
    QWidget* Picture1;
    QLineEdit* txtEmpID;
    QLabel* m_versionPanel;
    QLabel* m_datePanel;
    AutoBackup* m_autoBackup;
    /** Where the shop's data lives: the file, or the server named without its password. */
    QLabel* m_placePanel;
    QMenu* m_windowMenu = nullptr;
    QAction* m_windowListStart = nullptr;
    QList<QPointer<QWidget>> m_popups;
    std::unique_ptr<MenuTree> m_menus;
};
