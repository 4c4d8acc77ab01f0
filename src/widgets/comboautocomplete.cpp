#include "widgets/comboautocomplete.h"

#include "widgets/linefinder.h"
#include "widgets/tabbedlist.h"

#include <QComboBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScopedValueRollback>
#include <QScreen>
#include <QScrollBar>
#include <algorithm>
#include <optional>

namespace {

// Lines the found list shows before it scrolls.
constexpr int VisibleLines = 12;

/** The list of entries found by any part, under the combo, and the typed text it was found by. */
class AnywhereSearch : public QObject {
public:
    AnywhereSearch(QComboBox* combo, ComboAutoComplete::MoreText moreText)
        : QObject(combo), m_combo(combo), m_moreText(std::move(moreText)),
          m_list(new TabbedList(combo))
    {
        m_list->setObjectName(QStringLiteral("lstFound"));
        // A window of its own that never takes the focus: the keys stay with the box.
        m_list->setWindowFlags(Qt::ToolTip | Qt::FramelessWindowHint |
                               Qt::WindowDoesNotAcceptFocus);
        m_list->setAttribute(Qt::WA_ShowWithoutActivating);
        m_list->setFocusPolicy(Qt::NoFocus);
        m_list->setContextMenuPolicy(Qt::NoContextMenu);
        m_list->setFont(combo->font());
        connect(m_list, &QAbstractItemView::clicked, this,
                [this](const QModelIndex& index) { choose(index.row()); });
        // Any change to the entries makes the found lines stale.
        QAbstractItemModel* model = combo->model();
        connect(model, &QAbstractItemModel::rowsInserted, this, &AnywhereSearch::entriesChanged);
        connect(model, &QAbstractItemModel::rowsRemoved, this, &AnywhereSearch::entriesChanged);
        connect(model, &QAbstractItemModel::rowsMoved, this, &AnywhereSearch::entriesChanged);
        connect(model, &QAbstractItemModel::modelReset, this, &AnywhereSearch::entriesChanged);
        connect(model, &QAbstractItemModel::dataChanged, this, &AnywhereSearch::entriesChanged);
        connect(model, &QAbstractItemModel::layoutChanged, this, &AnywhereSearch::entriesChanged);
        // Text the window puts in the box (a Clear, say) ends the search: nothing to put back.
        connect(combo->lineEdit(), &QLineEdit::textChanged, this, [this] {
            if (!ownChange) {
                endTyping();
                m_list->hide();
            }
        });
    }

    /** Set while a key or a choice changes the box's text. */
    bool ownChange = false;

    /** Whether the box holds typed text that is no entry. */
    bool searching() const { return m_searching; }

    /** Before a typed key is handled: the first key after a choice, or after the box was
     *  entered, starts the typing that Escape takes back. */
    void keyTyped()
    {
        if (m_typing)
            return;
        m_typing = true;
        m_restoreText = m_combo->lineEdit()->text();
        m_restoreIndex = m_combo->currentIndex();
    }

    /** After a typed key: `typed` is the text up to the caret, `completed` the entry it was
     *  completed to or -1. Text that no entry starts with withdraws the entry an earlier key
     *  completed to, so that no customer stays chosen under a box that names none. */
    void typed(const QString& typed, int completed)
    {
        if (completed < 0) {
            m_searching = true;
            if (m_combo->currentIndex() >= 0) {
                m_combo->setCurrentIndex(-1);
                Q_EMIT m_combo->activated(-1);
            }
            m_combo->setEditText(typed);
        } else {
            m_searching = false;
        }
        show(typed, completed);
    }

    /** After the typed text was edited by Backspace or Delete. */
    void edited() { show(m_combo->lineEdit()->text(), -1); }

    /** Handles a key meant for the list; false for any other. */
    bool listKey(const QKeyEvent* key)
    {
        if (key->key() == Qt::Key_Escape && (m_searching || m_list->isVisible())) {
            abandon();
            return true;
        }
        if (!m_list->isVisible())
            return false;
        const int page = VisibleLines - 1;
        switch (key->key()) {
        case Qt::Key_Down:
            return move(1);
        case Qt::Key_Up:
            return move(-1);
        case Qt::Key_PageDown:
            return move(page);
        case Qt::Key_PageUp:
            return move(-page);
        case Qt::Key_Return:
        case Qt::Key_Enter:
            choose(m_list->currentRow());
            return true;
        default:
            return false;
        }
    }

    /** Closes the list and puts back what the box showed, and had chosen, before the typing. */
    void abandon()
    {
        const QScopedValueRollback own(ownChange, true);
        m_list->hide();
        if (!m_typing)
            return;
        endTyping();
        const bool rechoose = m_combo->currentIndex() != m_restoreIndex;
        m_combo->setCurrentIndex(m_restoreIndex);
        m_combo->setEditText(m_restoreText);
        if (rechoose)
            Q_EMIT m_combo->activated(m_restoreIndex);
    }

    /** Leaving the box keeps what it shows: typed text that names no entry chooses none. */
    void leave()
    {
        m_list->hide();
        endTyping();
    }

    void hideList() { m_list->hide(); }

private:
    void endTyping()
    {
        m_typing = false;
        m_searching = false;
    }

    void entriesChanged()
    {
        m_stale = true;
        m_list->hide();
    }

    void show(const QString& text, int completed)
    {
        if (m_stale) {
            QStringList entries;
            entries.reserve(m_combo->count());
            for (int i = 0; i < m_combo->count(); ++i)
                entries << m_combo->itemText(i);
            m_finder.setLines(entries, m_moreText ? m_moreText() : QHash<QString, QString>());
            m_stale = false;
        }
        m_found = m_finder.find(text);
        // The entry the box completed to is shown already; a list of it alone adds nothing.
        if (m_found.isEmpty() || (m_found.size() == 1 && m_found.first() == completed)) {
            m_list->hide();
            return;
        }
        QStringList lines;
        lines.reserve(m_found.size());
        for (int index : std::as_const(m_found)) {
            const QString& more = m_finder.more(index);
            lines << (more.isEmpty() ? m_finder.line(index)
                                     : m_finder.line(index) + QLatin1Char('\t') + more);
        }
        m_list->setLines(lines);
        m_list->setCurrentRow(std::max(0, static_cast<int>(m_found.indexOf(completed))));
        place();
    }

    // Under the box (above it near the bottom of the screen), wide enough for the longest line.
    void place()
    {
        const int average = m_list->fontMetrics().averageCharWidth();
        const int lineChars = static_cast<int>(m_finder.longestLine()) + 3;
        m_list->setTabStops({lineChars * 4});
        const int frame = 2 * m_list->frameWidth();
        const int rows = std::min(static_cast<int>(m_found.size()), VisibleLines);
        const int height = rows * m_list->sizeHintForRow(0) + frame;
        int width = (lineChars + static_cast<int>(m_finder.longestMore()) + 1) * average + frame;
        if (m_found.size() > VisibleLines)
            width += m_list->verticalScrollBar()->sizeHint().width();
        width = std::max(width, m_combo->width());
        QPoint at = m_combo->mapToGlobal(QPoint(0, m_combo->height()));
        if (const QScreen* screen = m_combo->screen()) {
            const QRect room = screen->availableGeometry();
            if (at.y() + height > room.bottom())
                at.setY(m_combo->mapToGlobal(QPoint(0, 0)).y() - height);
            at.setX(std::max(room.left(), std::min(at.x(), room.right() - width)));
        }
        m_list->setGeometry(QRect(at, QSize(width, height)));
        m_list->show();
    }

    bool move(int by)
    {
        const int last = m_list->count() - 1;
        m_list->setCurrentRow(std::clamp(m_list->currentRow() + by, 0, last));
        return true;
    }

    void choose(int row)
    {
        if (row < 0 || row >= m_found.size())
            return;
        const int index = m_found[row];
        const QScopedValueRollback own(ownChange, true);
        m_list->hide();
        endTyping();
        m_combo->setCurrentIndex(index);
        m_combo->setEditText(m_combo->itemText(index));
        Q_EMIT m_combo->activated(index);
    }

    QComboBox* m_combo;
    ComboAutoComplete::MoreText m_moreText;
    TabbedList* m_list;
    LineFinder m_finder;
    bool m_stale = true;
    QList<int> m_found;
    bool m_searching = false;
    // Set from the first key typed until a choice, Escape or leaving the box; what the box
    // showed and had chosen before it.
    bool m_typing = false;
    QString m_restoreText;
    int m_restoreIndex = -1;
};

class AutoCompleteFilter : public QObject {
public:
    explicit AutoCompleteFilter(QComboBox* combo) : QObject(combo), m_combo(combo) {}

    void findAnywhere(ComboAutoComplete::MoreText moreText)
    {
        if (!m_search)
            m_search = new AnywhereSearch(m_combo, std::move(moreText));
    }

    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::FocusOut && m_search &&
            static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason)
            m_search->leave();
        else if (event->type() == QEvent::Hide && m_search)
            m_search->hideList();
        if (event->type() != QEvent::KeyPress)
            return false;
        auto* key = static_cast<QKeyEvent*>(event);
        std::optional<QScopedValueRollback<bool>> own;
        if (m_search)
            own.emplace(m_search->ownChange, true);
        if (m_search && m_search->listKey(key))
            return true;
        if (key->key() == Qt::Key_Delete || key->key() == Qt::Key_Backspace) {
            if (m_search && m_search->searching()) {
                QLineEdit* edit = m_combo->lineEdit();
                key->key() == Qt::Key_Delete ? edit->del() : edit->backspace();
                m_search->edited();
            }
            return true;
        }
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
        const QString before = edit->text();
        const int caret = edit->hasSelectedText() ? edit->selectionStart() : edit->cursorPosition();
        const QString prefix = before.left(caret) + typed;
        if (m_search)
            m_search->keyTyped();
        int completed = -1;
        for (int i = 0; i < m_combo->count(); ++i) {
            const QString entry = m_combo->itemText(i);
            if (!entry.startsWith(prefix, Qt::CaseInsensitive))
                continue;
            m_combo->setCurrentIndex(i);
            m_combo->setEditText(entry);
            edit->setSelection(static_cast<int>(entry.size()),
                               -static_cast<int>(entry.size() - prefix.size()));
            completed = i;
            Q_EMIT m_combo->activated(i);
            break;
        }
        if (m_search)
            m_search->typed(prefix, completed);
    }

    QComboBox* m_combo;
    AnywhereSearch* m_search = nullptr;
};

} // namespace

namespace ComboAutoComplete {

void install(QComboBox* combo)
{
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setCompleter(nullptr);
    auto* filter = new AutoCompleteFilter(combo);
    combo->installEventFilter(filter);
    combo->lineEdit()->installEventFilter(filter);
}

void findAnywhere(QComboBox* combo, MoreText moreText)
{
    const auto installed = [combo]() -> AutoCompleteFilter* {
        for (QObject* child : combo->children())
            if (auto* filter = dynamic_cast<AutoCompleteFilter*>(child))
                return filter;
        return nullptr;
    };
    if (!installed())
        install(combo);
    installed()->findAnywhere(std::move(moreText));
}

} // namespace ComboAutoComplete
