#include "upkeep/purge.h"

#include "data/database.h"

namespace Purge {

namespace {

/** What one purge removes: the rows of `table` that `which` selects with its `values`, and first
 *  the rows of the dependent tables that belong to them alone. */
struct Removal {
    QString table;
    QString key;
    QString which;
    QList<SqlValue> values;
    QStringList dependents;
};

Removal invoices(const QString& which, QList<SqlValue> values)
{
    // An invoice's lines and payments mean nothing without it.
    return {QStringLiteral("ARInvoice"),
            QStringLiteral("InvNum"),
            which,
            std::move(values),
            {QStringLiteral("InvDetail"), QStringLiteral("AmountPaid")}};
}

Removal removalOfOne(Target target, std::int32_t number)
{
    switch (target) {
    case Target::Ticket:
        return {QStringLiteral("CallLog"),
                QStringLiteral("TicketNum"),
                QStringLiteral("TicketNum = ?"),
                {SqlValue(number)},
                {}};
    case Target::Invoice:
        return invoices(QStringLiteral("InvNum = ?"), {SqlValue(number)});
    case Target::Solution:
        break;
    }
    // A ticket and a knowledge-base entry may share the number; the entry is the solution meant,
    // and a ticket's texts go only when no entry has the number.
    return {QStringLiteral("ProbSol"),
            QStringLiteral("TicketNum"),
            QStringLiteral("TicketNum = ? AND KBEntry = "
                           "(SELECT MAX(KBEntry) FROM ProbSol WHERE TicketNum = ?)"),
            {SqlValue(number), SqlValue(number)},
            {}};
}

Removal removalOfAll(Target target)
{
    switch (target) {
    case Target::Ticket:
        return {QStringLiteral("CallLog"),
                QStringLiteral("TicketNum"),
                QStringLiteral("CallStatus = 'Closed'"),
                {},
                {}};
    case Target::Invoice:
        return invoices(QStringLiteral("InvPaid = 1"), {});
    case Target::Solution:
        break;
    }
    return {
        QStringLiteral("ProbSol"), QStringLiteral("TicketNum"), QStringLiteral("1 = 1"), {}, {}};
}

/** Runs one removal as its own transaction and counts the rows of its table that went. */
Result<int> run(const Removal& removal)
{
    const std::span<const SqlValue> values(removal.values.constData(),
                                           static_cast<size_t>(removal.values.size()));
    return Database::write([&](Database& db) -> Result<int> {
        for (const QString& dependent : removal.dependents) {
            const Status gone =
                db.prepare(QStringLiteral("DELETE FROM %1 WHERE %2 IN "
                                          "(SELECT %2 FROM %3 WHERE %4)")
                               .arg(dependent, removal.key, removal.table, removal.which),
                           values)
                    .exec();
            if (!gone)
                return gone;
        }
        const Status gone =
            db.prepare(QStringLiteral("DELETE FROM %1 WHERE %2").arg(removal.table, removal.which),
                       values)
                .exec();
        if (!gone)
            return gone;
        return db.changes();
    });
}

} // namespace

Result<bool> deleteOne(Target target, std::int32_t number)
{
    const Result<int> removed = run(removalOfOne(target, number));
    if (!removed)
        return removed.status();
    return removed.value() > 0;
}

Result<int> deleteAll(Target target)
{
    return run(removalOfAll(target));
}

} // namespace Purge
