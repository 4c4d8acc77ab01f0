#pragma once

#include "data/status.h"

#include <cstdint>

/** Removes tickets, invoices and knowledge-base solutions from the database, one by number or
 *  all of a kind at once. */
namespace Purge {

enum class Target {
    Ticket,   ///< a CallLog row; "all" means every closed ticket
    Invoice,  ///< an ARInvoice row with its lines and payments; "all" means every paid invoice
    Solution, ///< the knowledge-base entry with the number, else the ticket's texts; "all" means
              ///< every ProbSol row
};

/** Deletes the record with that number; false when there is none. */
Result<bool> deleteOne(Target target, std::int32_t number);

/** Deletes every closed ticket, every paid invoice or every solution; gives how many went. */
Result<int> deleteAll(Target target);

} // namespace Purge
