#include "helpdesk/mailstore.h"

namespace MailStore {

Status markSolutionEmailed(Database& db, std::int32_t ticket)
{
    return db.inTransaction([&](Database&) {
        const Status status =
            db.exec(QStringLiteral("UPDATE CallLog SET EmailSol = 1 WHERE TicketNum = ?"), ticket);
        if (status && db.changes() == 0)
            return Status::error(Status::Kind::NotFound,
                                 QStringLiteral("Ticket %1 no longer exists.").arg(ticket));
        return status;
    });
}

} // namespace MailStore
