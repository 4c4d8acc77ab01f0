#include "data/postgrescursor.h"

#include "data/postgresconnection.h"

#include <charconv>
#include <libpq-fe.h>

namespace {

constexpr Oid BoolType = 16;

} // namespace

void PgResultFree::operator()(pg_result* result) const
{
    PQclear(result);
}

PostgresCursor::PostgresCursor(PostgresConnection* connection, PgResult first, bool streaming)
    : m_connection(connection), m_reading(streaming)
{
    for (int i = 0; i < PQnfields(first.get()); ++i) {
        m_names.push_back(QString::fromUtf8(PQfname(first.get(), i)));
        m_truths.push_back(PQftype(first.get(), i) == BoolType);
    }
    if (streaming) {
        m_row = std::move(first);
        m_pending = true;
        connection->m_reading = this;
    }
}

PostgresCursor::~PostgresCursor()
{
    if (m_reading)
        m_connection->abandon();
}

bool PostgresCursor::next()
{
    if (m_pending) {
        m_pending = false;
        return true;
    }
    m_row.reset();
    if (!m_buffered.empty()) {
        m_row = std::move(m_buffered.front());
        m_buffered.pop_front();
        return true;
    }
    m_row = fetch();
    return m_row != nullptr;
}

void PostgresCursor::keepRest()
{
    while (PgResult row = fetch())
        m_buffered.push_back(std::move(row));
}

// The next row from the session, or null at the end or on an error (kept in the status).
PgResult PostgresCursor::fetch()
{
    if (!m_reading)
        return nullptr;
    PgResult result = m_connection->nextResult();
    if (result && PQresultStatus(result.get()) == PGRES_SINGLE_TUPLE)
        return result;
    if (result && PQresultStatus(result.get()) == PGRES_TUPLES_OK)
        m_connection->noteCompleted(result.get());
    else
        m_status = m_connection->statusOf(result.get());
    m_connection->finishResults();
    m_connection->m_reading = nullptr;
    m_reading = false;
    return nullptr;
}

QString PostgresCursor::columnName(int column) const
{
    return valid(column) ? m_names[column] : QString();
}

bool PostgresCursor::isNull(int column) const
{
    return !m_row || !valid(column) || PQgetisnull(m_row.get(), 0, column);
}

// Truth values read as 1 and 0, as they do from the file.
QString PostgresCursor::text(int column) const
{
    if (isNull(column))
        return QString();
    if (m_truths[column])
        return QString::number(integer(column));
    return QString::fromUtf8(PQgetvalue(m_row.get(), 0, column),
                             PQgetlength(m_row.get(), 0, column));
}

std::int64_t PostgresCursor::integer(int column) const
{
    if (isNull(column))
        return 0;
    const char* value = PQgetvalue(m_row.get(), 0, column);
    if (m_truths[column])
        return value[0] == 't' ? 1 : 0;
    std::int64_t result = 0;
    const char* end = value + PQgetlength(m_row.get(), 0, column);
    if (std::from_chars(value, end, result).ec == std::errc::result_out_of_range)
        return static_cast<std::int64_t>(real(column));
    return result;
}

double PostgresCursor::real(int column) const
{
    if (isNull(column))
        return 0.0;
    const char* value = PQgetvalue(m_row.get(), 0, column);
    double result = 0;
    std::from_chars(value, value + PQgetlength(m_row.get(), 0, column), result);
    return result;
}
