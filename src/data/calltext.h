#pragma once

#include <QString>

/** Where a call's own problem and solution texts are: the row of ProbSol with the call's number
 *  that is not a knowledge-base entry, whatever entry shares the number. */
namespace CallText {

/** A subquery giving that row's rowid, for the ticket number `ticket` (a placeholder or a
 *  column of the enclosing query). */
inline QString rowOf(const QString& ticket)
{
    return QStringLiteral("(SELECT MIN(rowid) FROM ProbSol WHERE TicketNum = %1 AND KBEntry = 0)")
        .arg(ticket);
}

} // namespace CallText
