#include "helpdesk/ticketstore.h"

#include "data/calltext.h"
#include "data/counters.h"
#include "helpdesk/lookupstore.h"

namespace {

Status finish(Transaction& transaction, const Status& status)
{
    return status ? transaction.commit() : status;
}

} // namespace

namespace TicketStore {

Result<std::int32_t> logCall(Database& db, const NewCall& call, std::int32_t shownNumber)
{
    Transaction transaction(db);
    if (!transaction.isActive())
        return transaction.beginStatus();
    const auto number = Counters::numberToSave(db, Counter::Ticket, shownNumber);
    if (!number)
        return number.status();
    Status status =
        db.exec(QStringLiteral(
                    "INSERT INTO CallLog (TicketNum, CustID, Priority, CallStatus, ProbType, "
                    "TypeSpecific, Comm, Tech, OpenPostDate) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                *number, call.customerId, call.priority, call.status, call.problemType,
                call.typeSpecific, call.comments, call.technician, call.openDate);
    if (status)
        status = db.exec(QStringLiteral("INSERT INTO ProbSol (TicketNum, QuickDescp, Problem, "
                                        "Solution, SaveKB) VALUES (?, ?, ?, ?, ?)"),
                         *number, call.quickDescription, call.problem, call.solution,
                         call.knowledgeBase);
    if (status)
        status = Counters::commit(db, Counter::Ticket, *number);
    if (status = finish(transaction, status); !status) {
        if (status.isDuplicate())
            return Status::error(Status::Kind::Duplicate,
                                 QStringLiteral("Ticket %1 already exists.").arg(*number));
        return status;
    }
    return *number;
}

Result<QStringList> openTicketLines(Database& db, const QString& technician)
{
    return LookupStore::firstColumn(db.query(
        QStringLiteral("SELECT c.TicketNum || char(9) || IFNULL(c.CustID, '') || char(9) || "
                       "IFNULL(u.CustName, '') || char(9) || IFNULL(c.Priority, '') "
                       "FROM CallLog c LEFT JOIN Customer u ON u.CustID = c.CustID "
                       "WHERE c.Tech = ? AND c.CallStatus = 'Open' "
                       "ORDER BY c.Priority, c.TicketNum"),
        technician));
}

Result<TicketDetail> ticketDetail(Database& db, std::int32_t ticket)
{
    TicketDetail detail;
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
    detail.customerId = call.text(0);
    detail.comments = call.text(1);
    if (call.boolean(2))
        detail.customerLines = LookupStore::addressLines(call.text(3), call.text(4), call.text(5),
                                                         call.text(6), call.text(7));

    Query texts = db.query(QStringLiteral("SELECT QuickDescp, Problem, Solution FROM ProbSol "
                                          "WHERE rowid = ") +
                               CallText::rowOf(QStringLiteral("?")),
                           ticket);
    if (texts.next()) {
        detail.quickDescription = texts.text(0);
        detail.problem = texts.text(1);
        detail.solution = texts.text(2);
    }

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
    if (!texts.status())
        return texts.status();
    if (!repair.status())
        return repair.status();
    return detail;
}

Status updateCall(Database& db, const CallUpdate& update)
{
    Transaction transaction(db);
    if (!transaction.isActive())
        return transaction.beginStatus();
    Status status =
        update.closeDate
            ? db.exec(QStringLiteral("UPDATE CallLog SET CallStatus = ?, ClosePostDate = ?, "
                                     "Comm = ? WHERE TicketNum = ?"),
                      update.status, *update.closeDate, update.comments, update.ticket)
            : db.exec(
                  QStringLiteral("UPDATE CallLog SET CallStatus = ?, Comm = ? WHERE TicketNum = ?"),
                  update.status, update.comments, update.ticket);
    if (status && db.changes() == 0)
        status = Status::error(Status::Kind::NotFound,
                               QStringLiteral("Ticket %1 no longer exists.").arg(update.ticket));
    if (status)
        status = db.exec(QStringLiteral("UPDATE ProbSol SET QuickDescp = ?, Problem = ?, "
                                        "Solution = ?, SaveKB = ? WHERE rowid = ") +
                             CallText::rowOf(QStringLiteral("?")),
                         update.quickDescription, update.problem, update.solution,
                         update.knowledgeBase, update.ticket);
    return finish(transaction, status);
}

} // namespace TicketStore
