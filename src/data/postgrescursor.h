#pragma once

#include "data/connection.h"

#include <deque>
#include <memory>
#include <vector>

struct pg_result;
class PostgresConnection;

struct PgResultFree {
    void operator()(pg_result* result) const;
};
/** A libpq result, freed when it goes. */
using PgResult = std::unique_ptr<pg_result, PgResultFree>;

/** The rows of one statement on the server, received one at a time. */
class PostgresCursor final : public Cursor {
public:
    /** `first` is the statement's first result; `streaming` when more rows follow it. */
    PostgresCursor(PostgresConnection* connection, PgResult first, bool streaming);
    PostgresCursor(const PostgresCursor&) = delete;
    PostgresCursor& operator=(const PostgresCursor&) = delete;
    ~PostgresCursor() override;

    bool next() override;
    /** Reads every remaining row into memory, freeing the session for another statement. */
    void keepRest();

    const Status& status() const override { return m_status; }
    int columnCount() const override { return static_cast<int>(m_names.size()); }
    QString columnName(int column) const override;
    bool isNull(int column) const override;
    QString text(int column) const override;
    std::int64_t integer(int column) const override;
    double real(int column) const override;

private:
    bool valid(int column) const { return column >= 0 && column < columnCount(); }
    PgResult fetch();

    PostgresConnection* m_connection;
    PgResult m_row;
    bool m_pending = false;
    bool m_reading;
    std::deque<PgResult> m_buffered;
    std::vector<QString> m_names;
    std::vector<bool> m_truths;
    Status m_status;
};
