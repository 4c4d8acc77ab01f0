#include "helpdesk/knowledgebasestore.h"

#include "data/counters.h"

namespace KnowledgeBaseStore {

Result<QList<KnowledgeBaseHit>> search(Database& db, const QString& text)
{
    Query query = db.query(QStringLiteral("SELECT rowid, TicketNum, QuickDescp FROM ProbSol "
                                          "WHERE QuickDescp LIKE ? ESCAPE '\\' AND SaveKB = 1 "
                                          "ORDER BY rowid"),
                           likeContains(text));
    QList<KnowledgeBaseHit> hits;
    while (query.next())
        hits.append({query.integer(0), static_cast<std::int32_t>(query.integer(1)), query.text(2)});
    if (!query.status())
        return query.status();
    return hits;
}

Result<KnowledgeBaseEntry> entry(Database& db, std::int64_t row)
{
    Query query =
        db.query(QStringLiteral("SELECT Problem, Solution FROM ProbSol WHERE rowid = ?"), row);
    if (!query.next()) {
        if (!query.status())
            return query.status();
        return Status::error(Status::Kind::NotFound, QStringLiteral("No record found"));
    }
    return KnowledgeBaseEntry{query.text(0), query.text(1)};
}

Result<std::int32_t> addEntry(Database& db, std::int32_t shownNumber,
                              const QString& quickDescription, const QString& problem,
                              const QString& solution)
{
    Transaction transaction(db);
    if (!transaction.isActive())
        return transaction.beginStatus();
    const auto number = Counters::numberToSave(db, Counter::KnowledgeBase, shownNumber);
    if (!number)
        return number.status();
    Status status = db.exec(QStringLiteral("INSERT INTO ProbSol (TicketNum, QuickDescp, Problem, "
                                           "Solution, SaveKB, KBEntry) VALUES (?, ?, ?, ?, 1, 1)"),
                            *number, quickDescription, problem, solution);
    if (status)
        status = Counters::commit(db, Counter::KnowledgeBase, *number);
    if (status)
        status = transaction.commit();
    if (!status)
        return status;
    return *number;
}

} // namespace KnowledgeBaseStore
