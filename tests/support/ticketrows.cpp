#include "support/ticketrows.h"

#include "data/database.h"

#include <QtGlobal>

namespace TicketRows {

bool add(const Ticket& t)
{
    Database db;
    const Status status = db.exec(
        QStringLiteral("INSERT INTO CallLog (TicketNum, CustID, Priority, CallStatus, ProbType, "
                       "TypeSpecific, Comm, Tech, OpenPostDate, ClosePostDate) "
                       "VALUES (?, ?, ?, ?, ?, ?, '', ?, ?, ?)"),
        t.number, t.custId, t.priority, t.status, t.problemType, t.specific, t.tech, t.opened,
        t.closed.isValid() ? std::optional<QDate>(t.closed) : std::nullopt);
    if (!status)
        qWarning("Cannot add ticket %d: %s", t.number, qPrintable(status.message()));
    return status.isOk();
}

bool exec(const QString& sql, const QString& value)
{
    Database db;
    const Status status = value.isNull() ? db.exec(sql) : db.exec(sql, value);
    if (!status)
        qWarning("%s: %s", qPrintable(sql), qPrintable(status.message()));
    return status.isOk();
}

QString value(const QString& sql, int ticketNum)
{
    Database db;
    Query q = db.query(sql, ticketNum);
    return q.next() ? q.text(0) : QString();
}

QList<int> openTicketsOf(const QString& empId)
{
    Database db;
    Query q = db.query(QStringLiteral("SELECT TicketNum FROM CallLog WHERE Tech = ? AND "
                                      "CallStatus = 'Open' ORDER BY Priority, TicketNum"),
                       empId);
    QList<int> numbers;
    while (q.next())
        numbers << static_cast<int>(q.integer(0));
    return numbers;
}

QList<int> leadingNumbers(const QStringList& lines)
{
    QList<int> numbers;
    for (const QString& line : lines)
        numbers << line.section(QLatin1Char('\t'), 0, 0).section(QLatin1Char(' '), 0, 0).toInt();
    return numbers;
}

} // namespace TicketRows
