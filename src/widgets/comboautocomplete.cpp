#include "widgets/comboautocomplete.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>

namespace {

class AutoCompleteFilter : public QObject {
public:
    explicit AutoCompleteFilter(QComboBox* combo) : QObject(combo), m_combo(combo) {}

    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Delete || key->key() == Qt::Key_Backspace)
            return true;
        const QString typed = key->text();
        if (typed.isEmpty() || !typed[0].isPrint() ||
            (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)))
            return false;
        complete(typed);
        return true;
    }

private:
    void complete(const QString& typed)
    {
        QLineEdit* edit = m_combo->lineEdit();
        const int caret = edit->hasSelectedText() ? edit->selectionStart() : edit->cursorPosition();
        const QString prefix = edit->text().left(caret) + typed;
        for (int i = 0; i < m_combo->count(); ++i) {
            const QString entry = m_combo->itemText(i);
            if (!entry.startsWith(prefix, Qt::CaseInsensitive))
                continue;
            m_combo->setCurrentIndex(i);
            m_combo->setEditText(entry);
            edit->setSelection(static_cast<int>(entry.size()),
                               -static_cast<int>(entry.size() - prefix.size()));
            Q_EMIT m_combo->activated(i);
            return;
        }
    }

    QComboBox* m_combo;
};

} // namespace

namespace ComboAutoComplete {

void install(QComboBox* combo)
{
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setCompleter(nullptr);
    combo->installEventFilter(new AutoCompleteFilter(combo));
    combo->lineEdit()->installEventFilter(new AutoCompleteFilter(combo));
}

} // namespace ComboAutoComplete
