// Measures the server engine's connection against the server in QUORVANE_TEST_PG (see
// scripts/pg-test-cluster.sh): connecting, streaming a large result row by row against fetching
// it in chunks through a server-side cursor, and per-row statements with and without
// statements kept prepared on the server.
#include "data/postgresconnection.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int Rows = 200000;
constexpr int Statements = 10000;

std::unique_ptr<PostgresConnection> connect(const QString& settings)
{
    auto opened = PostgresConnection::open(settings);
    if (!opened) {
        std::fprintf(stderr, "%s\n", qPrintable(opened.status().message()));
        std::exit(1);
    }
    return std::move(opened.value());
}

// Reads every row and every column, as a report does; returns the rows read.
int readAll(Cursor& cursor)
{
    int rows = 0;
    qint64 sink = 0;
    while (cursor.next()) {
        sink +=
            cursor.integer(0) + cursor.text(1).size() + cursor.integer(2) + cursor.text(3).size();
        ++rows;
    }
    return sink == 0 ? -1 : rows;
}

std::unique_ptr<Cursor> prepare(Connection& db, const QString& sql,
                                std::initializer_list<SqlValue> values = {})
{
    Status error;
    auto cursor = db.prepare(sql, {values.begin(), values.size()}, error);
    if (!cursor) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(sql), qPrintable(error.message()));
        std::exit(1);
    }
    return cursor;
}

double microsecondsEach(const QElapsedTimer& timer, int count)
{
    return static_cast<double>(timer.nsecsElapsed()) / 1e3 / count;
}

// Per-row inserts in one transaction, then keyed look-ups, as the shop generator and the windows
// run them; microseconds a statement.
std::pair<double, double> perRowStatements(const QString& settings, int preparedLimit)
{
    auto db = connect(settings);
    db->setPreparedLimit(preparedLimit);
    prepare(*db, QStringLiteral("CREATE TEMP TABLE Customer (CustID text UNIQUE, CustName text, "
                                "Balance bigint, PostDate text)"));
    QElapsedTimer timer;
    timer.start();
    db->begin();
    for (int i = 0; i < Statements; ++i)
        prepare(*db,
                QStringLiteral("INSERT INTO Customer (CustID, CustName, Balance, PostDate) "
                               "VALUES (?, ?, ?, ?)"),
                {QString::number(i), QStringLiteral("Customer %1").arg(i), i * 37,
                 QStringLiteral("2024-05-06")});
    db->commit();
    const double insert = microsecondsEach(timer, Statements);
    timer.start();
    for (int i = 0; i < Statements; ++i) {
        auto cursor = prepare(*db,
                              QStringLiteral("SELECT CustName, Balance, PostDate FROM Customer "
                                             "WHERE CustID = ? AND Balance >= ?"),
                              {QString::number(i), 0});
        cursor->next();
    }
    return {insert, microsecondsEach(timer, Statements)};
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QString settings = qEnvironmentVariable("QUORVANE_TEST_PG");
    if (settings.isEmpty()) {
        std::fprintf(stderr, "Set QUORVANE_TEST_PG (scripts/pg-test-cluster.sh start DIR).\n");
        return 1;
    }

    std::vector<double> opens;
    for (int i = 0; i < 20; ++i) {
        QElapsedTimer timer;
        timer.start();
        connect(settings);
        opens.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(opens.begin(), opens.end());
    std::printf("connect and close, median:    %.2f ms\n", opens[opens.size() / 2]);

    auto db = connect(settings);
    const QString big = QStringLiteral("SELECT g, 'Customer ' || g, g * 37, '2024-05-06' FROM "
                                       "generate_series(1, %1) g")
                            .arg(Rows);
    for (int round = 0; round < 3; ++round) {
        QElapsedTimer timer;
        timer.start();
        const int streamed = readAll(*prepare(*db, big));
        const double single = microsecondsEach(timer, streamed);
        timer.start();
        db->begin();
        prepare(*db, QStringLiteral("DECLARE rows NO SCROLL CURSOR FOR ") + big);
        int fetched = 0;
        for (int chunk = 1; chunk > 0; fetched += chunk)
            chunk = readAll(*prepare(*db, QStringLiteral("FETCH 1000 FROM rows")));
        db->commit();
        std::printf("%d rows: one at a time %.3f us/row, 1,000 a fetch %.3f us/row\n", streamed,
                    single, microsecondsEach(timer, fetched));
    }

    // A report left after its first row: the rest is cancelled, not read.
    qint64 firstRow = 0, leaving = 0;
    for (int i = 0; i < 10; ++i) {
        QElapsedTimer timer;
        timer.start();
        auto cursor = prepare(*db, big);
        cursor->next();
        firstRow += timer.nsecsElapsed();
        timer.start();
        cursor.reset();
        prepare(*db, QStringLiteral("SELECT 1"))->next();
        leaving += timer.nsecsElapsed();
    }
    std::printf("left after one row: first row %.2f ms, leaving and the next statement %.2f ms\n",
                static_cast<double>(firstRow) / 1e7, static_cast<double>(leaving) / 1e7);

    // The machine's load varies; the best of alternating rounds compares like with like.
    std::pair<double, double> parsed{1e9, 1e9}, kept{1e9, 1e9};
    for (int round = 0; round < 3; ++round) {
        for (auto [limit, best] : {std::pair{0, &parsed}, std::pair{200, &kept}}) {
            const auto [insert, select] = perRowStatements(settings, limit);
            *best = {std::min(best->first, insert), std::min(best->second, select)};
        }
    }
    std::printf("per statement, best of 3: parsed each time: insert %.1f us, keyed select %.1f us; "
                "kept prepared: insert %.1f us, keyed select %.1f us\n",
                parsed.first, parsed.second, kept.first, kept.second);
    return 0;
}
