#include "tickets/ticketlogstore.h"

#include "data/conversions.h"
#include "data/database.h"

namespace {

QString dateText(const QDate& date)
{
    return date.isValid() ? conv::formatDate(date) : QString();
}

QString daysToClose(const QDate& opened, const QDate& closed)
{
    if (!opened.isValid() || !closed.isValid())
        return QString();
    return QString::number(opened.daysTo(closed));
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
    QString sql = QStringLiteral(
        "SELECT c.TicketNum, c.CustID, u.CustName, c.OpenPostDate, c.ClosePostDate, c.Tech "
        "FROM CallLog c LEFT JOIN Customer u ON u.CustID = c.CustID");
    if (openOnly)
        sql += QStringLiteral(" WHERE c.CallStatus = 'Open'");
    sql += QStringLiteral(" ORDER BY c.TicketNum");
    Query q = db.query(sql);
    QStringList lines;
    const QChar tab = QLatin1Char('\t');
    while (q.next()) {
        const QDate opened = q.date(3);
        const QDate closed = q.date(4);
        lines << QString::number(q.integer(0)) + tab + q.text(1) + tab + q.text(2) + tab +
                     dateText(opened) + tab + dateText(closed) + tab + q.text(5) + tab +
                     daysToClose(opened, closed);
    }
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
    const QString columns = QStringLiteral(
        "SELECT TicketNum, Priority, CallStatus, ProbType, TypeSpecific FROM CallLog ");
    Query q = openOnly ? db.query(columns + QStringLiteral("WHERE Tech = ? AND CallStatus = "
                                                           "'Open' ORDER BY TicketNum"),
                                  empId)
                       : db.query(columns + QStringLiteral("WHERE Tech = ? ORDER BY Priority, "
                                                           "TicketNum"),
                                  empId);
    const QChar tab = QLatin1Char('\t');
    while (q.next()) {
        log.ticketLines << QString::number(q.integer(0)) + tab + q.text(1) + tab + q.text(2) + tab +
                               q.text(3) + tab + q.text(4);
    }
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
