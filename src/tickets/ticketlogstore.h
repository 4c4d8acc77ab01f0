#pragma once

#include "data/status.h"
#include "tickets/technicians.h"

#include <QHash>
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
 * Reads the ticket log's lines a page at a time, by ticket number: number, customer ID, customer
 * name (empty when the customer is gone), open date, close date, technician, days to close
 * (empty while no close date), joined by tabs.
 *
 * A small page reads the names of its own customers; a larger one reads every customer's name
 * once for all the pages after it, since such pages hold most customers anyway. A customer
 * added meanwhile is looked up on its own.
 */
class TicketPages {
public:
    explicit TicketPages(bool openOnly) : m_openOnly(openOnly) {}

    /** The next lines, at most `limit` of them (-1: all that remain); fewer than `limit` lines
     *  means the log is done. */
    Result<QStringList> next(Database& db, int limit);
    Result<QStringList> next(int limit);

private:
    Status readNames(Database& db, const QString& pageOfTickets, int limit);
    QString customerName(Database& db, const QString& custId);

    bool m_openOnly;
    int m_afterTicket = std::numeric_limits<int>::min();
    /** Customer names by ID folded to upper case. */
    QHash<QString, QString> m_names;
    bool m_everyName = false;
};

/**
 * The technician's name and tickets: number, priority, status, problem type, specific type,
 * joined by tabs. All tickets come by priority, High first; open tickets alone come by number.
 */
Result<TechnicianLog> technicianLog(const QString& empId, bool openOnly);

/** The ticket's description, problem and solution (empty without a problem record) and its
 *  comments. */
Result<TicketDetail> detail(int ticketNum);

} // namespace TicketLogStore
