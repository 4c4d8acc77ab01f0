#pragma once

#include "data/currency.h"
#include "data/status.h"

#include <QDate>
#include <QString>
#include <concepts>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <type_traits>

struct sqlite3;
struct sqlite3_stmt;

class Database;

/** A SQL value bound to a statement parameter: null, whole number, real, text, date, money or
 *  yes/no. Dates travel as ISO text, money as ten-thousandths, yes/no as 0 or 1. */
class SqlValue {
public:
    enum class Type { Null, Integer, Real, Text };

    SqlValue() = default;
    SqlValue(std::nullopt_t) {}
    template <std::integral T>
    requires(!std::same_as<T, bool>) SqlValue(T v)
        : m_type(Type::Integer), m_integer(static_cast<std::int64_t>(v))
    {
    }
    SqlValue(bool v) : m_type(Type::Integer), m_integer(v ? 1 : 0) {}
    SqlValue(double v) : m_type(Type::Real), m_real(v) {}
    SqlValue(const QString& v) : m_type(Type::Text), m_text(v) {}
    SqlValue(const char* v) : m_type(Type::Text), m_text(QString::fromUtf8(v)) {}
    SqlValue(Currency v) : m_type(Type::Integer), m_integer(v.units()) {}
    SqlValue(const QDate& v);
    template <typename T> SqlValue(const std::optional<T>& v)
    {
        if (v)
            *this = SqlValue(*v);
    }

    Type type() const { return m_type; }
    std::int64_t integer() const { return m_integer; }
    double real() const { return m_real; }
    const QString& text() const { return m_text; }

private:
    Type m_type = Type::Null;
    std::int64_t m_integer = 0;
    double m_real = 0;
    QString m_text;
};

/** A prepared statement with its bound values; step through result rows with next(). */
class Query {
public:
    Query(Query&& other) noexcept;
    Query& operator=(Query&& other) noexcept;
    Query(const Query&) = delete;
    Query& operator=(const Query&) = delete;
    ~Query();

    /** Moves to the next row; false at the end or on an error (see status()). */
    bool next();
    /** Runs a statement that returns no rows. */
    Status exec();
    const Status& status() const { return m_status; }

    int columnCount() const;
    QString columnName(int column) const;
    /** Position of a column by name, case ignored; -1 when absent. */
    int columnIndex(const QString& name) const;

    bool isNull(int column) const;
    QString text(int column) const;
    std::int64_t integer(int column) const;
    double real(int column) const;
    bool boolean(int column) const { return integer(column) != 0; }
    QDate date(int column) const;
    Currency money(int column) const { return Currency::fromUnits(integer(column)); }

    bool isNull(const QString& name) const { return isNull(columnIndex(name)); }
    QString text(const QString& name) const { return text(columnIndex(name)); }
    std::int64_t integer(const QString& name) const { return integer(columnIndex(name)); }
    double real(const QString& name) const { return real(columnIndex(name)); }
    bool boolean(const QString& name) const { return boolean(columnIndex(name)); }
    QDate date(const QString& name) const { return date(columnIndex(name)); }
    Currency money(const QString& name) const { return money(columnIndex(name)); }

private:
    friend class Database;
    Query(Database* db, sqlite3_stmt* statement, Status status);
    bool validColumn(int column) const;

    Database* m_db = nullptr;
    sqlite3_stmt* m_statement = nullptr;
    Status m_status;
    bool m_done = false;
};

/**
 * The program's database, opened for the length of one handler. Every handler opens its own
 * scope; the keyed connection behind it is kept for the process so that only the first open
 * pays the key derivation. Between scopes no transaction stays open, so other processes'
 * committed changes are seen at once.
 *
 * While another workstation holds the file's lock, a statement waits for it: a read a few
 * seconds, a write as long as a compaction of a large shop may take. A wait that lasts is
 * announced through the lock-wait notice, so that the window can tell the user.
 */
class Database {
public:
    static constexpr const char* FileName = "helpdesk-e.mdb";

    /** Opens the database file at `path`; it must exist. */
    explicit Database(const QString& path);
    /** Opens the program folder's database file. */
    Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;
    ~Database();

    /** Creates a new, empty, keyed database file; refuses to overwrite one. */
    static Status createFile(const QString& path);
    /** Closes the kept connections, before the file is replaced or removed. */
    static void closeKeptConnections();

    /** What the user is told when another workstation holds the database too long. */
    static const QString& inUseMessage();

    /** Called with true when a statement has been waiting a moment for another workstation's
     *  lock, and with false when that wait is over. */
    using LockWaitNotice = std::function<void(bool waiting)>;
    /** Installs the notice and gives back the one it replaces. */
    static LockWaitNotice setLockWaitNotice(LockWaitNotice notice);
    /** How long a read and a write wait for another workstation's lock before they give up. */
    struct LockPatience {
        int readMs = 0;
        int writeMs = 0;
    };
    /** Sets the patience and gives back the one it replaces. */
    static LockPatience setLockPatience(LockPatience patience);

    /** Runs `work(db)` on a scope of the program's database and gives back what it returns (a
     *  Status or a Result), or why the database could not be opened. */
    template <typename Work> static auto read(Work&& work);
    /** Runs `work(db)` as one write transaction on the program's database, committed only when
     *  it succeeded; what it returns, or why the transaction could not begin or commit. */
    template <typename Work> static auto write(Work&& work);
    /** As write, on this scope. */
    template <typename Work> auto inTransaction(Work&& work);
    /** Runs a write that must change a row; NotFound with `missing` when it changed none. */
    template <typename... Args>
    Status changeRow(const QString& missing, const QString& sql, const Args&... args);

    bool isOpen() const { return m_connection != nullptr; }
    const Status& openStatus() const { return m_openStatus; }

    template <typename... Args> Query query(const QString& sql, const Args&... args)
    {
        return prepare(sql, {SqlValue(args)...});
    }
    template <typename... Args> Status exec(const QString& sql, const Args&... args)
    {
        return prepare(sql, {SqlValue(args)...}).exec();
    }
    Query prepare(const QString& sql, std::initializer_list<SqlValue> values)
    {
        return prepare(sql, std::span<const SqlValue>(values.begin(), values.size()));
    }
    /** As prepare, with as many values as a statement built at run time needs. */
    Query prepare(const QString& sql, std::span<const SqlValue> values);

    /** Number of rows changed by the last write. */
    int changes() const;
    std::int64_t lastInsertRowId() const;
    sqlite3* handle() const;
    QString path() const { return m_path; }

    /** Whether the file at the path is no longer the one this scope has open (another
     *  workstation compacted the database since the scope began). */
    bool fileReplaced() const;

    /** Keeps every other connection out of the file until this scope's connection is closed. */
    Status lockExclusively();

    /** Status of the connection's last error, in words. */
    Status lastError(const QString& context = {}) const;

    /** The process-wide keyed connection behind the scopes; internal to the data layer. */
    struct Connection;

private:
    friend class Transaction;
    /** Takes the kept connection to the file now at the path, or opens one. */
    void connect();
    /** Lets the connection's statements wait as long as a write may. */
    void setWriting(bool writing);

    QString m_path;
    std::shared_ptr<Connection> m_connection;
    Status m_openStatus;
};

/** A write transaction that rolls back unless committed. It takes the write lock at once, so
 *  that reading a counter and storing the next number cannot interleave with another writer;
 *  when the file has been compacted elsewhere while it waited, it goes on in the new file. */
class Transaction {
public:
    explicit Transaction(Database& db);
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    ~Transaction();

    bool isActive() const { return m_active; }
    const Status& beginStatus() const { return m_beginStatus; }
    Status commit();

private:
    Database& m_db;
    bool m_active = false;
    Status m_beginStatus;
};

template <typename Work> auto Database::read(Work&& work)
{
    using Out = std::invoke_result_t<Work&, Database&>;
    Database db;
    if (!db.isOpen())
        return Out(db.openStatus());
    return work(db);
}

template <typename Work> auto Database::write(Work&& work)
{
    using Out = std::invoke_result_t<Work&, Database&>;
    Database db;
    if (!db.isOpen())
        return Out(db.openStatus());
    return db.inTransaction(work);
}

template <typename Work> auto Database::inTransaction(Work&& work)
{
    using Out = std::invoke_result_t<Work&, Database&>;
    Transaction transaction(*this);
    if (!transaction.isActive())
        return Out(transaction.beginStatus());
    Out outcome = work(*this);
    if (!statusOf(outcome))
        return outcome;
    if (Status committed = transaction.commit(); !committed)
        return Out(committed);
    return outcome;
}

template <typename... Args>
Status Database::changeRow(const QString& missing, const QString& sql, const Args&... args)
{
    Status status = exec(sql, args...);
    if (status && changes() == 0)
        return Status::error(Status::Kind::NotFound, missing);
    return status;
}

/** Escapes a user's search text for `LIKE ? ESCAPE '\'` so that it matches literally anywhere. */
QString likeContains(const QString& text);
