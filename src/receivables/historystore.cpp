#include "receivables/historystore.h"

#include "data/calltext.h"
#include "data/database.h"

namespace HistoryStore {

Result<QList<TicketLine>> customerTickets(const QString& custId)
{
    return Database::read([&](Database& db) -> Result<QList<TicketLine>> {
        Query q = db.query(QStringLiteral("SELECT TicketNum, CallStatus, ProbType, TypeSpecific, "
                                          "Tech FROM CallLog WHERE CustID = ? ORDER BY TicketNum"),
                           custId);
        QList<TicketLine> lines;
        while (q.next()) {
            lines << TicketLine{static_cast<std::int32_t>(q.integer(0)), q.text(1), q.text(2),
                                q.text(3), q.text(4)};
        }
        if (!q.status())
            return q.status();
        return lines;
    });
}

Result<std::optional<TicketDetail>> ticketDetail(std::int32_t ticketNum)
{
    return Database::read([&](Database& db) -> Result<std::optional<TicketDetail>> {
        Query q = db.query(QStringLiteral("SELECT c.TicketNum, c.Tech, c.Comm, p.QuickDescp, "
                                          "p.Problem, p.Solution FROM CallLog c "
                                          "LEFT JOIN ProbSol p ON p.rowid = %1 "
                                          "WHERE c.TicketNum = ?")
                               .arg(CallText::rowOf(QStringLiteral("c.TicketNum"))),
                           ticketNum);
        if (q.next()) {
            return std::optional(TicketDetail{static_cast<std::int32_t>(q.integer(0)), q.text(1),
                                              q.text(2), q.text(3), q.text(4), q.text(5)});
        }
        if (!q.status())
            return q.status();
        return std::optional<TicketDetail>();
    });
}

} // namespace HistoryStore
