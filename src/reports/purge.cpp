#include "reports/purge.h"

#include "data/database.h"

namespace Purge {

namespace {

QString deleteOneStatement(Target target)
{
    switch (target) {
    case Target::Ticket:
        return QStringLiteral("DELETE FROM CallLog WHERE TicketNum = ?");
    case Target::Invoice:
        return QStringLiteral("DELETE FROM ARInvoice WHERE InvNum = ?");
    case Target::Solution:
        break;
    }
    return QStringLiteral("DELETE FROM ProbSol WHERE TicketNum = ?");
}

QString deleteAllStatement(Target target)
{
    switch (target) {
    case Target::Ticket:
        return QStringLiteral("DELETE FROM CallLog WHERE CallStatus = 'Closed'");
    case Target::Invoice:
        return QStringLiteral("DELETE FROM ARInvoice WHERE InvPaid = 1");
    case Target::Solution:
        break;
    }
    return QStringLiteral("DELETE FROM ProbSol");
}

/** Runs one delete as its own transaction and counts the rows it removed. */
template <typename... Args> Result<int> runDelete(const QString& statement, const Args&... args)
{
    Database db;
    if (!db.isOpen())
        return db.openStatus();
    Transaction transaction(db);
    if (!transaction.isActive())
        return transaction.beginStatus();
    if (Status deleted = db.exec(statement, args...); !deleted)
        return deleted;
    const int removed = db.changes();
    if (Status committed = transaction.commit(); !committed)
        return committed;
    return removed;
}

} // namespace

Result<bool> deleteOne(Target target, std::int32_t number)
{
    const Result<int> removed = runDelete(deleteOneStatement(target), number);
    if (!removed)
        return removed.status();
    return removed.value() > 0;
}

Result<int> deleteAll(Target target)
{
    return runDelete(deleteAllStatement(target));
}

} // namespace Purge
