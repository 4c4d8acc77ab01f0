#include "support/scriptedprompter.h"

#include <QTest>

ScriptedPrompter::ScriptedPrompter()
{
    Prompter::install(this);
}

ScriptedPrompter::~ScriptedPrompter()
{
    Prompter::install(nullptr);
    QStringList unread;
    for (qsizetype i = m_read; i < m_shown.size(); ++i)
        if (m_shown[i].kind == Shown::Kind::Message)
            unread << m_shown[i].text;
    if (!unread.isEmpty() && !QTest::currentTestFailed())
        QTest::qFail(
            qPrintable(QStringLiteral("Unexpected message: ") + unread.join(QStringLiteral(" / "))),
            __FILE__, __LINE__);
}

const QList<ScriptedPrompter::Shown>& ScriptedPrompter::shown() const
{
    markRead();
    return m_shown;
}

void ScriptedPrompter::clear()
{
    m_shown.clear();
    m_read = 0;
}

QStringList ScriptedPrompter::messages() const
{
    markRead();
    QStringList texts;
    for (const Shown& s : m_shown)
        if (s.kind == Shown::Kind::Message)
            texts << s.text;
    return texts;
}

QStringList ScriptedPrompter::allTexts() const
{
    markRead();
    QStringList texts;
    for (const Shown& s : m_shown)
        texts << s.text;
    return texts;
}

QString ScriptedPrompter::lastMessage() const
{
    const QStringList texts = messages();
    return texts.isEmpty() ? QString() : texts.last();
}

void ScriptedPrompter::message(const QString& text, const QString& title, Icon)
{
    m_shown.append({Shown::Kind::Message, text, title});
}

bool ScriptedPrompter::confirm(const QString& text, const QString& title, Icon)
{
    m_shown.append({Shown::Kind::Confirm, text, title});
    return m_confirmAnswers.isEmpty() ? true : m_confirmAnswers.dequeue();
}

bool ScriptedPrompter::confirmDefaultNo(const QString& text, const QString& title, Icon)
{
    m_shown.append({Shown::Kind::ConfirmDefaultNo, text, title});
    return m_confirmAnswers.isEmpty() ? true : m_confirmAnswers.dequeue();
}

std::optional<QString> ScriptedPrompter::input(const QString& prompt, const QString& title,
                                               const QString&)
{
    m_shown.append({Shown::Kind::Input, prompt, title});
    return m_inputAnswers.isEmpty() ? std::nullopt : m_inputAnswers.dequeue();
}

QString ScriptedPrompter::openFileName(const QString& caption, const QString&, const QString&)
{
    m_shown.append({Shown::Kind::OpenFile, caption, caption});
    return m_fileAnswers.isEmpty() ? QString() : m_fileAnswers.dequeue();
}

QString ScriptedPrompter::saveFileName(const QString& caption, const QString&, const QString&)
{
    m_shown.append({Shown::Kind::SaveFile, caption, caption});
    return m_fileAnswers.isEmpty() ? QString() : m_fileAnswers.dequeue();
}

QString ScriptedPrompter::existingFolder(const QString& caption, const QString&)
{
    m_shown.append({Shown::Kind::Folder, caption, caption});
    return m_fileAnswers.isEmpty() ? QString() : m_fileAnswers.dequeue();
}
