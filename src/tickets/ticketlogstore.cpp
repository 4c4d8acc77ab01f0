#include "tickets/ticketlogstore.h"

#include "data/database.h"

namespace {

// The lines are joined by the engine, which is markedly faster than joining a hundred thousand
// lines of fields here.
QString tabJoined(const QStringList& expressions)
{
    QStringList fields;
    for (const QString& expression : expressions)
        fields << QStringLiteral("ifnull(%1, '')").arg(expression);
    return fields.join(QStringLiteral(" || char(9) || "));
}

// "mm/dd/yy" of an ISO date column; null stays null.
QString shortDate(const QString& column)
{
    return QStringLiteral("strftime('%m/%d/', %1) || substr(strftime('%Y', %1), 3, 2)").arg(column);
}

QStringList linesOf(Query& q)
{
    QStringList lines;
    while (q.next())
        lines << q.text(0);
    return lines;
}

} // namespace

namespace TicketLogStore {

Result<TicketLog> load(bool openOnly)
{
    Database db;
    if (!db.isOpen())
        return db.openStatus();
    TicketLog log;
    const auto counts = openCounts(db);
    if (!counts)
        return counts.status();
    log.counts = *counts;
    auto lines = ticketLines(db, openOnly);
    if (!lines)
        return lines.status();
    log.ticketLines = std::move(lines.value());
    auto technicians = Technicians::active(db);
    if (!technicians)
        return technicians.status();
    log.technicians = std::move(technicians.value());
    return log;
}

Result<OpenCounts> openCounts(Database& db)
{
    // The text columns compare without case, as the counts always have.
    Query q = db.query(
        QStringLiteral("SELECT COUNT(*), TOTAL(Priority = '1-High'), TOTAL(Priority = '2-Med'), "
                       "TOTAL(Priority = '3-Low') FROM CallLog WHERE CallStatus = 'Open'"));
    if (!q.next())
        return q.status().isOk() ? Status::failed(QStringLiteral("No count was returned."))
                                 : q.status();
    OpenCounts counts;
    counts.open = static_cast<int>(q.integer(0));
    counts.high = static_cast<int>(q.real(1));
    counts.medium = static_cast<int>(q.real(2));
    counts.low = static_cast<int>(q.real(3));
    return counts;
}

Result<QStringList> ticketLines(Database& db, bool openOnly)
{
    const QString line =
        tabJoined({QStringLiteral("c.TicketNum"), QStringLiteral("c.CustID"),
                   QStringLiteral("u.CustName"), shortDate(QStringLiteral("c.OpenPostDate")),
                   shortDate(QStringLiteral("c.ClosePostDate")), QStringLiteral("c.Tech"),
                   QStringLiteral(
                       "CAST(julianday(c.ClosePostDate) - julianday(c.OpenPostDate) AS INTEGER)")});
    Query q = db.query(
        QStringLiteral("SELECT %1 FROM CallLog c LEFT JOIN Customer u ON "
                       "u.CustID = c.CustID %2 ORDER BY c.TicketNum")
            .arg(line, openOnly ? QStringLiteral("WHERE c.CallStatus = 'Open'") : QString()));
    QStringList lines = linesOf(q);
    if (!q.status())
        return q.status();
    return lines;
}

Result<QStringList> ticketLines(bool openOnly)
{
    Database db;
    if (!db.isOpen())
        return db.openStatus();
    return ticketLines(db, openOnly);
}

Result<TechnicianLog> technicianLog(const QString& empId, bool openOnly)
{
    Database db;
    if (!db.isOpen())
        return db.openStatus();
    TechnicianLog log;
    const QString line = tabJoined({QStringLiteral("TicketNum"), QStringLiteral("Priority"),
                                    QStringLiteral("CallStatus"), QStringLiteral("ProbType"),
                                    QStringLiteral("TypeSpecific")});
    Query q = db.query(QStringLiteral("SELECT %1 FROM CallLog WHERE Tech = ? %2")
                           .arg(line, openOnly ? QStringLiteral("AND CallStatus = 'Open' "
                                                                "ORDER BY TicketNum")
                                               : QStringLiteral("ORDER BY Priority, TicketNum")),
                       empId);
    log.ticketLines = linesOf(q);
    if (!q.status())
        return q.status();
    if (!openOnly) {
        auto name = Technicians::fullName(db, empId);
        if (!name)
            return name.status();
        log.name = *name;
    }
    return log;
}

Result<TicketDetail> detail(int ticketNum)
{
    Database db;
    if (!db.isOpen())
        return db.openStatus();
    TicketDetail detail;
    Query problem = db.query(QStringLiteral("SELECT QuickDescp, Problem, Solution FROM ProbSol "
                                            "WHERE TicketNum = ? ORDER BY rowid LIMIT 1"),
                             ticketNum);
    if (problem.next()) {
        detail.quickDescription = problem.text(0);
        detail.problem = problem.text(1);
        detail.solution = problem.text(2);
    } else if (!problem.status()) {
        return problem.status();
    }
    Query call =
        db.query(QStringLiteral("SELECT Comm FROM CallLog WHERE TicketNum = ?"), ticketNum);
    if (call.next())
        detail.comments = call.text(0);
    else if (!call.status())
        return call.status();
    return detail;
}

} // namespace TicketLogStore
