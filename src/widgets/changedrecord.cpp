#include "widgets/changedrecord.h"

#include "widgets/hourglass.h"
#include "widgets/prompter.h"

namespace ChangedRecord {

QString question()
{
    return RowSnapshot::changedMessage() +
           QStringLiteral("\n\nReload it and discard your changes? Answer No to keep your "
                          "changes on screen; saving them then replaces the other "
                          "workstation's.");
}

Choice settle(RowSnapshot& loaded, const std::function<Result<RowSnapshot>()>& reread,
              const std::function<void()>& reload)
{
    if (prompter().confirm(question(), Prompter::defaultTitle(), Prompter::Icon::None,
                           Prompter::Answer::No)) {
        reload();
        return Choice::Reload;
    }
    const Result<RowSnapshot> now = Hourglass::around(reread);
    if (now)
        loaded = *now;
    else
        prompter().message(now.status().message());
    return Choice::KeepTyping;
}

} // namespace ChangedRecord
