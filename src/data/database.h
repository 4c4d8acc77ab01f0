#pragma once

#include "data/currency.h"
#include "data/shopkey.h"
#include "data/sqlvalue.h"
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

class Connection;
class Cursor;
class Database;

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
    Query(std::shared_ptr<Connection> connection, std::unique_ptr<Cursor> cursor, Status status);

    // The connection outlives the cursor that reads from it.
    std::shared_ptr<Connection> m_connection;
    std::unique_ptr<Cursor> m_cursor;
    Status m_status;
};

/**
 * The program's database, opened for the length of one handler. Every handler opens its own
 * scope; the connection behind it is kept for the process, so that only the first open pays
 * the key derivation or the server's sign-in. Between scopes no transaction stays open, so
 * other workstations' committed changes are seen at once.
 *
 * The shop's data lives in the encrypted file in the program folder, or on the database server
 * that the settings name; stores write the same statements for both.
 *
 * While another workstation holds the file's lock, a statement waits for it: a read a few
 * seconds, a write as long as a compaction of a large shop may take. A wait that lasts is
 * announced through the lock-wait notice, so that the window can tell the user.
 */
class Database {
public:
    static constexpr const char* FileName = "helpdesk-e.mdb";

    /** Opens the database file at `path`; it must exist. It opens with the key file beside it,
     *  else with the program folder's, else with the password of older releases. */
    explicit Database(const QString& path);
    /** Opens the database file at `path` with `key` alone (a key file the user chose). */
    Database(const QString& path, const ShopKey& key);
    /** Opens the program's database: the server named in the settings, else the program
     *  folder's file. */
    Database();
    /** Opens the database on the server at `address` (a libpq URL or keyword string). */
    static Database atServer(const QString& address);
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;
    ~Database();

    /** Creates a new, empty, owner-only database file, keyed as Database(path) opens it;
     *  refuses to overwrite one. */
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
    /** As write, on this scope. A transaction that the server could not fit with another
     *  workstation's runs again, a few times, before it is reported as busy. */
    template <typename Work> auto inTransaction(Work&& work);
    /** Runs a write that must change a row; NotFound with `missing` when it changed none. */
    template <typename... Args>
    Status changeRow(const QString& missing, const QString& sql, const Args&... args);

    bool isOpen() const { return m_connection != nullptr; }
    const Status& openStatus() const { return m_openStatus; }
    /** Whether this scope works on a database server rather than on a file. */
    bool onServer() const;
    /** SQL for the whole days from the ISO date column `earlier` to the one `later`, in the
     *  words of this scope's engine. Both are column names written by the caller, never input. */
    QString daysBetween(const QString& later, const QString& earlier) const;

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
    /** The file engine's handle, for the file's own upkeep; null on a server. */
    sqlite3* handle() const;
    /** The key the file opened with; nothing on a server or when it did not open. */
    std::optional<ShopKey> fileKey() const;
    /** The file's path, or the server as its session reported it (never the settings' text). */
    QString path() const { return m_path; }

    /** Whether the file at the path is no longer the one this scope has open (another
     *  workstation compacted the database since the scope began); never on a server. */
    bool fileReplaced() const;

    /** Keeps every other connection out of the file until this scope's connection is closed. */
    Status lockExclusively();

private:
    friend class Transaction;
    struct ServerAddress {
        QString address;
    };
    explicit Database(ServerAddress server);
    /** Takes the kept connection to the database now at the path, or opens one. */
    void connect();
    /** Whether `failure` was a clash with another workstation's transaction that running the
     *  work again may get past. */
    bool mayRetry(const Status& failure) const;
    static constexpr int Attempts = 4;

    QString m_path;
    /** The only key a file is opened with, when one was given. */
    std::optional<ShopKey> m_key;
    /** The server's connection settings; empty for a file. */
    QString m_server;
    /** How long a request waits for the server's answer: the settings' for the program's own
     *  server, the default for one named by its address. */
    int m_answerLimitMs;
    std::shared_ptr<Connection> m_connection;
    Status m_openStatus;
};

/** A write transaction that rolls back unless committed; begun inside another, it is part of
 *  that one. It takes the write lock at once, so
 *  that reading a counter and storing the next number cannot interleave with another writer;
 *  when the file has been compacted elsewhere while it waited, it goes on in the new file. */
class Transaction {
public:
    explicit Transaction(Database& db);
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    ~Transaction();

    bool isActive() const { return m_active; }
    bool isJoined() const { return m_joined; }
    const Status& beginStatus() const { return m_beginStatus; }
    Status commit();

private:
    Database& m_db;
    bool m_active = false;
    /** Whether this transaction runs inside another on the same connection. */
    bool m_joined = false;
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
    for (int attempt = 1;; ++attempt) {
        const bool lastAttempt = attempt == Attempts;
        Transaction transaction(*this);
        if (!transaction.isActive()) {
            if (!lastAttempt && mayRetry(transaction.beginStatus()))
                continue;
            return Out(transaction.beginStatus());
        }
        Out outcome = work(*this);
        Status status = statusOf(outcome);
        if (status)
            status = transaction.commit();
        if (status)
            return outcome;
        // Only the outermost transaction can run its work again.
        if (!lastAttempt && !transaction.isJoined() && mayRetry(status))
            continue;
        return Out(status);
    }
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
