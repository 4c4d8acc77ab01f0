#include "data/postgresconnection.h"

#include "data/serverpassword.h"

#include <QElapsedTimer>
#include <QRegularExpression>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <deque>
#include <future>
#include <libpq-fe.h>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#ifdef Q_OS_WIN
#include <winsock2.h>
#else
#include <cerrno>
#include <poll.h>
#endif

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

constexpr Oid Int8Type = 20, TextType = 25, Float8Type = 701, InferredType = 0;
constexpr char DefaultConnectTimeout[] = "15";
// A dead server or a broken network is noticed on an idle session within half a minute, and a
// request whose data the server does not acknowledge fails after the answer limit.
constexpr char DefaultKeepaliveIdleS[] = "10", DefaultKeepaliveIntervalS[] = "5",
               DefaultKeepaliveCount[] = "3";

std::atomic<std::uint64_t> sentRequests{0};

// The names libpq reported for the sessions opened, by their settings.
std::mutex reportedNamesLock;
QHash<QString, QString> reportedNames;

void countRoundTrip()
{
    sentRequests.fetch_add(1, std::memory_order_relaxed);
}
// Like the file's read patience: a row locked elsewhere is waited for, but not forever, and
// never as long as the answer limit, which would otherwise cut the wait short.
constexpr int LockTimeoutMs = 5000;
// Dates are ISO text and a backslash in a literal is an ordinary character, whatever the
// server's configuration says.
constexpr char SessionRequirements[] = " -c DateStyle=ISO -c standard_conforming_strings=on";
// An abandoned cursor reads on for this long before it asks the server to stop: a cancel costs
// the server a new process, as long as reading some tens of thousands of short rows, and short
// results are usually complete already.
constexpr qint64 AbandonReadNs = 20'000'000;
constexpr int StatementCacheSize = 1000;
// How long a cancel sent at the answer limit may take to be answered before the session is
// given up; a server that is merely slow answers it at once.
constexpr milliseconds CancelGrace{5000};

QString firstLine(const char* text)
{
    const QString all = QString::fromUtf8(text).trimmed();
    return all.left(all.indexOf(QLatin1Char('\n'))).trimmed();
}

// A setting libpq cannot read is quoted back in its message, and the quoted part of a URL may be
// the password.
QString withoutQuotedParts(const char* text)
{
    QString message = firstLine(text);
    static const QRegularExpression quoted(QStringLiteral("\"[^\"]*\""));
    return message.replace(quoted, QStringLiteral("\"...\""));
}

bool isServerGone(const QByteArray& state)
{
    return state.startsWith("08") || state == "57P01" || state == "57P02" || state == "57P03";
}

const char BusyMessage[] = "The database is busy on another workstation; please try again. (%1)";

/** What the user reads for an error the server reports, by its SQLSTATE. */
struct ServerError {
    /** The state, or its class when two characters long. */
    const char* state;
    Status::Kind kind;
    /** %1 is the server's own message. */
    const char* message;
};

constexpr ServerError ServerErrors[] = {
    {"23505", Status::Kind::Duplicate, "%1"},
    {"55P03", Status::Kind::Busy, BusyMessage},
    {"40001", Status::Kind::Busy, BusyMessage},
    {"40P01", Status::Kind::Busy, BusyMessage},
    {"57014", Status::Kind::Cancelled,
     "The database server stopped the request before it finished (%1): it took longer than "
     "the server's time limit (statement_timeout), or was cancelled there."},
    {"42501", Status::Kind::Denied,
     "The database server refused the request: the shop's database user lacks a permission "
     "(%1). The server's administrator must grant it."},
    {"25006", Status::Kind::Denied,
     "The database server accepts no changes at the moment (%1); it is read-only, a standby "
     "say. Nothing was saved."},
    {"53", Status::Kind::OutOfResources,
     "The database server has run out of disk space, memory or connections (%1); nothing was "
     "saved. The server's administrator must make room."},
};

const ServerError* serverError(const QByteArray& state)
{
    const auto found = std::find_if(
        std::begin(ServerErrors), std::end(ServerErrors), [&](const ServerError& error) {
            return qstrlen(error.state) == 2 ? state.startsWith(error.state) : state == error.state;
        });
    return found == std::end(ServerErrors) ? nullptr : found;
}

/** "1 second", "30 seconds", "2.5 seconds". */
QString duration(int ms)
{
    if (ms == 1000)
        return QStringLiteral("1 second");
    const QString number =
        ms % 1000 == 0 ? QString::number(ms / 1000) : QString::number(ms / 1000.0, 'f', 1);
    return number + QStringLiteral(" seconds");
}

/** Waits up to `timeoutMs` until the socket can be read, or written when `write`: 1 when it
 *  can (or a signal interrupted the wait), 0 when the time passed, -1 on an error. */
int awaitSocket(int socket, bool write, int timeoutMs)
{
#ifdef Q_OS_WIN
    WSAPOLLFD descriptor{static_cast<SOCKET>(socket),
                         static_cast<short>(POLLRDNORM | (write ? POLLWRNORM : 0)), 0};
    const int ready = WSAPoll(&descriptor, 1, timeoutMs);
    return ready == SOCKET_ERROR ? -1 : ready;
#else
    pollfd descriptor{socket, static_cast<short>(POLLIN | (write ? POLLOUT : 0)), 0};
    const int ready = ::poll(&descriptor, 1, timeoutMs);
    return ready < 0 && errno == EINTR ? 1 : ready;
#endif
}

/** Asks the server to cancel the session's request, from a thread of its own: reaching a server
 *  that does not answer may take long, and the wait for it is bounded by the caller. */
std::future<void> cancelInBackground(PGconn* connection)
{
    std::packaged_task<void()> task([cancel = PQgetCancel(connection)] {
        if (!cancel)
            return;
        char reason[256];
        PQcancel(cancel, reason, sizeof reason);
        PQfreeCancel(cancel);
    });
    std::future<void> sent = task.get_future();
    std::thread(std::move(task)).detach();
    return sent;
}

} // namespace

/** The values of one statement as libpq sends them: text, with the type the server should read
 *  each as. */
struct PostgresConnection::Parameters {
    Parameters(const ServerStatement& statement, std::span<const SqlValue> values)
    {
        for (std::size_t i = 0; i < values.size(); ++i) {
            const SqlValue& value = values[i];
            const Oid unknown =
                i < statement.needsType.size() && statement.needsType[i] ? TextType : InferredType;
            switch (value.type()) {
            case SqlValue::Type::Null:
                add(QByteArray(), unknown, true);
                break;
            case SqlValue::Type::Integer:
                add(QByteArray::number(static_cast<qlonglong>(value.integer())), Int8Type);
                break;
            case SqlValue::Type::Real:
                add(realText(value.real()), Float8Type);
                break;
            case SqlValue::Type::Text:
                add(value.text().toUtf8(), unknown);
                break;
            }
        }
    }

    static QByteArray realText(double v)
    {
        if (std::isnan(v))
            return "NaN";
        if (std::isinf(v))
            return v > 0 ? "Infinity" : "-Infinity";
        return QByteArray::number(v, 'g', 17);
    }

    void add(QByteArray text, Oid type, bool null = false)
    {
        texts.push_back(std::move(text));
        pointers.push_back(null ? nullptr : texts.back().constData());
        types.push_back(type);
        signature += type == Int8Type     ? 'i'
                     : type == Float8Type ? 'r'
                     : type == TextType   ? 't'
                                          : 'u';
    }

    int count() const { return static_cast<int>(types.size()); }
    const char* const* values() const { return pointers.data(); }

    std::deque<QByteArray> texts; // a deque keeps each value's address while more are added
    std::vector<const char*> pointers;
    std::vector<Oid> types;
    QByteArray signature;
};

Result<std::unique_ptr<PostgresConnection>>
PostgresConnection::open(const QString& settings, const QString& database, int answerLimitMs)
{
    char* parseError = nullptr;
    PQconninfoOption* parsed = PQconninfoParse(settings.toUtf8().constData(), &parseError);
    if (!parsed) {
        const QString reason = parseError ? withoutQuotedParts(parseError) : QString();
        PQfreemem(parseError);
        return Status::failed(QStringLiteral("The database server setting is not a connection "
                                             "URL or keyword list: %1")
                                  .arg(reason));
    }
    std::vector<QByteArray> keys, values;
    auto set = [&](const char* key, QByteArray value) {
        keys.emplace_back(key);
        values.push_back(std::move(value));
    };
    // Defaults come first: a setting given again by the user's settings replaces them.
    if (!qEnvironmentVariableIsSet("PGCONNECT_TIMEOUT"))
        set("connect_timeout", DefaultConnectTimeout);
    set("keepalives", "1");
    set("keepalives_idle", DefaultKeepaliveIdleS);
    set("keepalives_interval", DefaultKeepaliveIntervalS);
    set("keepalives_count", DefaultKeepaliveCount);
    set("tcp_user_timeout", QByteArray::number(answerLimitMs));
    set("fallback_application_name", "Quorvane");
    QByteArray options = qgetenv("PGOPTIONS");
    for (const PQconninfoOption* option = parsed; option->keyword; ++option) {
        if (!option->val || !*option->val)
            continue;
        if (qstrcmp(option->keyword, "options") == 0)
            options = option->val;
        else
            set(option->keyword, option->val);
    }
    PQconninfoFree(parsed);
    // Zero would be no timeout at all.
    const int lockTimeoutMs = std::clamp(answerLimitMs / 2, 1, LockTimeoutMs);
    set("options", "-c lock_timeout=" + QByteArray::number(lockTimeoutMs) + ' ' + options +
                       SessionRequirements);
    set("client_encoding", "UTF8");
    if (!database.isEmpty())
        set("dbname", database.toUtf8());

    std::vector<const char*> keyPointers, valuePointers;
    for (std::size_t i = 0; i < keys.size(); ++i) {
        keyPointers.push_back(keys[i].constData());
        valuePointers.push_back(values[i].constData());
    }
    keyPointers.push_back(nullptr);
    valuePointers.push_back(nullptr);
    PGconn* connection = PQconnectdbParams(keyPointers.data(), valuePointers.data(), 0);
    if (PQstatus(connection) != CONNECTION_OK) {
        const QString reason =
            ServerPassword::hiddenIn(settings, firstLine(PQerrorMessage(connection)));
        PQfinish(connection);
        return Status::failed(
            QStringLiteral("Cannot connect to the database server: %1").arg(reason));
    }
    // Server notices (an IF EXISTS that found nothing, say) are not the user's business.
    PQsetNoticeProcessor(
        connection, [](void*, const char*) {}, nullptr);
    // Requests are sent and awaited without blocking, so that every wait has its limit.
    if (PQsetnonblocking(connection, 1) != 0) {
        const QString reason = firstLine(PQerrorMessage(connection));
        PQfinish(connection);
        return Status::failed(
            QStringLiteral("Cannot connect to the database server: %1").arg(reason));
    }
    std::unique_ptr<PostgresConnection> opened(new PostgresConnection(connection, answerLimitMs));
    if (database.isEmpty()) {
        const std::lock_guard lock(reportedNamesLock);
        reportedNames.insert(settings, opened->name());
    }
    return opened;
}

QString PostgresConnection::name() const
{
    const auto text = [](const char* value) { return QString::fromUtf8(value ? value : ""); };
    return QStringLiteral("PostgreSQL %1@%2:%3/%4")
        .arg(text(PQuser(m_connection)), text(PQhost(m_connection)), text(PQport(m_connection)),
             text(PQdb(m_connection)));
}

QString PostgresConnection::reportedName(const QString& settings)
{
    const std::lock_guard lock(reportedNamesLock);
    return reportedNames.value(settings);
}

PostgresConnection::PostgresConnection(pg_conn* connection, int answerLimitMs)
    : m_connection(connection), m_answerLimitMs(answerLimitMs)
{
}

PostgresConnection::~PostgresConnection()
{
    PQfinish(m_connection);
}

std::uint64_t PostgresConnection::roundTrips()
{
    return sentRequests.load(std::memory_order_relaxed);
}

bool PostgresConnection::broken() const
{
    return m_unanswered || PQstatus(m_connection) != CONNECTION_OK;
}

bool PostgresConnection::lostWhileIdle()
{
    // The farewell and the end of the stream may take a read each; an idle session's socket
    // has nothing to read, so the common case costs one look at it.
    for (int read = 0; read < 4 && !broken(); ++read) {
        if (PQtransactionStatus(m_connection) == PQTRANS_ACTIVE ||
            awaitSocket(PQsocket(m_connection), false, 0) <= 0 || !PQconsumeInput(m_connection))
            break;
    }
    return broken();
}

bool PostgresConnection::conflicted() const
{
    return m_sqlState == "40001" || m_sqlState == "40P01";
}

std::unique_ptr<Cursor> PostgresConnection::prepare(const QString& sql,
                                                    std::span<const SqlValue> values, Status& error)
{
    settle();
    CachedStatement& entry = cached(sql);
    const ServerStatement& statement = entry.statement;
    if (values.size() != statement.needsType.size()) {
        error = Status::failed(QStringLiteral("The statement has %1 placeholders but %2 values.")
                                   .arg(statement.needsType.size())
                                   .arg(values.size()));
        return nullptr;
    }
    if (statement.changesSchema)
        forgetPrepared();
    const Parameters parameters(statement, values);
    QByteArray name;
    if (!preparedName(entry, parameters, name, error))
        return nullptr;
    // Cancelling inside a transaction block would abort the whole transaction.
    m_cancelSafe = PQtransactionStatus(m_connection) == PQTRANS_IDLE;
    if (!startRequest()) {
        error = statusOf(nullptr);
        return nullptr;
    }
    const int sent =
        name.isEmpty()
            ? PQsendQueryParams(m_connection, statement.text.constData(), parameters.count(),
                                parameters.types.data(), parameters.values(), nullptr, nullptr, 0)
            : PQsendQueryPrepared(m_connection, name.constData(), parameters.count(),
                                  parameters.values(), nullptr, nullptr, 0);
    if (!sent) {
        error = statusOf(nullptr);
        return nullptr;
    }
    PQsetSingleRowMode(m_connection);
    PgResult first = nextResult();
    if (!first) {
        error = statusOf(nullptr);
        return nullptr;
    }
    switch (PQresultStatus(first.get())) {
    case PGRES_SINGLE_TUPLE:
        return std::make_unique<PostgresCursor>(this, std::move(first), true);
    case PGRES_TUPLES_OK:
    case PGRES_COMMAND_OK:
        noteCompleted(first.get());
        finishResults();
        return std::make_unique<PostgresCursor>(this, std::move(first), false);
    default:
        error = statusOf(first.get());
        finishResults();
        return nullptr;
    }
}

PostgresConnection::CachedStatement& PostgresConnection::cached(const QString& sql)
{
    auto found = m_statements.find(sql);
    if (found != m_statements.end())
        return *found;
    // Statements built at run time would fill the cache; those used once are let go.
    if (m_statements.size() >= StatementCacheSize)
        m_statements.removeIf([](const auto& item) { return item.value().prepared.isEmpty(); });
    return *m_statements.insert(sql, CachedStatement{ServerStatement::fromPortable(sql), 0, {}});
}

// A statement is parsed again each time it is sent unnamed; the second use of the same text
// prepares it under a name, which costs one round trip once.
bool PostgresConnection::preparedName(CachedStatement& entry, const Parameters& parameters,
                                      QByteArray& name, Status& error)
{
    name = entry.prepared.value(parameters.signature);
    if (!name.isEmpty() || ++entry.uses < 2 || m_preparedCount >= m_preparedLimit ||
        entry.statement.changesSchema)
        return true;
    const QByteArray candidate = "q" + QByteArray::number(++m_preparedSerial);
    if (!startRequest() ||
        !PQsendPrepare(m_connection, candidate.constData(), entry.statement.text.constData(),
                       parameters.count(), parameters.types.data())) {
        error = statusOf(nullptr);
        return false;
    }
    const PgResult result = lastResult();
    if (PQresultStatus(result.get()) != PGRES_COMMAND_OK) {
        error = statusOf(result.get());
        return false;
    }
    entry.prepared.insert(parameters.signature, candidate);
    ++m_preparedCount;
    name = candidate;
    return true;
}

void PostgresConnection::forgetPrepared()
{
    if (m_preparedCount == 0)
        return;
    // In a failed transaction DEALLOCATE is refused; the statements then live until the
    // session ends, which is harmless.
    if (PQtransactionStatus(m_connection) != PQTRANS_INERROR && startRequest() &&
        PQsendQuery(m_connection, "DEALLOCATE ALL"))
        lastResult();
    for (CachedStatement& entry : m_statements)
        entry.prepared.clear();
    m_preparedCount = 0;
}

void PostgresConnection::settle()
{
    if (m_reading)
        m_reading->keepRest();
}

void PostgresConnection::abandon()
{
    m_reading = nullptr;
    QElapsedTimer reading;
    reading.start();
    while (reading.nsecsElapsed() < AbandonReadNs) {
        if (!nextResult())
            return;
    }
    if (m_cancelSafe) {
        if (PGcancel* cancel = PQgetCancel(m_connection)) {
            char reason[256];
            PQcancel(cancel, reason, sizeof reason);
            PQfreeCancel(cancel);
        }
    }
    finishResults();
}

void PostgresConnection::finishResults()
{
    while (nextResult()) {
    }
}

bool PostgresConnection::startRequest()
{
    if (m_unanswered)
        return false;
    m_cancelledAtLimit = false;
    countRoundTrip();
    return true;
}

bool PostgresConnection::awaitAnswer()
{
    if (m_unanswered)
        return false;
    const milliseconds limit(m_answerLimitMs);
    // Any sign of the server (the answer arriving, the request going out) starts the limit
    // anew; only after the cancel is the deadline fixed. A result already received costs no
    // look at the clock.
    std::optional<Clock::time_point> deadline;
    std::optional<std::future<void>> cancel;
    for (;;) {
        // A failed connection has its error ready: the next result reports it at once.
        if (PQstatus(m_connection) == CONNECTION_BAD)
            return true;
        const int unsent = PQflush(m_connection);
        if (unsent < 0)
            return true;
        if (unsent == 0 && !PQisBusy(m_connection)) {
            // The answer counts once the cancel has gone out as well: a cancel still on its way
            // would stop the session's next request instead.
            if (!cancel || cancel->wait_until(*deadline) == std::future_status::ready)
                return true;
            break;
        }
        if (!deadline)
            deadline = Clock::now() + limit;
        const auto left = std::chrono::ceil<milliseconds>(*deadline - Clock::now()).count();
        const int ready =
            left > 0 ? awaitSocket(PQsocket(m_connection), unsent > 0, static_cast<int>(left)) : 0;
        if (ready > 0) {
            if (!PQconsumeInput(m_connection))
                return true;
            if (!cancel)
                deadline = Clock::now() + limit;
        } else if (ready < 0 || cancel) {
            break;
        } else {
            m_cancelledAtLimit = true;
            cancel = cancelInBackground(m_connection);
            deadline = Clock::now() + std::min(limit, CancelGrace);
        }
    }
    m_unanswered = true;
    return false;
}

PgResult PostgresConnection::nextResult()
{
    return awaitAnswer() ? PgResult(PQgetResult(m_connection)) : nullptr;
}

PgResult PostgresConnection::lastResult()
{
    PgResult kept;
    while (PgResult result = nextResult()) {
        if (!kept || PQresultStatus(kept.get()) != PGRES_FATAL_ERROR)
            kept = std::move(result);
    }
    return kept;
}

void PostgresConnection::noteCompleted(pg_result* result)
{
    const char* command = PQcmdStatus(result);
    for (const char* verb : {"INSERT", "UPDATE", "DELETE", "MERGE"}) {
        if (qstrncmp(command, verb, qstrlen(verb)) == 0)
            m_changes = QByteArray(PQcmdTuples(result)).toInt();
    }
}

Status PostgresConnection::statusOf(const pg_result* result)
{
    const char* state = result ? PQresultErrorField(result, PG_DIAG_SQLSTATE) : nullptr;
    m_sqlState = state ? QByteArray(state) : QByteArray();
    const char* primary = result ? PQresultErrorField(result, PG_DIAG_MESSAGE_PRIMARY) : nullptr;
    if (m_unanswered)
        return Status::error(
            Status::Kind::Unreachable,
            QStringLiteral("The database server did not answer within %1, nor to the "
                           "request to cancel; the connection to it is given up and the next "
                           "action connects anew.")
                .arg(duration(m_answerLimitMs)));
    const QString message =
        primary ? QString::fromUtf8(primary).trimmed() : firstLine(PQerrorMessage(m_connection));
    if (broken() || isServerGone(m_sqlState))
        return Status::error(
            Status::Kind::Unreachable,
            QStringLiteral("The database server cannot be reached: %1").arg(message));
    if (m_sqlState == "57014" && m_cancelledAtLimit)
        return Status::error(Status::Kind::Cancelled,
                             QStringLiteral("The database server did not answer within %1, so "
                                            "the request was cancelled; please try again.")
                                 .arg(duration(m_answerLimitMs)));
    if (const ServerError* error = serverError(m_sqlState))
        return Status::error(error->kind, QString::fromLatin1(error->message).arg(message));
    return Status::failed(message);
}

Status PostgresConnection::run(const char* sql)
{
    settle();
    if (!startRequest() || !PQsendQuery(m_connection, sql))
        return statusOf(nullptr);
    const PgResult result = lastResult();
    if (PQresultStatus(result.get()) != PGRES_COMMAND_OK)
        return statusOf(result.get());
    // COMMIT of a transaction that already failed answers ROLLBACK rather than an error.
    if (qstrcmp(sql, "COMMIT") == 0 && qstrcmp(PQcmdStatus(result.get()), "ROLLBACK") == 0)
        return Status::failed(QStringLiteral("The transaction was rolled back after an earlier "
                                             "error; nothing of it was saved."));
    return Status::ok();
}

Status PostgresConnection::begin()
{
    return run("BEGIN");
}

Status PostgresConnection::commit()
{
    return run("COMMIT");
}

Status PostgresConnection::rollback()
{
    return run("ROLLBACK");
}
