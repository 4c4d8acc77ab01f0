#pragma once

#include "data/database.h"

#include <cstdint>

/** What the calls remember of e-mail: whether a ticket's solution went to the customer. */
namespace MailStore {

/** Marks the ticket's solution as e-mailed; an error when the ticket no longer exists. */
Status markSolutionEmailed(Database& db, std::int32_t ticket);

} // namespace MailStore
