#pragma once

#include "data/sqlvalue.h"
#include "data/status.h"

#include <QString>
#include <cstdint>
#include <memory>
#include <span>

/** The engines a shop's database can live on. */
enum class Engine { EmbeddedFile, Server };

/** The rows of one statement, read one at a time. A cursor goes before its connection, and
 *  only one cursor of a connection streams at a time. */
class Cursor {
public:
    virtual ~Cursor() = default;
    /** Moves to the next row; false at the end or on an error (see status()). */
    virtual bool next() = 0;
    virtual const Status& status() const = 0;
    virtual int columnCount() const = 0;
    virtual QString columnName(int column) const = 0;
    virtual bool isNull(int column) const = 0;
    virtual QString text(int column) const = 0;
    virtual std::int64_t integer(int column) const = 0;
    virtual double real(int column) const = 0;
};

/** One open connection to a shop's database: the seam between the data layer's scopes and the
 *  engine underneath; nothing above the data layer sees it. */
class Connection {
public:
    virtual ~Connection() = default;
    virtual Engine engine() const = 0;
    /** Prepares `sql` (placeholders written `?`, in order) with its values, and may already run
     *  it. On failure the cursor is null and `error` says why. Rows are streamed, never all
     *  held at once. */
    virtual std::unique_ptr<Cursor> prepare(const QString& sql, std::span<const SqlValue> values,
                                            Status& error) = 0;
    /** Rows changed by the last INSERT/UPDATE/DELETE. */
    virtual int changes() const = 0;
    /** Starts a write transaction (the embedded file takes its write lock at once). */
    virtual Status begin() = 0;
    virtual Status commit() = 0;
    virtual Status rollback() = 0;
    /** Whether the connection is lost and the next scope needs a new one. */
    virtual bool broken() const { return false; }
    /** As broken, for a kept connection at the start of a scope: first takes in, without a
     *  request, what the other end sent while the connection was idle. */
    virtual bool lostWhileIdle() { return broken(); }
    /** Whether the last error was a clash with another transaction (a serialization failure or
     *  a deadlock) that running the transaction again may get past. */
    virtual bool conflicted() const { return false; }

    /** How many transactions are open on the connection: the outermost and those that joined
     *  it. Kept by the data layer's transactions. */
    int openTransactions = 0;
};
