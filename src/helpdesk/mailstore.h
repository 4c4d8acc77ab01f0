#pragma once

#include "data/database.h"

#include <cstdint>

/** What the calls remember of e-mail: whether a ticket's solution went to the customer. */
namespace MailStore {

/** Marks the ticket's solution as e-mailed, in a transaction of its own on a scope of its own;
 *  an error when the ticket no longer exists. */
Status markSolutionEmailed(std::int32_t ticket);
/** As above, on a scope the caller holds. */
Status markSolutionEmailed(Database& db, std::int32_t ticket);

} // namespace MailStore
