#pragma once

#include "data/connection.h"
#include "data/postgrescursor.h"
#include "data/serverstatement.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <cstdint>
#include <memory>

struct pg_conn;

/**
 * One session on a PostgreSQL server that runs the data layer's portable statements.
 *
 * No request waits for ever: when the server sends nothing for the answer limit, the request is
 * cancelled; when the cancel gets no answer either, the session counts as lost (broken) and the
 * next scope opens a new one. A row locked by another workstation is waited for only as long as
 * the session's lock_timeout, which is shorter than the answer limit, so the limit never cuts a
 * lock wait short: the server ends it first and the request is reported as busy.
 */
class PostgresConnection final : public Connection {
public:
    /** How long a request waits for the server when the settings do not say. */
    static constexpr int DefaultAnswerLimitMs = 30000;

    /** Connects with a libpq URL (`postgresql://user@host:5432/shop?sslmode=verify-full`) or
     *  keyword string; a password may also come from PGPASSFILE or ~/.pgpass. `database`, when
     *  given, replaces the settings' database name. A request waits `answerLimitMs` for the
     *  server to send something before it is cancelled. */
    static Result<std::unique_ptr<PostgresConnection>>
    open(const QString& settings, const QString& database = {},
         int answerLimitMs = DefaultAnswerLimitMs);
    PostgresConnection(const PostgresConnection&) = delete;
    PostgresConnection& operator=(const PostgresConnection&) = delete;
    ~PostgresConnection() override;

    Engine engine() const override { return Engine::Server; }
    /** Cursors must be gone before the connection is. */
    std::unique_ptr<Cursor> prepare(const QString& sql, std::span<const SqlValue> values,
                                    Status& error) override;
    int changes() const override { return m_changes; }
    Status begin() override;
    Status commit() override;
    Status rollback() override;

    /** Whether the session is lost (the server restarted, the network dropped): the next scope
     *  needs a new connection. */
    bool broken() const override;
    /** Reads what the server sent while the session was idle, without a request: a server that
     *  restarted or ended the session has said so and closed the socket. */
    bool lostWhileIdle() override;
    bool conflicted() const override;
    /** SQLSTATE of the last error ("40001"), empty when the error did not come from the server. */
    const QByteArray& lastSqlState() const { return m_sqlState; }
    /** How many requests this process has sent a server and waited on: statements, their
     *  preparation and the transaction commands. Each costs the network's round trip. */
    static std::uint64_t roundTrips();
    /** The server as libpq reports this session, "PostgreSQL user@host:port/database": what
     *  it reached, whatever the settings' text says. */
    QString name() const;
    /** The name of the last session opened with `settings` (and their own database); empty
     *  while none has opened. */
    static QString reportedName(const QString& settings);
    /** How many statements may be kept prepared on the server; 0 parses every statement anew. */
    void setPreparedLimit(int limit) { m_preparedLimit = limit; }

private:
    friend class PostgresCursor;
    struct Parameters;
    struct CachedStatement {
        ServerStatement statement;
        int uses = 0;
        QHash<QByteArray, QByteArray> prepared; // name by the types the values were sent as
    };

    PostgresConnection(pg_conn* connection, int answerLimitMs);
    CachedStatement& cached(const QString& sql);
    bool preparedName(CachedStatement& entry, const Parameters& parameters, QByteArray& name,
                      Status& error);
    void forgetPrepared();
    Status run(const char* sql);
    /** Counts a request about to be sent; false, sending nothing, once the server has stopped
     *  answering. */
    bool startRequest();
    /** Waits until the session's next result can be taken without blocking; false when the
     *  server did not answer, nor to the cancel that followed. */
    bool awaitAnswer();
    /** The session's next result; null once the request's results are over or when the server
     *  did not answer. */
    PgResult nextResult();
    /** Takes every result of the request: the first error, else the last result. */
    PgResult lastResult();
    /** Makes the session free for the next statement: a cursor still reading keeps its
     *  remaining rows in memory. */
    void settle();
    /** Drops the rest of an abandoned result. */
    void abandon();
    void finishResults();
    void noteCompleted(pg_result* result);
    Status statusOf(const pg_result* result);

    pg_conn* m_connection = nullptr;
    PostgresCursor* m_reading = nullptr;
    bool m_cancelSafe = false;
    int m_answerLimitMs;
    /** Whether the current request was cancelled because the server sent nothing in time. */
    bool m_cancelledAtLimit = false;
    /** Whether the server answered neither a request nor its cancel: the session is given up. */
    bool m_unanswered = false;
    int m_changes = 0;
    QByteArray m_sqlState;
    QHash<QString, CachedStatement> m_statements;
    int m_preparedCount = 0;
    int m_preparedSerial = 0;
    int m_preparedLimit = 200;
};
