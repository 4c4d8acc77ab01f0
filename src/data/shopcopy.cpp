#include "data/shopcopy.h"

#include "data/database.h"
#include "data/schema.h"

#include <QStringList>
#include <QTemporaryDir>
#include <algorithm>
#include <memory>
#include <sqlcipher/sqlite3.h>
#include <vector>

namespace {

// Well under the server's limit of bound values in one statement.
constexpr qsizetype ValuesPerStatement = 30000;
constexpr qsizetype RowsPerStatement = 500;
// How long the copy of an older file waits for a workstation that is writing to it.
constexpr int LockWaitMs = 5000, LockRetryMs = 50;

enum class Kind { Integer, Real, Text };

struct Column {
    QString name;
    Kind kind = Kind::Text;
};

// The table's columns as the server keeps them, without the rowid it numbers itself.
Result<std::vector<Column>> serverColumns(Database& server, const QString& table)
{
    Query columns = server.query(
        QStringLiteral("SELECT column_name, data_type FROM information_schema.columns WHERE "
                       "table_schema = current_schema() AND table_name = ? AND "
                       "column_name <> 'rowid' ORDER BY ordinal_position"),
        table.toLower());
    std::vector<Column> found;
    while (columns.next()) {
        const QString type = columns.text(1);
        const Kind kind = type == QLatin1String("bigint")             ? Kind::Integer
                          : type == QLatin1String("double precision") ? Kind::Real
                                                                      : Kind::Text;
        found.push_back({columns.text(0), kind});
    }
    if (!columns.status())
        return columns.status();
    if (found.empty())
        return Status::failed(
            QStringLiteral("The server's database has no table %1 to copy into.").arg(table));
    return found;
}

SqlValue cell(const Query& row, int column, Kind kind)
{
    if (column < 0 || row.isNull(column))
        return {};
    switch (kind) {
    case Kind::Integer:
        return row.integer(column);
    case Kind::Real:
        return row.real(column);
    case Kind::Text:
        break;
    }
    return row.text(column);
}

QString insertStatement(const QString& table, const std::vector<Column>& columns, qsizetype rows)
{
    QStringList names;
    for (const Column& column : columns)
        names << column.name;
    const QString oneRow = QLatin1Char('(') +
                           QStringList(columns.size(), QStringLiteral("?")).join(QLatin1Char(',')) +
                           QLatin1Char(')');
    return QStringLiteral("INSERT INTO %1 (%2) VALUES %3")
        .arg(table, names.join(QLatin1Char(',')), QStringList(rows, oneRow).join(QLatin1Char(',')));
}

Status flush(Database& server, const QString& table, const std::vector<Column>& columns,
             std::vector<SqlValue>& values)
{
    if (values.empty())
        return Status::ok();
    const auto rows = static_cast<qsizetype>(values.size() / columns.size());
    Status status = server.prepare(insertStatement(table, columns, rows), values).exec();
    values.clear();
    return status;
}

Result<qint64> copyTable(Database& file, Database& server, const QString& table)
{
    const auto columns = serverColumns(server, table);
    if (!columns)
        return columns.status();
    if (Status cleared = server.exec(QStringLiteral("DELETE FROM %1").arg(table)); !cleared)
        return cleared;
    Query rows = file.query(QStringLiteral("SELECT * FROM %1 ORDER BY rowid").arg(table));
    std::vector<int> positions;
    for (const Column& column : *columns)
        positions.push_back(rows.columnIndex(column.name));
    const qsizetype batch =
        std::clamp<qsizetype>(ValuesPerStatement / qsizetype(columns->size()), 1, RowsPerStatement);
    std::vector<SqlValue> values;
    qint64 copied = 0;
    while (rows.next()) {
        for (std::size_t i = 0; i < columns->size(); ++i)
            values.push_back(cell(rows, positions[i], (*columns)[i].kind));
        ++copied;
        if (copied % batch == 0) {
            if (Status status = flush(server, table, *columns, values); !status)
                return status;
        }
    }
    if (!rows.status())
        return rows.status();
    if (Status status = flush(server, table, *columns, values); !status)
        return status;
    return copied;
}

/** A folder for the up-to-date copy of an older file; the copy's connection is closed before the
 *  folder goes. */
struct Scratch {
    Scratch() = default;
    Scratch(const Scratch&) = delete;
    Scratch& operator=(const Scratch&) = delete;
    ~Scratch()
    {
        if (used)
            Database::closeKeptConnections();
    }
    QTemporaryDir dir;
    bool used = false;
};

/** Copies every page of `source` into the new, empty file at `path`, in one step under the
 *  source's read lock, so that the copy is one state of the shop. */
Status copyFile(Database& source, const QString& path)
{
    if (Status created = Database::createFile(path); !created)
        return created;
    Database target(path);
    if (!target.isOpen())
        return target.openStatus();
    sqlite3_backup* backup = sqlite3_backup_init(target.handle(), "main", source.handle(), "main");
    if (!backup)
        return Status::failed(QString::fromUtf8(sqlite3_errmsg(target.handle())));
    int rc = sqlite3_backup_step(backup, -1);
    for (int waited = 0; (rc == SQLITE_BUSY || rc == SQLITE_LOCKED) && waited < LockWaitMs;
         waited += LockRetryMs) {
        sqlite3_sleep(LockRetryMs);
        rc = sqlite3_backup_step(backup, -1);
    }
    const int finished = sqlite3_backup_finish(backup);
    if (rc == SQLITE_BUSY || rc == SQLITE_LOCKED)
        return Status::error(Status::Kind::Busy, Database::inUseMessage());
    if (rc != SQLITE_DONE || finished != SQLITE_OK)
        return Status::failed(
            QStringLiteral("The shop's file could not be copied to bring it up "
                           "to date: %1")
                .arg(QString::fromUtf8(sqlite3_errstr(rc != SQLITE_DONE ? rc : finished))));
    return Status::ok();
}

/** The path of the file to copy from: the shop's own when it is up to date, else a copy of it
 *  in `scratch` brought up to date, so that the shop's file is only read. */
Result<QString> upToDate(Database& file, Scratch& scratch)
{
    if (Schema::versionOf(file) >= Schema::currentVersion())
        return file.path();
    if (!scratch.dir.isValid())
        return Status::failed(
            QStringLiteral("No temporary folder for a copy of the shop's file: %1")
                .arg(scratch.dir.errorString()));
    scratch.used = true;
    const QString path = scratch.dir.filePath(QString::fromLatin1(Database::FileName));
    if (Status copied = copyFile(file, path); !copied)
        return copied;
    Database copy(path);
    if (Status upgraded = Schema::upgrade(copy); !upgraded)
        return upgraded;
    return path;
}

} // namespace

namespace ShopCopy {

Result<QList<CopiedTable>> toServer(const QString& path, const QString& address,
                                    const std::optional<ShopKey>& key)
{
    Scratch scratch;
    const std::unique_ptr<Database> opened =
        key ? std::make_unique<Database>(path, *key) : std::make_unique<Database>(path);
    Database& shop = *opened;
    if (!shop.isOpen())
        return shop.openStatus();
    if (Schema::versionOf(shop) == 0)
        return Status::failed(QStringLiteral("The file %1 is not a shop's database.").arg(path));
    const auto source = upToDate(shop, scratch);
    if (!source)
        return source.status();
    // An up-to-date copy is opened afresh; the shop's own file stays open as it was keyed.
    const std::unique_ptr<Database> upgraded =
        *source == shop.path() ? nullptr : std::make_unique<Database>(*source);
    Database& file = upgraded ? *upgraded : shop;
    if (!file.isOpen())
        return file.openStatus();
    const auto tables = Schema::tableNames(file);
    if (!tables)
        return tables.status();

    Database server = Database::atServer(address);
    if (!server.isOpen())
        return server.openStatus();
    if (Status empty = Schema::requireEmpty(server); !empty)
        return empty;

    return server.inTransaction([&](Database& scope) -> Result<QList<CopiedTable>> {
        if (Status created = Schema::upgrade(scope); !created)
            return created;
        QList<CopiedTable> copied;
        for (const QString& table : *tables) {
            const auto rows = copyTable(file, scope, table);
            if (!rows)
                return rows.status();
            const auto expected = Schema::rowCount(file, table);
            const auto arrived = Schema::rowCount(scope, table);
            if (!expected)
                return expected.status();
            if (!arrived)
                return arrived.status();
            if (*expected != *arrived || *arrived != *rows)
                return Status::failed(
                    QStringLiteral("Table %1 has %2 rows in the file but %3 on the server; "
                                   "nothing was copied.")
                        .arg(table)
                        .arg(*expected)
                        .arg(*arrived));
            copied.append({table, *rows});
        }
        return copied;
    });
}

} // namespace ShopCopy
