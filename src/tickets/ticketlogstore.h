#pragma once

#include "data/status.h"
#include "tickets/technicians.h"

#include <QList>
#include <QString>
#include <QStringList>

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

/** Everything the ticket log shows when it opens. */
struct TicketLog {
    OpenCounts counts;
    QStringList ticketLines;
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

/** The whole fill of the ticket log, in one read of each kind. */
Result<TicketLog> load(bool openOnly = false);

Result<OpenCounts> openCounts(Database& db);
/**
 * One line per ticket, by ticket number: number, customer ID, customer name (empty when the
 * customer is gone), open date, close date, technician, days to close (empty while no close
 * date), joined by tabs.
 */
Result<QStringList> ticketLines(Database& db, bool openOnly);
Result<QStringList> ticketLines(bool openOnly);

/**
 * The technician's name and tickets: number, priority, status, problem type, specific type,
 * joined by tabs. All tickets come by priority, High first; open tickets alone come by number.
 */
Result<TechnicianLog> technicianLog(const QString& empId, bool openOnly);

/** The ticket's description, problem and solution (empty without a problem record) and its
 *  comments. */
Result<TicketDetail> detail(int ticketNum);

} // namespace TicketLogStore
