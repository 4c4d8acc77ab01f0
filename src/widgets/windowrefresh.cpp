#include "widgets/windowrefresh.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QWidget>

WindowRefresh::WindowRefresh(QWidget* window, Reload reload)
    : QObject(window), m_reload(std::move(reload))
{
    // F5 that no control of the window takes for itself reaches the window.
    window->installEventFilter(this);
}

void WindowRefresh::install(QWidget* window, Reload reload)
{
    new WindowRefresh(window, std::move(reload));
}

void WindowRefresh::reload(QWidget* window)
{
    if (auto* refresh = window->findChild<WindowRefresh*>(QString(), Qt::FindDirectChildrenOnly))
        refresh->m_reload();
}

bool WindowRefresh::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->matches(QKeySequence::Refresh)) {
        m_reload();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

KeptChoices::KeptChoices(const QList<QComboBox*>& combos)
{
    for (QComboBox* combo : combos)
        m_kept.append({combo, combo->currentText()});
}

KeptChoices::~KeptChoices()
{
    for (const Kept& kept : m_kept) {
        if (!kept.combo || kept.combo->currentText() == kept.text)
            continue;
        const int entry = kept.text.isEmpty() ? -1 : kept.combo->findText(kept.text);
        kept.combo->setCurrentIndex(entry);
        if (entry < 0 && kept.combo->isEditable())
            kept.combo->setEditText(kept.text);
    }
}
