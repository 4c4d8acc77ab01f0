#pragma once

#include "data/database.h"

#include <QList>
#include <cstdint>

/** One entry found by a knowledge-base search. */
struct KnowledgeBaseHit {
    /** Which ProbSol row it is: a ticket and an entry may share a number. */
    std::int64_t row = 0;
    std::int32_t number = 0;
    QString quickDescription;
};

struct KnowledgeBaseEntry {
    QString problem;
    QString solution;
};

/** The searchable problem/solution texts: searching, reading and adding entries, each on a
 *  scope of the program's database of its own. */
namespace KnowledgeBaseStore {

/** Entries whose quick description contains `text` literally, case ignored. */
Result<QList<KnowledgeBaseHit>> search(const QString& text);

/** The problem and solution of a row found by search(). */
Result<KnowledgeBaseEntry> entry(std::int64_t row);

/** Adds an entry and commits the knowledge-base counter, all or nothing. The entry gets
 *  `shownNumber`, or the counter's next number when it has moved past it; that is returned. */
Result<std::int32_t> addEntry(std::int32_t shownNumber, const QString& quickDescription,
                              const QString& problem, const QString& solution);

} // namespace KnowledgeBaseStore
