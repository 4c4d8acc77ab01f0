#pragma once

#include "data/database.h"

#include <QString>

/**
 * What a window loaded of one record, kept so that saving can tell whether another workstation
 * changed or removed the record since. The record is what one statement reads for one key
 * value; saving reads it again inside its write transaction and compares. On a server the save
 * first locks every row the record is read from, so that nobody changes them before the commit,
 * and then reads the record in a statement of its own: one that started before a lock wait
 * would read the rows of its subqueries as they were before the transaction it waited for.
 */
class RowSnapshot {
public:
    RowSnapshot() = default;

    /** Reads the record with `sql`, each of whose placeholders stands for `key`. On a server,
     *  `locks` locks every row that `sql` reads, its placeholders standing for `key` as well:
     *  needed when `sql` reads rows in subqueries. Without it `sql` itself is run FOR UPDATE,
     *  which locks the rows of its FROM list, so it must be a statement that rows can be
     *  locked for (no outer join, no aggregate). */
    static Result<RowSnapshot> take(Database& db, const QString& sql, const SqlValue& key,
                                    const QString& locks = {});
    /** The record that `query`, run with `sql` for `key`, stands on: a window that reads the
     *  record with the same statement takes the snapshot without reading it twice. */
    static RowSnapshot of(const QString& sql, const SqlValue& key, const Query& query,
                          const QString& locks = {});

    /** Inside the save's transaction: ok while the record is as it was taken; NotFound with
     *  `missing` when it is gone; Changed when another workstation changed it. A snapshot never
     *  taken is ok. */
    Status verify(Database& db, const QString& missing) const;

    bool isTaken() const { return !m_sql.isEmpty(); }

    /** What the user is told when a record changed since the window showed it. */
    static const QString& changedMessage();

private:
    /** All the record's values as one text; empty when the statement finds no row. */
    static Result<QString> read(Database& db, const QString& sql, const SqlValue& key);
    /** Runs `sql` with `key` for each of its placeholders. */
    static Query run(Database& db, const QString& sql, const SqlValue& key);
    /** The values of the row the query stands on, each marked as null or as text, so that no
     *  two records read alike. */
    static QString rowText(const Query& query);

    QString m_sql;
    /** The server statement that locks the record's rows; empty for `m_sql` FOR UPDATE. */
    QString m_locks;
    SqlValue m_key;
    QString m_values;
};
