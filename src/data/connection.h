#pragma once

// Proposed seam between the data layer's scopes (Database, Query, Transaction) and the engine
// underneath. The embedded engine (SQLCipher) and the server engine (PostgreSQL via libpq) each
// implement it; nothing above the data layer sees it.

#include "data/database.h" // SqlValue, Status, Result

#include <QString>
#include <cstdint>
#include <memory>
#include <span>

enum class Engine { EmbeddedFile, Server };

/** The rows of one statement, read one at a time. */
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

/** One open connection to a shop's database. */
class Connection {
public:
    virtual ~Connection() = default;
    virtual Engine engine() const = 0;
    /** Prepares `sql` (placeholders written `?`, in order) with its values. On failure the
     *  cursor is null and `error` says why. Rows are streamed, never all held at once. */
    virtual std::unique_ptr<Cursor> prepare(const QString& sql, std::span<const SqlValue> values,
                                            Status& error) = 0;
    /** Rows changed by the last INSERT/UPDATE/DELETE. */
    virtual int changes() const = 0;
    /** Starts a write transaction (the embedded file takes its write lock at once). */
    virtual Status begin() = 0;
    virtual Status commit() = 0;
    virtual Status rollback() = 0;
};
