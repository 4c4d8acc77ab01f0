#pragma once

#include "data/counters.h"

#include <cstdint>

namespace NumberedSave {

/**
 * Saves a record under the number the window shows, or under the counter's next number when the
 * counter has moved past it since, and commits the counter: one transaction, all or nothing.
 * `insert(db, number)` writes the record; the number used is returned.
 */
template <typename Insert>
Result<std::int32_t> save(Counter counter, std::int32_t shownNumber, Insert&& insert)
{
    return Database::write([&](Database& db) -> Result<std::int32_t> {
        const auto number = Counters::numberToSave(db, counter, shownNumber);
        if (!number)
            return number.status();
        Status status = insert(db, *number);
        if (status)
            status = Counters::commit(db, counter, *number);
        if (!status)
            return status;
        return *number;
    });
}

} // namespace NumberedSave
