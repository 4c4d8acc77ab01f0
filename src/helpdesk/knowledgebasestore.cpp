#include "helpdesk/knowledgebasestore.h"

#include "helpdesk/numberedsave.h"

namespace KnowledgeBaseStore {

Result<QList<KnowledgeBaseHit>> search(const QString& text)
{
    return Database::read([&](Database& db) -> Result<QList<KnowledgeBaseHit>> {
        Query query = db.query(QStringLiteral("SELECT rowid, TicketNum, QuickDescp FROM ProbSol "
                                              "WHERE QuickDescp LIKE ? ESCAPE '\\' AND SaveKB = 1 "
                                              "ORDER BY rowid"),
                               likeContains(text));
        QList<KnowledgeBaseHit> hits;
        while (query.next())
            hits.append(
                {query.integer(0), static_cast<std::int32_t>(query.integer(1)), query.text(2)});
        if (!query.status())
            return query.status();
        return hits;
    });
}

Result<KnowledgeBaseEntry> entry(std::int64_t row)
{
    return Database::read([&](Database& db) -> Result<KnowledgeBaseEntry> {
        Query query =
            db.query(QStringLiteral("SELECT Problem, Solution FROM ProbSol WHERE rowid = ?"), row);
        if (!query.next()) {
            if (!query.status())
                return query.status();
            return Status::error(Status::Kind::NotFound, QStringLiteral("No record found"));
        }
        return KnowledgeBaseEntry{query.text(0), query.text(1)};
    });
}

Result<std::int32_t> addEntry(std::int32_t shownNumber, const QString& quickDescription,
                              const QString& problem, const QString& solution)
{
    return NumberedSave::save(
        Counter::KnowledgeBase, shownNumber, [&](Database& db, std::int32_t number) {
            return db.exec(QStringLiteral("INSERT INTO ProbSol (TicketNum, QuickDescp, Problem, "
                                          "Solution, SaveKB, KBEntry) VALUES (?, ?, ?, ?, 1, 1)"),
                           number, quickDescription, problem, solution);
        });
}

} // namespace KnowledgeBaseStore
