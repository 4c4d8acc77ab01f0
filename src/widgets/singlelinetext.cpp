#include "widgets/singlelinetext.h"

#include <QApplication>
#include <QEvent>
#include <QLineEdit>
#include <QValidator>
#include <algorithm>

namespace {

/** Characters that end a line or move to the next column: they become a blank. */
bool breaksLine(QChar c)
{
    return c == u'\t' || c == u'\n' || c == u'\r' || c == u'\v' || c == u'\f' ||
           c == QChar::LineSeparator || c == QChar::ParagraphSeparator;
}

/** Cleans `text` and moves `cursor` along with the characters it stood after. */
QString cleanedWithCursor(const QString& text, int& cursor)
{
    QString kept;
    kept.reserve(text.size());
    int movedCursor = cursor;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (i == cursor)
            movedCursor = static_cast<int>(kept.size());
        const QChar c = text.at(i);
        if (breaksLine(c)) {
            if (i == 0 || !breaksLine(text.at(i - 1)))
                kept += u' ';
        } else if (c.category() != QChar::Other_Control) {
            kept += c;
        }
    }
    if (cursor >= text.size())
        movedCursor = static_cast<int>(kept.size());
    cursor = movedCursor;
    return kept;
}

/** A line edit runs every change through its validator before it shows or signals it, so the
 *  box never holds the characters, whichever way they came. */
class SingleLineValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override
    {
        const bool clean = std::none_of(input.cbegin(), input.cend(), [](QChar c) {
            return c.category() == QChar::Other_Control || breaksLine(c);
        });
        if (!clean)
            input = cleanedWithCursor(input, pos);
        return Acceptable;
    }
};

/** Gives each line edit the validator as the application polishes it, before it is first
 *  shown. */
class EveryBoxFilter : public QObject {
public:
    explicit EveryBoxFilter(QObject* parent) : QObject(parent), m_validator(this) {}
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Polish) {
            auto* box = qobject_cast<QLineEdit*>(watched);
            if (box && !box->validator())
                box->setValidator(&m_validator);
        }
        return false;
    }

private:
    /** One validator serves every box: it holds no state. */
    SingleLineValidator m_validator;
};

} // namespace

namespace SingleLineText {

QString cleaned(const QString& text)
{
    int cursor = 0;
    return cleanedWithCursor(text, cursor);
}

void keepInEveryBox()
{
    QCoreApplication* application = QCoreApplication::instance();
    const QString name = QStringLiteral("singleLineText");
    if (application->findChild<QObject*>(name, Qt::FindDirectChildrenOnly))
        return;
    auto* filter = new EveryBoxFilter(application);
    filter->setObjectName(name);
    application->installEventFilter(filter);
}

} // namespace SingleLineText
