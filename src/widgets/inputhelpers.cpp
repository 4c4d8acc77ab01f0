#include "widgets/inputhelpers.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QScrollBar>
#include <QStyle>
#include <QTextEdit>
#include <QTimer>

namespace {

class SelectOnFocusFilter : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::FocusIn) {
            auto* box = qobject_cast<QWidget*>(watched);
            InputHelpers::selectAllText(box);
            // A click places the caret after the focus arrives; select again once it has.
            QPointer<QWidget> guard(box);
            QTimer::singleShot(0, box, [guard] {
                if (guard && guard->hasFocus())
                    InputHelpers::selectAllText(guard);
            });
        }
        return false;
    }
};

class UpperCaseFilter : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        auto* key = static_cast<QKeyEvent*>(event);
        const QString text = key->text();
        if (text.size() != 1 || text[0].unicode() > 127)
            return false;
        const int code = text[0].unicode();
        const int upper = InputHelpers::upperCaseKey(code);
        if (upper == code)
            return false;
        QKeyEvent capital(QEvent::KeyPress, key->key(), key->modifiers(), QString(QChar(upper)),
                          key->isAutoRepeat(), static_cast<ushort>(key->count()));
        QCoreApplication::sendEvent(watched, &capital);
        return true;
    }
};

class EnterAsTabFilter : public QObject {
public:
    EnterAsTabFilter(QObject* parent, std::function<void()> afterMove)
        : QObject(parent), m_afterMove(std::move(afterMove))
    {
    }
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter)
            return false;
        QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
        QCoreApplication::sendEvent(watched, &tab);
        if (m_afterMove)
            m_afterMove();
        return true;
    }

private:
    std::function<void()> m_afterMove;
};

} // namespace

namespace InputHelpers {

void selectAllText(QWidget* box)
{
    if (auto* line = qobject_cast<QLineEdit*>(box))
        line->selectAll();
    else if (auto* plain = qobject_cast<QPlainTextEdit*>(box))
        plain->selectAll();
    else if (auto* rich = qobject_cast<QTextEdit*>(box))
        rich->selectAll();
    else if (auto* combo = qobject_cast<QComboBox*>(box); combo && combo->lineEdit())
        combo->lineEdit()->selectAll();
}

int upperCaseKey(int keyCode)
{
    return keyCode >= 97 && keyCode <= 122 ? keyCode - 32 : keyCode;
}

void setComboDropWidth(QComboBox* combo)
{
    int longest = 0;
    for (int i = 1; i < combo->count(); ++i) {
        if (combo->itemText(i).size() > combo->itemText(longest).size())
            longest = i;
    }
    const QString sample = combo->itemText(longest) + QLatin1Char('A');
    QAbstractItemView* view = combo->view();
    const int textWidth = view->fontMetrics().horizontalAdvance(sample);
    const int chrome = view->verticalScrollBar()->sizeHint().width() +
                       2 * view->style()->pixelMetric(QStyle::PM_DefaultFrameWidth) + 8;
    view->setMinimumWidth(textWidth + chrome);
}

void selectOnFocus(std::initializer_list<QWidget*> boxes)
{
    for (QWidget* box : boxes) {
        QWidget* target = box;
        if (auto* combo = qobject_cast<QComboBox*>(box); combo && combo->lineEdit())
            target = combo->lineEdit();
        target->installEventFilter(new SelectOnFocusFilter(target));
    }
}

void upperCaseInput(QWidget* box)
{
    box->installEventFilter(new UpperCaseFilter(box));
}

void enterAsTab(QWidget* box, std::function<void()> afterMove)
{
    box->installEventFilter(new EnterAsTabFilter(box, std::move(afterMove)));
}

} // namespace InputHelpers
