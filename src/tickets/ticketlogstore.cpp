#include "tickets/ticketlogstore.h"

#include "data/calltext.h"
#include "data/database.h"

#include <QHash>

namespace {

// The lines are joined by the engine, which is markedly faster than joining a hundred thousand
// lines of fields here. Each field is made text first, so that a null number becomes an empty
// field on every engine.
QString tabJoined(const QStringList& expressions)
{
    QStringList fields;
    for (const QString& expression : expressions)
        fields << QStringLiteral("COALESCE(CAST(%1 AS TEXT), '')").arg(expression);
    return fields.join(QStringLiteral(" || '\t' || "));
}

// "mm/dd/yy" of an ISO date column; null stays null. Cut from the text the program writes
// ("yyyy-mm-dd"), which costs a fraction of parsing it for every line of a long log.
QString shortDate(const QString& column)
{
    return QStringLiteral("substr(%1, 6, 2) || '/' || substr(%1, 9, 2) || '/' || substr(%1, 3, 2)")
        .arg(column);
}

// A ticket finds its customer whatever the case of either ID, ASCII letters folded, as the
// database compares them. IDs are mostly upper case already, so folding copies almost none.
QString caseFolded(const QString& id)
{
    QString folded = id;
    for (qsizetype i = 0; i < id.size(); ++i) {
        const char16_t c = id.at(i).unicode();
        if (c >= u'a' && c <= u'z')
            folded[i] = QChar(c - (u'a' - u'A'));
    }
    return folded;
}

// Up to this many lines, a page reads just its own customers' names: a search of the customer
// index per name. A longer page reads the whole customer table, which is then cheaper.
constexpr int OwnNamesPageLimit = 2000;

QStringList linesOf(Query& q)
{
    QStringList lines;
    while (q.next())
        lines << q.text(0);
    return lines;
}

} // namespace

namespace TicketLogStore {

Result<TicketLog> load()
{
    return Database::read([](Database& db) -> Result<TicketLog> {
        TicketLog log;
        const auto counts = openCounts(db);
        if (!counts)
            return counts.status();
        log.counts = *counts;
        auto technicians = Technicians::active(db);
        if (!technicians)
            return technicians.status();
        log.technicians = std::move(technicians.value());
        return log;
    });
}

Result<OpenCounts> openCounts(Database& db)
{
    // The text columns compare without case, as the counts always have.
    Query q = db.query(QStringLiteral("SELECT COUNT(*), COUNT(CASE WHEN Priority = '1-High' THEN 1 "
                                      "END), COUNT(CASE WHEN Priority = '2-Med' THEN 1 END), "
                                      "COUNT(CASE WHEN Priority = '3-Low' THEN 1 END) "
                                      "FROM CallLog WHERE CallStatus = 'Open'"));
    if (!q.next())
        return q.status().isOk() ? Status::failed(QStringLiteral("No count was returned."))
                                 : q.status();
    OpenCounts counts;
    counts.open = static_cast<int>(q.integer(0));
    counts.high = static_cast<int>(q.integer(1));
    counts.medium = static_cast<int>(q.integer(2));
    counts.low = static_cast<int>(q.integer(3));
    return counts;
}

Result<QStringList> TicketPages::next(Database& db, int limit)
{
    const QString page =
        QStringLiteral("FROM CallLog WHERE %1 TicketNum > ? ORDER BY TicketNum LIMIT ?")
            .arg(m_openOnly ? QStringLiteral("CallStatus = 'Open' AND") : QString());
    if (const Status names = readNames(db, page, limit); !names)
        return names;
    // A negative LIMIT means "no limit" only to the file's engine.
    const int rows = limit < 0 ? std::numeric_limits<int>::max() : limit;
    // The customer's name sits between the fields before and after it, which the engine joins.
    const QString before = tabJoined({QStringLiteral("TicketNum"), QStringLiteral("CustID")});
    const QString after = tabJoined(
        {shortDate(QStringLiteral("OpenPostDate")), shortDate(QStringLiteral("ClosePostDate")),
         QStringLiteral("Tech"),
         db.daysBetween(QStringLiteral("ClosePostDate"), QStringLiteral("OpenPostDate"))});
    Query q =
        db.query(QStringLiteral("SELECT TicketNum, %1, CustID, %2 %3").arg(before, after, page),
                 m_afterTicket, rows);
    QStringList lines;
    int last = m_afterTicket;
    while (q.next()) {
        last = static_cast<int>(q.integer(0));
        const QString first = q.text(1);
        const QString name = customerName(db, q.text(2));
        const QString rest = q.text(3);
        QString line;
        line.reserve(first.size() + name.size() + rest.size() + 2);
        line.append(first)
            .append(QLatin1Char('\t'))
            .append(name)
            .append(QLatin1Char('\t'))
            .append(rest);
        lines << line;
    }
    if (!q.status())
        return q.status();
    m_afterTicket = last;
    return lines;
}

Result<QStringList> TicketPages::next(int limit)
{
    return Database::read([&](Database& db) { return next(db, limit); });
}

Status TicketPages::readNames(Database& db, const QString& pageOfTickets, int limit)
{
    if (m_everyName)
        return Status::ok();
    const bool ownNames = limit >= 0 && limit <= OwnNamesPageLimit;
    Query q = ownNames ? db.query(QStringLiteral("SELECT CustID, CustName FROM Customer "
                                                 "WHERE CustID IN (SELECT CustID %1)")
                                      .arg(pageOfTickets),
                                  m_afterTicket, limit)
                       : db.query(QStringLiteral("SELECT CustID, CustName FROM Customer"));
    while (q.next())
        m_names.insert(caseFolded(q.text(0)), q.text(1));
    if (!q.status())
        return q.status();
    m_everyName = !ownNames;
    return Status::ok();
}

QString TicketPages::customerName(Database& db, const QString& custId)
{
    const QString key = caseFolded(custId);
    const auto known = m_names.constFind(key);
    if (known != m_names.cend())
        return *known;
    // Not read with the page's names: a customer added since, or one that is gone. Either way
    // the answer is kept, so that a gone customer is searched for once.
    Query q = db.query(QStringLiteral("SELECT CustName FROM Customer WHERE CustID = ?"), custId);
    const QString name = q.next() ? q.text(0) : QString();
    m_names.insert(key, name);
    return name;
}

Result<TechnicianLog> technicianLog(const QString& empId, bool openOnly)
{
    return Database::read([&](Database& db) -> Result<TechnicianLog> {
        TechnicianLog log;
        const QString line = tabJoined({QStringLiteral("TicketNum"), QStringLiteral("Priority"),
                                        QStringLiteral("CallStatus"), QStringLiteral("ProbType"),
                                        QStringLiteral("TypeSpecific")});
        const QString filterAndOrder = openOnly ? QStringLiteral("AND CallStatus = 'Open' "
                                                                 "ORDER BY TicketNum")
                                                : QStringLiteral("ORDER BY Priority, TicketNum");
        Query q = db.query(
            QStringLiteral("SELECT %1 FROM CallLog WHERE Tech = ? %2").arg(line, filterAndOrder),
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
    });
}

Result<TicketDetail> detail(int ticketNum)
{
    return Database::read([&](Database& db) -> Result<TicketDetail> {
        TicketDetail detail;
        Query problem = db.query(QStringLiteral("SELECT QuickDescp, Problem, Solution FROM "
                                                "ProbSol WHERE rowid = ") +
                                     CallText::rowOf(QStringLiteral("?")),
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
    });
}

} // namespace TicketLogStore
