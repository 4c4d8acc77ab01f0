#include "widgets/listread.h"

#include "widgets/hourglass.h"
#include "widgets/statusnotice.h"

#include <QAbstractScrollArea>
#include <QComboBox>
#include <QFocusEvent>
#include <QLineEdit>

ListRead::ListRead(QWidget* control, QString what, Step step)
    : QObject(control), m_what(std::move(what)), m_step(std::move(step))
{
    watch(control);
    // The box of an editable combo and the viewport of a list take the clicks.
    if (auto* combo = qobject_cast<QComboBox*>(control); combo && combo->lineEdit())
        watch(combo->lineEdit());
    else if (auto* list = qobject_cast<QAbstractScrollArea*>(control))
        watch(list->viewport());
}

void ListRead::watch(QWidget* widget)
{
    widget->installEventFilter(this);
}

bool ListRead::refresh()
{
    const Status status = Hourglass::around(m_step);
    if (status) {
        if (failed())
            statusNotice().withdraw(m_failure);
        m_failure.clear();
        return true;
    }
    m_failure = StatusNotice::readFailed(m_what, status);
    statusNotice().show(m_failure);
    return false;
}

bool ListRead::eventFilter(QObject* watched, QEvent* event)
{
    // Only the user's coming back reads again: the focus a window gives its first box when it
    // opens would repeat, at once, a read that has just failed.
    bool cameBack = event->type() == QEvent::MouseButtonPress;
    if (event->type() == QEvent::FocusIn) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        cameBack = reason == Qt::MouseFocusReason || reason == Qt::TabFocusReason ||
                   reason == Qt::BacktabFocusReason || reason == Qt::ShortcutFocusReason;
    }
    // Before the press opens the drop-down, so that it opens on the lines just read.
    if (cameBack && failed())
        refresh();
    return QObject::eventFilter(watched, event);
}
