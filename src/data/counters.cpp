#include "data/counters.h"

#include <limits>

namespace {

struct CounterTable {
    const char* table;
    const char* column;
};

CounterTable tableOf(Counter counter)
{
    switch (counter) {
    case Counter::Ticket:
        return {"TicketCount", "TicketNum"};
    case Counter::KnowledgeBase:
        return {"KnowBaseCount", "KnowNum"};
    case Counter::WorkOrder:
        return {"WorkOrdCount", "WkOrdNum"};
    case Counter::Rma:
        return {"RMACount", "RMANum"};
    case Counter::Invoice:
        return {"InvNumCount", "InvNum"};
    case Counter::Customer:
        return {"CUSTCOUNT", "CustNum"};
    case Counter::Employee:
        return {"EmployeeCount", "EmpNum"};
    }
    return {"TicketCount", "TicketNum"};
}

enum class Use { Show, Take };

// A number about to be taken locks its counter's row until the transaction ends, so that two
// workstations on a server never take the same one. The file's write transaction already holds
// the whole file.
Result<std::int64_t> stored(Database& db, Counter counter, Use use)
{
    const auto [table, column] = tableOf(counter);
    const QString lock =
        use == Use::Take && db.onServer() ? QStringLiteral(" FOR UPDATE") : QString();
    Query query = db.query(QStringLiteral("SELECT %1 FROM %2 LIMIT 1%3")
                               .arg(QLatin1String(column), QLatin1String(table), lock));
    if (!query.next()) {
        if (!query.status())
            return query.status();
        return Status::error(
            Status::Kind::NotFound,
            QStringLiteral("The counter table %1 has no row.").arg(QLatin1String(table)));
    }
    return query.integer(0);
}

Status store(Database& db, Counter counter, std::int64_t number)
{
    const auto [table, column] = tableOf(counter);
    return db.exec(
        QStringLiteral("UPDATE %1 SET %2 = ?").arg(QLatin1String(table), QLatin1String(column)),
        number);
}

} // namespace

namespace Counters {

std::optional<std::int32_t> following(std::int32_t number)
{
    if (number == std::numeric_limits<std::int32_t>::max())
        return std::nullopt;
    return number + 1;
}

std::optional<std::int32_t> showNext(Database& db, Counter counter)
{
    const auto last = stored(db, counter, Use::Show);
    if (!last || *last >= std::numeric_limits<std::int32_t>::max() ||
        *last < std::numeric_limits<std::int32_t>::min())
        return std::nullopt;
    return static_cast<std::int32_t>(*last + 1);
}

Result<std::int32_t> numberToSave(Database& db, Counter counter, std::int32_t shown)
{
    const auto last = stored(db, counter, Use::Take);
    if (!last)
        return last.status();
    if (*last + 1 > std::numeric_limits<std::int32_t>::max())
        return Status::failed(QStringLiteral("The numbers of this kind are used up."));
    return *last + 1 > shown ? static_cast<std::int32_t>(*last + 1) : shown;
}

Status commit(Database& db, Counter counter, std::int32_t number)
{
    return store(db, counter, number);
}

Result<std::int64_t> draw(Database& db, Counter counter)
{
    return db.inTransaction([&](Database& scope) -> Result<std::int64_t> {
        const auto last = stored(scope, counter, Use::Take);
        if (!last)
            return last.status();
        if (Status status = store(scope, counter, *last + 1); !status)
            return status;
        return *last + 1;
    });
}

} // namespace Counters
