#include "data/postgresconnection.h"

#include "data/postgrescursor.h"

#include <QElapsedTimer>
#include <QRegularExpression>
#include <atomic>
#include <cmath>
#include <deque>
#include <libpq-fe.h>
#include <vector>

namespace {

constexpr Oid Int8Type = 20, TextType = 25, Float8Type = 701, InferredType = 0;
constexpr char DefaultConnectTimeout[] = "15";

std::atomic<std::uint64_t> sentRequests{0};

void countRoundTrip()
{
    sentRequests.fetch_add(1, std::memory_order_relaxed);
}
// Like the file's busy timeout: a row locked elsewhere is waited for, but not forever.
constexpr char SessionDefaults[] = "-c lock_timeout=5000";
// Dates are ISO text and a backslash in a literal is an ordinary character, whatever the
// server's configuration says.
constexpr char SessionRequirements[] = " -c DateStyle=ISO -c standard_conforming_strings=on";
// An abandoned cursor reads on for this long before it asks the server to stop: a cancel costs
// the server a new process, as long as reading some tens of thousands of short rows, and short
// results are usually complete already.
constexpr qint64 AbandonReadNs = 20'000'000;
constexpr int StatementCacheSize = 1000;

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

bool isBusy(const QByteArray& state)
{
    return state == "40001" || state == "40P01" || state == "55P03" || state == "57014";
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

Result<std::unique_ptr<PostgresConnection>> PostgresConnection::open(const QString& settings,
                                                                     const QString& database)
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
    if (!qEnvironmentVariableIsSet("PGCONNECT_TIMEOUT"))
        set("connect_timeout", DefaultConnectTimeout);
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
    set("options", QByteArray(SessionDefaults) + ' ' + options + SessionRequirements);
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
        const QString reason = firstLine(PQerrorMessage(connection));
        PQfinish(connection);
        return Status::failed(
            QStringLiteral("Cannot connect to the database server: %1").arg(reason));
    }
    // Server notices (an IF EXISTS that found nothing, say) are not the user's business.
    PQsetNoticeProcessor(
        connection, [](void*, const char*) {}, nullptr);
    return std::unique_ptr<PostgresConnection>(new PostgresConnection(connection));
}

PostgresConnection::PostgresConnection(pg_conn* connection) : m_connection(connection) {}

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
    return PQstatus(m_connection) != CONNECTION_OK;
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
    countRoundTrip();
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
    PgResult first(PQgetResult(m_connection));
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
    countRoundTrip();
    const PgResult result(PQprepare(m_connection, candidate.constData(),
                                    entry.statement.text.constData(), parameters.count(),
                                    parameters.types.data()));
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
    if (PQtransactionStatus(m_connection) != PQTRANS_INERROR) {
        countRoundTrip();
        PgResult(PQexec(m_connection, "DEALLOCATE ALL"));
    }
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
        if (!PgResult(PQgetResult(m_connection)))
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
    while (PgResult(PQgetResult(m_connection))) {
    }
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
    const QString message =
        primary ? QString::fromUtf8(primary).trimmed() : firstLine(PQerrorMessage(m_connection));
    if (broken() || isServerGone(m_sqlState))
        return Status::failed(
            QStringLiteral("The database server cannot be reached: %1").arg(message));
    if (m_sqlState == "23505")
        return Status::error(Status::Kind::Duplicate, message);
    if (isBusy(m_sqlState))
        return Status::error(Status::Kind::Busy,
                             QStringLiteral("The database is busy on another workstation; "
                                            "please try again. (%1)")
                                 .arg(message));
    return Status::failed(message);
}

Status PostgresConnection::run(const char* sql)
{
    settle();
    countRoundTrip();
    const PgResult result(PQexec(m_connection, sql));
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
