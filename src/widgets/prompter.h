#pragma once

#include <QString>
#include <optional>

class QWidget;

/**
 * Every message box, confirmation, input box and file dialog of the program goes through the
 * one current Prompter, so that tests can script the answers and read the texts.
 */
class Prompter {
public:
    enum class Icon { None, Information, Warning, Critical, Question };

    static QString defaultTitle() { return QStringLiteral("Quorvane-d"); }

    virtual ~Prompter() = default;

    /** A message with an OK button only. */
    virtual void message(const QString& text, const QString& title = defaultTitle(),
                         Icon icon = Icon::None) = 0;
    /** Yes and No buttons; true unless the answer is No. */
    virtual bool confirm(const QString& text, const QString& title = defaultTitle(),
                         Icon icon = Icon::Question) = 0;
    /** As confirm, with No where Enter lands: for a question whose Yes cannot be taken back. */
    virtual bool confirmDefaultNo(const QString& text, const QString& title = defaultTitle(),
                                  Icon icon = Icon::Question)
    {
        return confirm(text, title, icon);
    }
    /** An input box; nothing when cancelled. */
    virtual std::optional<QString> input(const QString& prompt,
                                         const QString& title = defaultTitle(),
                                         const QString& defaultText = QString()) = 0;
    /** File pickers; an empty text when cancelled. */
    virtual QString openFileName(const QString& caption, const QString& folder,
                                 const QString& filter) = 0;
    virtual QString saveFileName(const QString& caption, const QString& folder,
                                 const QString& filter) = 0;
    virtual QString existingFolder(const QString& caption, const QString& folder) = 0;

    /** The current prompter; a Qt-dialog one unless another has been installed. */
    static Prompter& current();
    /** Installs `prompter` (not owned) as current; nullptr goes back to the Qt dialogs. */
    static void install(Prompter* prompter);
};

/** Shorthand for Prompter::current(). */
inline Prompter& prompter()
{
    return Prompter::current();
}
