#include "helpdesk/mailstore.h"

namespace {

Status mark(Database& db, std::int32_t ticket)
{
    return db.changeRow(QStringLiteral("Ticket %1 no longer exists.").arg(ticket),
                        QStringLiteral("UPDATE CallLog SET EmailSol = 1 WHERE TicketNum = ?"),
                        ticket);
}

} // namespace

namespace MailStore {

Status markSolutionEmailed(std::int32_t ticket)
{
    return Database::write([&](Database& db) { return mark(db, ticket); });
}

Status markSolutionEmailed(Database& db, std::int32_t ticket)
{
    return db.inTransaction([&](Database& scope) { return mark(scope, ticket); });
}

} // namespace MailStore
