#pragma once

#include "data/rowsnapshot.h"

#include <QString>
#include <functional>

/**
 * The one answer of every record window to a save refused because another workstation changed
 * the record after the window loaded it. The user is asked whether to reload the record, which
 * discards what was typed, or to keep the typing on screen (the default). Keeping it takes the
 * record as it is now for the loaded one, so that saving again writes the typing over the other
 * workstation's change knowingly instead of being refused once more.
 */
namespace ChangedRecord {

enum class Choice { Reload, KeepTyping };

/** The question, which starts with RowSnapshot::changedMessage(). */
QString question();

/** The snapshot a store's load gives with its record, or why there is none. */
template <typename Record> Result<RowSnapshot> loadedOf(const Result<Record>& record)
{
    if (!record)
        return record.status();
    return record->loaded;
}

/**
 * Asks the question after a save was refused as Changed. Reload runs `reload`, which shows the
 * record as stored. KeepTyping replaces `loaded` by what `reread` reads now; when that read
 * fails, its message is shown and `loaded` stays, so that the next save is refused again.
 */
Choice settle(RowSnapshot& loaded, const std::function<Result<RowSnapshot>()>& reread,
              const std::function<void()>& reload);

} // namespace ChangedRecord
