#pragma once

#include "widgets/prompter.h"

/** The Prompter that shows Qt's standard dialogs over the active window. */
class DialogPrompter : public Prompter {
public:
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
};
