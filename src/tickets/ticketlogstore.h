#pragma once

#include "data/status.h"
#include "tickets/technicians.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <limits>

class Database;

/** What the ticket log shows: counts of open tickets, the ticket lines, each technician's
 *  tickets and one ticket's details. Read only. */
namespace TicketLogStore {

struct OpenCounts {
    int open = 0;
    int high = 0;
    int medium = 0;
    int low = 0;
};

/** What the ticket log shows when it opens, but for the ticket lines, which come in pages. */
struct TicketLog {
    OpenCounts counts;
    QList<Technicians::Technician> technicians;
};

struct TechnicianLog {
    QString name;
    QStringList ticketLines;
};

struct TicketDetail {
    QString quickDescription;
    QString problem;
    QString solution;
    QString comments;
};

/** The counts and the technicians, in one read of each. */
Result<TicketLog> load();

Result<OpenCounts> openCounts(Database& db);
/**
 * One line per ticket, by ticket number: number, customer ID, customer name (empty when the
 * customer is gone), open date, close date, technician, days to close (empty while no close
 * date), joined by tabs. A page: at most `limit` lines (-1: all) of tickets numbered above
 * `afterTicket`.
 */
Result<QStringList> ticketLines(Database& db, bool openOnly,
                                int afterTicket = std::numeric_limits<int>::min(), int limit = -1);
Result<QStringList> ticketLines(bool openOnly, int afterTicket, int limit);

/**
 * The technician's name and tickets: number, priority, status, problem type, specific type,
 * joined by tabs. All tickets come by priority, High first; open tickets alone come by number.
 */
Result<TechnicianLog> technicianLog(const QString& empId, bool openOnly);

/** The ticket's description, problem and solution (empty without a problem record) and its
 *  comments. */
Result<TicketDetail> detail(int ticketNum);

} // namespace TicketLogStore
