#include "tickets/assignmentstore.h"

#include "data/database.h"

namespace {

// Writes one column of one ticket in its own transaction.
Status updateTicket(const QString& sql, const QString& value, int ticketNum)
{
    return Database::write([&](Database& db) {
        return db.changeRow(QStringLiteral("There is no ticket %1.").arg(ticketNum), sql, value,
                            ticketNum);
    });
}

} // namespace

namespace AssignmentStore {

Result<Choices> load()
{
    return Database::read([](Database& db) -> Result<Choices> {
        Choices choices;
        Query q = db.query(QStringLiteral("SELECT TicketNum, CustID, Priority FROM CallLog "
                                          "WHERE CallStatus = 'Open' ORDER BY TicketNum"));
        while (q.next())
            choices.tickets.append({static_cast<int>(q.integer(0)), q.text(1), q.text(2)});
        if (!q.status())
            return q.status();
        auto employees = Technicians::active(db);
        if (!employees)
            return employees.status();
        choices.employees = std::move(employees.value());
        return choices;
    });
}

Result<bool> ticketExists(int ticketNum)
{
    return Database::read([&](Database& db) -> Result<bool> {
        Query q = db.query(QStringLiteral("SELECT 1 FROM CallLog WHERE TicketNum = ?"), ticketNum);
        if (q.next())
            return true;
        if (!q.status())
            return q.status();
        return false;
    });
}

Result<std::optional<QString>> priorityOf(int ticketNum)
{
    return Database::read([&](Database& db) -> Result<std::optional<QString>> {
        Query q =
            db.query(QStringLiteral("SELECT Priority FROM CallLog WHERE TicketNum = ?"), ticketNum);
        if (q.next())
            return std::optional<QString>(q.text(0));
        if (!q.status())
            return q.status();
        return std::optional<QString>();
    });
}

Status reassign(int ticketNum, const QString& empId)
{
    return updateTicket(QStringLiteral("UPDATE CallLog SET Tech = ? WHERE TicketNum = ?"), empId,
                        ticketNum);
}

Status changePriority(int ticketNum, const QString& priority)
{
    return updateTicket(QStringLiteral("UPDATE CallLog SET Priority = ? WHERE TicketNum = ?"),
                        priority, ticketNum);
}

} // namespace AssignmentStore
