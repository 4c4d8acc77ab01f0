#pragma once

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <QWidget>

/** Small aids for driving real widgets offscreen. */
namespace WidgetTesting {

/** Shows the window and waits until it is active, so that focus moves work. */
inline bool showActive(QWidget* window)
{
    window->show();
    QApplication::setActiveWindow(window);
    window->activateWindow();
    return QTest::qWaitForWindowActive(window);
}

/** The child with that object name and type; fails the test when it is missing. */
template <typename T> T* child(QWidget* window, const char* name)
{
    T* found = window->findChild<T*>(QString::fromLatin1(name));
    if (!found)
        qWarning("No %s named %s", T::staticMetaObject.className(), name);
    return found;
}

/** Replaces the box's text as a user would: focus, select all, type. */
inline void typeInto(QLineEdit* box, const QString& text)
{
    box->setFocus();
    box->selectAll();
    if (text.isEmpty())
        QTest::keyClick(box, Qt::Key_Delete);
    else
        QTest::keyClicks(box, text);
}

/** Chooses the combo entry with that text as a click in its list does (activated emitted). */
inline bool choose(QComboBox* combo, const QString& text)
{
    const int index = combo->findText(text);
    if (index < 0)
        return false;
    combo->setCurrentIndex(index);
    Q_EMIT combo->activated(index);
    return true;
}

} // namespace WidgetTesting
