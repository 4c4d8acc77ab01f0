#pragma once

#include "data/database.h"

#include <cstdint>
#include <optional>

/** The one-row tables that hold the last number issued for each kind of record. */
enum class Counter { Ticket, KnowledgeBase, WorkOrder, Rma, Invoice, Customer, Employee };

namespace Counters {

/** The number the next saved record will get: the stored last number plus one. Nothing when the
 *  counter cannot be read or the next number would overflow. */
std::optional<std::int32_t> showNext(Database& db, Counter counter);

/**
 * The number a record is saved under, given the number the window shows: when the counter has
 * been advanced elsewhere since, the stored number plus one. Call it inside the write
 * transaction that saves the record and then commits the number, so that no other workstation
 * can take the same number in between.
 */
Result<std::int32_t> numberToSave(Database& db, Counter counter, std::int32_t shown);

/** Stores `number` as the last number issued. */
Status commit(Database& db, Counter counter, std::int32_t number);

/** For customer and employee numbers, drawn as soon as an ID is formed: raises the counter by
 *  one in its own transaction and returns the new value. */
Result<std::int64_t> draw(Database& db, Counter counter);

/** The next number after `number`, or nothing when it would overflow 32 bits. */
std::optional<std::int32_t> following(std::int32_t number);

} // namespace Counters
