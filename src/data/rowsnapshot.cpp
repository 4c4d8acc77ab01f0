#include "data/rowsnapshot.h"

#include "data/serverstatement.h"

#include <vector>

Result<RowSnapshot> RowSnapshot::take(Database& db, const QString& sql, const SqlValue& key,
                                      const QString& locks)
{
    Result<QString> values = read(db, sql, key);
    if (!values)
        return values.status();
    RowSnapshot snapshot;
    snapshot.m_sql = sql;
    snapshot.m_locks = locks;
    snapshot.m_key = key;
    snapshot.m_values = *values;
    return snapshot;
}

RowSnapshot RowSnapshot::of(const QString& sql, const SqlValue& key, const Query& query,
                            const QString& locks)
{
    RowSnapshot snapshot;
    snapshot.m_sql = sql;
    snapshot.m_locks = locks;
    snapshot.m_key = key;
    snapshot.m_values = rowText(query);
    return snapshot;
}

Status RowSnapshot::verify(Database& db, const QString& missing) const
{
    if (!isTaken())
        return Status::ok();
    // The file's write transaction already keeps every other writer out until it ends.
    if (db.onServer()) {
        const QString locks = m_locks.isEmpty() ? m_sql + QStringLiteral(" FOR UPDATE") : m_locks;
        if (Status locked = run(db, locks, m_key).exec(); !locked)
            return locked;
    }
    const Result<QString> now = read(db, m_sql, m_key);
    if (!now)
        return now.status();
    if (now->isEmpty())
        return Status::error(Status::Kind::NotFound, missing);
    if (*now != m_values)
        return Status::error(Status::Kind::Changed, changedMessage());
    return Status::ok();
}

Result<QString> RowSnapshot::read(Database& db, const QString& sql, const SqlValue& key)
{
    Query q = run(db, sql, key);
    QString values;
    while (q.next())
        values += rowText(q);
    if (!q.status())
        return q.status();
    return values;
}

Query RowSnapshot::run(Database& db, const QString& sql, const SqlValue& key)
{
    // Counted as the server counts them: a `?` in a string or a comment is none.
    const std::vector<SqlValue> keys(ServerStatement::fromPortable(sql).needsType.size(), key);
    return db.prepare(sql, keys);
}

QString RowSnapshot::rowText(const Query& query)
{
    QString values;
    for (int column = 0; column < query.columnCount(); ++column)
        values += query.isNull(column) ? QStringLiteral("\x1f-")
                                       : QStringLiteral("\x1f+") + query.text(column);
    return values + QLatin1Char('\x1e');
}

const QString& RowSnapshot::changedMessage()
{
    static const QString message =
        QStringLiteral("This record was changed at another workstation after you opened it.");
    return message;
}
