#include "data/database.h"

#include "data/connection.h"
#include "data/fileconnection.h"
#include "data/postgresconnection.h"
#include "data/privatefile.h"
#include "data/programfolder.h"
#include "data/serversettings.h"

#include <QFileInfo>
#include <map>

namespace {

/** The connections behind the scopes, one per file path or server, kept for the process. */
std::map<QString, std::shared_ptr<Connection>>& keptConnections()
{
    static std::map<QString, std::shared_ptr<Connection>> connections;
    return connections;
}

FileConnection* fileOf(const std::shared_ptr<Connection>& connection)
{
    return connection && connection->engine() == Engine::EmbeddedFile
               ? static_cast<FileConnection*>(connection.get())
               : nullptr;
}

const QString ServerPrefix = QStringLiteral("server:");

} // namespace

SqlValue::SqlValue(const QDate& v)
{
    if (v.isValid()) {
        m_type = Type::Text;
        m_text = v.toString(Qt::ISODate);
    }
}

Database::Database() : m_answerLimitMs(ServerSettings::answerLimitMs())
{
    const QString server = ServerSettings::address();
    if (server.isEmpty()) {
        m_path =
            QFileInfo(ProgramFolder::filePath(QString::fromLatin1(FileName))).absoluteFilePath();
    } else {
        m_server = server;
    }
    connect();
}

Database::Database(ServerAddress server)
    : m_server(server.address), m_answerLimitMs(PostgresConnection::DefaultAnswerLimitMs)
{
    connect();
}

Database Database::atServer(const QString& address)
{
    return Database(ServerAddress{address});
}

Database::Database(const QString& path)
    : m_path(QFileInfo(path).absoluteFilePath()),
      m_answerLimitMs(PostgresConnection::DefaultAnswerLimitMs)
{
    connect();
}

Database::Database(const QString& path, const ShopKey& key)
    : m_path(QFileInfo(path).absoluteFilePath()), m_key(key),
      m_answerLimitMs(PostgresConnection::DefaultAnswerLimitMs)
{
    connect();
}

Database::~Database() = default;

void Database::connect()
{
    auto& kept = keptConnections();
    m_connection.reset();
    m_openStatus = Status::ok();
    if (!m_server.isEmpty()) {
        // Named by what the server's session reported, once one has opened.
        m_path = ServerSettings::describe(m_server);
        // A session opened with another answer limit has a lock timeout to match that one.
        const QString key =
            ServerPrefix + QString::number(m_answerLimitMs) + QLatin1Char(' ') + m_server;
        auto found = kept.find(key);
        // A session the server ended while it was idle (a restart, say) is replaced before any
        // request fails on it; a request that failed is never sent again.
        if (found != kept.end() && !found->second->lostWhileIdle()) {
            m_connection = found->second;
            return;
        }
        kept.erase(key);
        auto opened = PostgresConnection::open(m_server, {}, m_answerLimitMs);
        if (!opened) {
            m_openStatus = opened.status();
            return;
        }
        m_connection = std::move(opened.value());
        kept[key] = m_connection;
        m_path = ServerSettings::describe(m_server);
        return;
    }
    auto found = kept.find(m_path);
    const auto identity = FileIdentity::of(m_path);
    if (!identity) {
        kept.erase(m_path);
        m_openStatus = Status::error(Status::Kind::NotFound,
                                     QStringLiteral("The database %1 does not exist.").arg(m_path));
        return;
    }
    if (found != kept.end() && fileOf(found->second)->identity() == *identity &&
        (!m_key || fileOf(found->second)->key() == *m_key)) {
        m_connection = found->second;
        return;
    }
    kept.erase(m_path);
    auto opened =
        FileConnection::open(m_path, false, m_key ? QList{*m_key} : ShopKey::candidatesFor(m_path));
    if (!opened) {
        m_openStatus = opened.status();
        return;
    }
    opened.value()->setIdentity(*identity);
    m_connection = opened.value();
    // A connection opened while the file was locked has not applied its settings; the next
    // scope opens a settled one.
    if (opened.value()->settled())
        kept[m_path] = m_connection;
}

Status Database::createFile(const QString& path)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    if (QFileInfo::exists(absolute))
        return Status::error(
            Status::Kind::Duplicate,
            QStringLiteral("%1 already exists; it is left as it is.").arg(absolute));
    if (const std::error_code error = PrivateFile::createNew(absolute); error)
        return Status::failed(QStringLiteral("The database %1 could not be created: %2")
                                  .arg(absolute, QString::fromLocal8Bit(error.message().c_str())));
    auto opened = FileConnection::open(absolute, true, ShopKey::candidatesFor(absolute));
    if (!opened) {
        QFile::remove(absolute);
        return opened.status();
    }
    return Status::ok();
}

void Database::closeKeptConnections()
{
    keptConnections().clear();
}

const QString& Database::inUseMessage()
{
    return FileConnection::inUseMessage();
}

Database::LockWaitNotice Database::setLockWaitNotice(LockWaitNotice notice)
{
    return FileConnection::setLockWaitNotice(std::move(notice));
}

Database::LockPatience Database::setLockPatience(LockPatience patience)
{
    return FileConnection::setLockPatience(patience);
}

bool Database::onServer() const
{
    return !m_server.isEmpty();
}

QString Database::daysBetween(const QString& later, const QString& earlier) const
{
    if (onServer())
        return QStringLiteral("(CAST(%1 AS date) - CAST(%2 AS date))").arg(later, earlier);
    return QStringLiteral("CAST(julianday(%1) - julianday(%2) AS INTEGER)").arg(later, earlier);
}

Query Database::prepare(const QString& sql, std::span<const SqlValue> values)
{
    if (!m_connection)
        return Query(nullptr, nullptr, m_openStatus);
    Status error;
    std::unique_ptr<Cursor> cursor = m_connection->prepare(sql, values, error);
    if (!cursor)
        return Query(nullptr, nullptr, error);
    return Query(m_connection, std::move(cursor), Status::ok());
}

int Database::changes() const
{
    return m_connection ? m_connection->changes() : 0;
}

std::optional<ShopKey> Database::fileKey() const
{
    const FileConnection* file = fileOf(m_connection);
    return file ? std::optional<ShopKey>(file->key()) : std::nullopt;
}

sqlite3* Database::handle() const
{
    const FileConnection* file = fileOf(m_connection);
    return file ? file->handle() : nullptr;
}

bool Database::fileReplaced() const
{
    const FileConnection* file = fileOf(m_connection);
    if (!file)
        return false;
    const auto identity = FileIdentity::of(m_path);
    return !identity || !(*identity == file->identity());
}

Status Database::lockExclusively()
{
    FileConnection* file = fileOf(m_connection);
    if (!file)
        return m_connection
                   ? Status::failed(QStringLiteral("A database server has no file to lock."))
                   : m_openStatus;
    return file->lockExclusively();
}

bool Database::mayRetry(const Status& failure) const
{
    return failure.kind() == Status::Kind::Busy && m_connection && m_connection->conflicted();
}

// Query

Query::Query(std::shared_ptr<Connection> connection, std::unique_ptr<Cursor> cursor, Status status)
    : m_connection(std::move(connection)), m_cursor(std::move(cursor)), m_status(std::move(status))
{
}

Query::Query(Query&& other) noexcept = default;
Query& Query::operator=(Query&& other) noexcept = default;
Query::~Query() = default;

bool Query::next()
{
    if (!m_cursor)
        return false;
    if (m_cursor->next())
        return true;
    if (!m_cursor->status())
        m_status = m_cursor->status();
    return false;
}

Status Query::exec()
{
    while (next()) {
    }
    return m_status;
}

int Query::columnCount() const
{
    return m_cursor ? m_cursor->columnCount() : 0;
}

QString Query::columnName(int column) const
{
    return m_cursor ? m_cursor->columnName(column) : QString();
}

int Query::columnIndex(const QString& name) const
{
    const int count = columnCount();
    for (int i = 0; i < count; ++i) {
        if (m_cursor->columnName(i).compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

bool Query::isNull(int column) const
{
    return !m_cursor || m_cursor->isNull(column);
}

QString Query::text(int column) const
{
    return m_cursor ? m_cursor->text(column) : QString();
}

std::int64_t Query::integer(int column) const
{
    return m_cursor ? m_cursor->integer(column) : 0;
}

double Query::real(int column) const
{
    return m_cursor ? m_cursor->real(column) : 0.0;
}

QDate Query::date(int column) const
{
    return isNull(column) ? QDate() : QDate::fromString(text(column), Qt::ISODate);
}

// Transaction

Transaction::Transaction(Database& db) : m_db(db)
{
    if (!db.m_connection) {
        m_beginStatus = db.m_openStatus;
        return;
    }
    if (db.m_connection->openTransactions > 0) {
        // Work that writes inside another write joins it: the outer one commits or rolls back.
        m_joined = true;
        m_active = true;
        ++db.m_connection->openTransactions;
        return;
    }
    m_beginStatus = db.m_connection->begin();
    // A compaction elsewhere may have put a new file in place while this write waited for the
    // lock; writing on would go into the old file and be lost, so the write goes to the new one.
    if (m_beginStatus && db.fileReplaced()) {
        db.m_connection->rollback();
        db.connect();
        m_beginStatus = db.isOpen() ? db.m_connection->begin() : db.openStatus();
        if (m_beginStatus && db.fileReplaced()) {
            db.m_connection->rollback();
            m_beginStatus =
                Status::error(Status::Kind::Busy, FileConnection::justCompactedMessage());
        }
    }
    m_active = m_beginStatus.isOk();
    if (m_active)
        ++db.m_connection->openTransactions;
}

Transaction::~Transaction()
{
    if (!m_active)
        return;
    --m_db.m_connection->openTransactions;
    if (!m_joined)
        m_db.m_connection->rollback();
}

Status Transaction::commit()
{
    if (!m_active)
        return m_beginStatus.isOk() ? Status::failed(QStringLiteral("No transaction is open."))
                                    : m_beginStatus;
    Status status = m_joined ? Status::ok() : m_db.m_connection->commit();
    if (status) {
        m_active = false;
        --m_db.m_connection->openTransactions;
    }
    return status;
}

QString likeContains(const QString& text)
{
    QString escaped;
    escaped.reserve(text.size() + 2);
    escaped += QLatin1Char('%');
    for (QChar c : text) {
        if (c == QLatin1Char('%') || c == QLatin1Char('_') || c == QLatin1Char('\\'))
            escaped += QLatin1Char('\\');
        escaped += c;
    }
    escaped += QLatin1Char('%');
    return escaped;
}
