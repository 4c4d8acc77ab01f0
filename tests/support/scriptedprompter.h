#pragma once

#include "widgets/prompter.h"

#include <QList>
#include <QQueue>
#include <QString>

/** A Prompter for tests: records every text it is shown and gives the answers queued for it.
 *  A question with no queued answer is answered Yes (confirm), cancel (input, files). A message
 *  that the test never reads is one nobody expected: the test fails when the prompter goes. */
class ScriptedPrompter : public Prompter {
public:
    struct Shown {
        enum class Kind {
            Message,
            Confirm,
            ConfirmDefaultNo,
            Input,
            OpenFile,
            SaveFile,
            Folder
        } kind;
        QString text;
        QString title;
    };

    ScriptedPrompter();
    ~ScriptedPrompter() override;

    void answerConfirm(bool yes) { m_confirmAnswers.enqueue(yes); }
    void answerInput(std::optional<QString> text) { m_inputAnswers.enqueue(std::move(text)); }
    void answerFile(const QString& path) { m_fileAnswers.enqueue(path); }

    const QList<Shown>& shown() const;
    /** Texts of the messages (OK boxes) shown so far. */
    QStringList messages() const;
    /** Texts of every message and question, in order. */
    QStringList allTexts() const;
    QString lastMessage() const;
    /** Forgets what was shown, read or not. */
    void clear();

    void message(const QString& text, const QString& title, Icon icon) override;
    bool confirm(const QString& text, const QString& title, Icon icon) override;
    bool confirmDefaultNo(const QString& text, const QString& title, Icon icon) override;
    std::optional<QString> input(const QString& prompt, const QString& title,
                                 const QString& defaultText) override;
    QString openFileName(const QString& caption, const QString& folder,
                         const QString& filter) override;
    QString saveFileName(const QString& caption, const QString& folder,
                         const QString& filter) override;
    QString existingFolder(const QString& caption, const QString& folder) override;

private:
    /** Everything shown so far counts as expected by the test. */
    void markRead() const { m_read = m_shown.size(); }

    QList<Shown> m_shown;
    mutable qsizetype m_read = 0;
    QQueue<bool> m_confirmAnswers;
    QQueue<std::optional<QString>> m_inputAnswers;
    QQueue<QString> m_fileAnswers;
};
