#include "helpdesk/ticketstore.h"

#include "data/calltext.h"
#include "helpdesk/lookupstore.h"
#include "helpdesk/numberedsave.h"

namespace {

Status insertCall(Database& db, const NewCall& call, std::int32_t number)
{
    Status status =
        db.exec(QStringLiteral(
                    "INSERT INTO CallLog (TicketNum, CustID, Priority, CallStatus, ProbType, "
                    "TypeSpecific, Comm, Tech, OpenPostDate) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                number, call.customerId, call.priority, call.status, call.problemType,
                call.typeSpecific, call.comments, call.technician, call.openDate);
    if (status.isDuplicate())
        return Status::error(Status::Kind::Duplicate,
                             QStringLiteral("Ticket %1 already exists.").arg(number));
    if (status)
        status =
            db.exec(QStringLiteral("INSERT INTO ProbSol (TicketNum, QuickDescp, Problem, "
                                   "Solution, SaveKB) VALUES (?, ?, ?, ?, ?)"),
                    number, call.quickDescription, call.problem, call.solution, call.knowledgeBase);
    return status;
}

/** The call's own problem/solution texts into `detail`; none is no error. */
Status readTexts(Database& db, std::int32_t ticket, TicketDetail& detail)
{
    Query texts = db.query(QStringLiteral("SELECT QuickDescp, Problem, Solution FROM ProbSol "
                                          "WHERE rowid = ") +
                               CallText::rowOf(QStringLiteral("?")),
                           ticket);
    if (texts.next()) {
        detail.quickDescription = texts.text(0);
        detail.problem = texts.text(1);
        detail.solution = texts.text(2);
    }
    return texts.status();
}

/** The ticket's first work order into `detail`; none is no error. */
Status readWorkOrder(Database& db, std::int32_t ticket, TicketDetail& detail)
{
    Query repair = db.query(QStringLiteral("SELECT WorkNum, RMANum, RepairTech, RepairNotes, "
                                           "WrkOrd, Invoiced FROM RepairOrder "
                                           "WHERE TicketNum = ? ORDER BY rowid LIMIT 1"),
                            ticket);
    if (repair.next()) {
        detail.workOrder = TicketWorkOrder{static_cast<std::int32_t>(repair.integer(0)),
                                           static_cast<std::int32_t>(repair.integer(1)),
                                           repair.text(2),
                                           repair.text(3),
                                           repair.boolean(4),
                                           repair.boolean(5)};
    }
    return repair.status();
}

/** What the open tickets page shows of a call and an update rewrites: the call's row and its
 *  own texts. */
QString shownCall()
{
    QString sql = QStringLiteral("SELECT c.CustID, c.CallStatus, c.Comm");
    for (const char* text : {"QuickDescp", "Problem", "Solution"})
        sql += QStringLiteral(", (SELECT %1 FROM ProbSol WHERE rowid = %2)")
                   .arg(QLatin1String(text), CallText::rowOf(QStringLiteral("c.TicketNum")));
    return sql + QStringLiteral(" FROM CallLog c WHERE c.TicketNum = ?");
}

/** Locks on a server the rows that shownCall reads: the call's and its texts'. */
QString lockedCall()
{
    return QStringLiteral("SELECT c.TicketNum, (SELECT rowid FROM ProbSol WHERE rowid = %1 FOR "
                          "UPDATE) FROM CallLog c WHERE c.TicketNum = ? FOR UPDATE")
        .arg(CallText::rowOf(QStringLiteral("c.TicketNum")));
}

} // namespace

namespace TicketStore {

Result<std::int32_t> logCall(const NewCall& call, std::int32_t shownNumber)
{
    return NumberedSave::save(Counter::Ticket, shownNumber, [&](Database& db, std::int32_t number) {
        return insertCall(db, call, number);
    });
}

Result<QStringList> openTicketLines(const QString& technician)
{
    return LookupStore::column(
        QStringLiteral("SELECT c.TicketNum || '\t' || COALESCE(c.CustID, '') || '\t' || "
                       "COALESCE(u.CustName, '') || '\t' || COALESCE(c.Priority, '') "
                       "FROM CallLog c LEFT JOIN Customer u ON u.CustID = c.CustID "
                       "WHERE c.Tech = ? AND c.CallStatus = 'Open' "
                       "ORDER BY c.Priority, c.TicketNum"),
        technician);
}

Result<TicketDetail> ticketDetail(std::int32_t ticket)
{
    return Database::read([&](Database& db) -> Result<TicketDetail> {
        Result<RowSnapshot> snapshot = RowSnapshot::take(db, shownCall(), ticket, lockedCall());
        if (!snapshot)
            return snapshot.status();
        Query call = db.query(
            QStringLiteral("SELECT c.CustID, c.Comm, u.CustID IS NOT NULL, u.CustName, u.CustAdd, "
                           "u.CustCity, u.CustState, u.CustZip FROM CallLog c "
                           "LEFT JOIN Customer u ON u.CustID = c.CustID WHERE c.TicketNum = ?"),
            ticket);
        if (!call.next()) {
            if (!call.status())
                return call.status();
            return Status::error(Status::Kind::NotFound,
                                 QStringLiteral("Ticket %1 does not exist.").arg(ticket));
        }
        TicketDetail detail;
        detail.loaded = *snapshot;
        detail.customerId = call.text(0);
        detail.comments = call.text(1);
        if (call.boolean(2))
            detail.customerLines = LookupStore::addressLines(
                call.text(3), call.text(4), call.text(5), call.text(6), call.text(7));
        Status status = readTexts(db, ticket, detail);
        if (status)
            status = readWorkOrder(db, ticket, detail);
        if (!status)
            return status;
        return detail;
    });
}

Status updateCall(const CallUpdate& update)
{
    const QString gone = QStringLiteral("Ticket %1 no longer exists.").arg(update.ticket);
    return Database::write([&](Database& db) {
        Status status = update.loaded.verify(db, gone);
        if (status)
            status =
                update.closeDate
                    ? db.changeRow(
                          gone,
                          QStringLiteral("UPDATE CallLog SET CallStatus = ?, "
                                         "ClosePostDate = ?, Comm = ? WHERE TicketNum = ?"),
                          update.status, *update.closeDate, update.comments, update.ticket)
                    : db.changeRow(gone,
                                   QStringLiteral("UPDATE CallLog SET CallStatus = ?, Comm = ? "
                                                  "WHERE TicketNum = ?"),
                                   update.status, update.comments, update.ticket);
        if (status)
            status = db.exec(QStringLiteral("UPDATE ProbSol SET QuickDescp = ?, Problem = ?, "
                                            "Solution = ?, SaveKB = ? WHERE rowid = ") +
                                 CallText::rowOf(QStringLiteral("?")),
                             update.quickDescription, update.problem, update.solution,
                             update.knowledgeBase, update.ticket);
        return status;
    });
}

} // namespace TicketStore
