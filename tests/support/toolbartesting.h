#pragma once

#include <QAction>
#include <QCoreApplication>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

/** Aids for pressing the buttons of a window's toolbar as a user does. */
namespace ToolbarTesting {

/** The toolbar's action with that key (object name), or nullptr. */
inline QAction* button(QWidget* window, const char* key)
{
    return window->findChild<QAction*>(QString::fromLatin1(key));
}

/** Whether the action's button is on screen in its toolbar. */
inline bool isShown(QWidget* window, const char* key)
{
    // The toolbar lays its buttons out again on a posted request after an action is shown.
    QCoreApplication::processEvents();
    QAction* action = button(window, key);
    if (!action)
        return false;
    for (QToolBar* toolbar : window->findChildren<QToolBar*>())
        if (QWidget* widget = toolbar->widgetForAction(action))
            return widget->isVisible();
    return false;
}

/** Clicks the action's button with the mouse; false when it is missing or hidden, since a
 *  hidden button cannot be pressed. */
inline bool press(QWidget* window, const char* key)
{
    QCoreApplication::processEvents();
    QAction* action = button(window, key);
    if (!action)
        return false;
    for (QToolBar* toolbar : window->findChildren<QToolBar*>()) {
        QWidget* widget = toolbar->widgetForAction(action);
        if (widget && widget->isVisible()) {
            QTest::mouseClick(widget, Qt::LeftButton);
            return true;
        }
    }
    return false;
}

} // namespace ToolbarTesting
