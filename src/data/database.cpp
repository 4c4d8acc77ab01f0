#include "data/database.h"

#include "data/programfolder.h"

#include <QDir>
#include <QFileInfo>
#include <chrono>
#include <iterator>
#include <map>
#include <sqlcipher/sqlite3.h>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

// Anyone holding the program holds this key; it keeps the file closed to other tools.
constexpr char FileKey[] = "qzt517406";

// A read gives up after a few seconds; a write waits out the compaction of a large shop on a
// slow network share, since giving up would leave the user to try it all again.
Database::LockPatience lockPatience{5000, 120000};
// Shorter waits pass unnoticed; a longer one is announced through the lock-wait notice.
constexpr int NoticeAfterMs = 300;

const QString InUse =
    QStringLiteral("The database is in use on another workstation; please try again in a moment.");
const QString JustCompacted = QStringLiteral(
    "The database has just been compacted on another workstation; please try again.");

// Identifies the file behind a path, so that a kept connection notices when the file has been
// replaced (by a compaction on another workstation, say) and opens the new one.
struct FileIdentity {
    unsigned long long device = 0, inode = 0;
    qint64 birth = 0;
    bool operator==(const FileIdentity&) const = default;
};

std::optional<FileIdentity> identityOf(const QString& path)
{
#ifdef Q_OS_UNIX
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return std::nullopt;
    return FileIdentity{static_cast<unsigned long long>(info.st_dev),
                        static_cast<unsigned long long>(info.st_ino), 0};
#else
    QFileInfo info(path);
    if (!info.exists())
        return std::nullopt;
    return FileIdentity{0, 0, info.birthTime().toMSecsSinceEpoch()};
#endif
}

/** Whether this process may create files in the database's folder, as a journal needs. */
bool folderWritable(const QString& databasePath)
{
    const QString folder = QFileInfo(databasePath).absolutePath();
#ifdef Q_OS_UNIX
    // By the effective user, who writes the files.
    return ::faccessat(AT_FDCWD, QFile::encodeName(folder).constData(), W_OK, AT_EACCESS) == 0;
#else
    return QFileInfo(folder).isWritable();
#endif
}

QString readOnlyFolder(const QString& databasePath)
{
    return QStringLiteral("The folder %1 is read-only, so nothing can be saved in the database.")
        .arg(QDir::toNativeSeparators(QFileInfo(databasePath).absolutePath()));
}

Status statusFromCode(sqlite3* db, int code, const QString& path, const QString& context = {})
{
    switch (code & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return Status::error(Status::Kind::Busy, InUse);
    case SQLITE_READONLY:
        if (code == SQLITE_READONLY_DBMOVED)
            return Status::error(Status::Kind::Busy, JustCompacted);
        if (!folderWritable(path))
            return Status::failed(readOnlyFolder(path));
        return Status::failed(
            QStringLiteral("The database file %1 is read-only, so nothing can be saved in it.")
                .arg(QDir::toNativeSeparators(path)));
    case SQLITE_CANTOPEN:
        if (!folderWritable(path))
            return Status::failed(readOnlyFolder(path));
        break;
    case SQLITE_NOTADB:
        return Status::failed(QStringLiteral("The file %1 is not a Quorvane database.")
                                  .arg(QDir::toNativeSeparators(path)));
    default:
        break;
    }
    QString message =
        db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString::fromUtf8(sqlite3_errstr(code));
    if (!context.isEmpty())
        message = context + QStringLiteral(": ") + message;
    if (code == SQLITE_CONSTRAINT_UNIQUE || code == SQLITE_CONSTRAINT_PRIMARYKEY)
        return Status::error(Status::Kind::Duplicate, message);
    return Status::failed(message);
}

/** The one wait for another workstation's lock that has been announced, if any. */
struct AnnouncedWait {
    Database::LockWaitNotice notice;
    sqlite3* connection = nullptr;
};

AnnouncedWait& announcedWait()
{
    static AnnouncedWait wait;
    return wait;
}

void announceLockWait(sqlite3* db)
{
    AnnouncedWait& wait = announcedWait();
    if (wait.connection || !wait.notice)
        return;
    wait.connection = db;
    wait.notice(true);
}

/** Ends the announcement once the connection that waited has its answer. */
void endLockWait(sqlite3* db)
{
    AnnouncedWait& wait = announcedWait();
    if (!wait.connection || wait.connection != db)
        return;
    wait.connection = nullptr;
    if (wait.notice)
        wait.notice(false);
}

} // namespace

SqlValue::SqlValue(const QDate& v)
{
    if (v.isValid()) {
        m_type = Type::Text;
        m_text = v.toString(Qt::ISODate);
    }
}

struct Database::Connection {
    enum class Patience { None, Read, Write };
    sqlite3* db = nullptr;
    FileIdentity identity;
    Patience patience = Patience::Read;
    std::chrono::steady_clock::time_point waitStarted;
    /** The key has been proved and the settings applied, so the connection may be kept. */
    bool settled = false;
    ~Connection()
    {
        endLockWait(db);
        if (!db)
            return;
        // Statements still open keep the handle alive a while; their waits must not reach here.
        sqlite3_busy_handler(db, nullptr, nullptr);
        sqlite3_close_v2(db);
    }
};

namespace {

std::map<QString, std::shared_ptr<Database::Connection>>& keptConnections()
{
    static std::map<QString, std::shared_ptr<Database::Connection>> connections;
    return connections;
}

int waitForLock(void* context, int attempt)
{
    using Patience = Database::Connection::Patience;
    auto* connection = static_cast<Database::Connection*>(context);
    const auto now = std::chrono::steady_clock::now();
    if (attempt == 0)
        connection->waitStarted = now;
    const auto waited =
        std::chrono::duration_cast<std::chrono::milliseconds>(now - connection->waitStarted);
    const int patience = connection->patience == Patience::Write  ? lockPatience.writeMs
                         : connection->patience == Patience::Read ? lockPatience.readMs
                                                                  : 0;
    if (waited.count() >= patience)
        return 0;
    if (waited.count() >= NoticeAfterMs)
        announceLockWait(connection->db);
    constexpr int PausesMs[] = {1, 2, 5, 10, 20, 50};
    sqlite3_sleep(
        PausesMs[std::min<size_t>(static_cast<size_t>(attempt), std::size(PausesMs) - 1)]);
    return 1;
}

Result<std::shared_ptr<Database::Connection>> openKeyed(const QString& path, int flags)
{
    auto connection = std::make_shared<Database::Connection>();
    const QByteArray file = QFile::encodeName(path);
    int rc = sqlite3_open_v2(file.constData(), &connection->db, flags, nullptr);
    if (rc != SQLITE_OK)
        return Status::failed(QStringLiteral("Cannot open the database %1: %2")
                                  .arg(path, QString::fromUtf8(sqlite3_errstr(rc))));
    sqlite3_extended_result_codes(connection->db, 1);
    sqlite3_busy_handler(connection->db, waitForLock, connection.get());
    rc = sqlite3_key(connection->db, FileKey, static_cast<int>(sizeof FileKey - 1));
    if (rc == SQLITE_OK) {
        // The key is proved without waiting: a file that another workstation holds locked (while
        // it compacts, say) is in use, not foreign, and its statements wait as statements do.
        connection->patience = Database::Connection::Patience::None;
        rc = sqlite3_exec(connection->db, "SELECT count(*) FROM sqlite_master", nullptr, nullptr,
                          nullptr);
        connection->patience = Database::Connection::Patience::Read;
        if ((rc & 0xff) == SQLITE_BUSY)
            return connection;
    }
    // Every page read is decrypted; a larger cache spares the long lists reading them again.
    if (rc == SQLITE_OK)
        rc = sqlite3_exec(connection->db, "PRAGMA cache_size = -32768", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK)
        return statusFromCode(connection->db, sqlite3_extended_errcode(connection->db), path);
    connection->settled = true;
    return connection;
}

} // namespace

Database::Database() : Database(ProgramFolder::filePath(QString::fromLatin1(FileName))) {}

Database::Database(const QString& path) : m_path(QFileInfo(path).absoluteFilePath())
{
    connect();
}

void Database::connect()
{
    auto& kept = keptConnections();
    m_connection.reset();
    m_openStatus = Status::ok();
    const auto identity = identityOf(m_path);
    if (!identity) {
        kept.erase(m_path);
        m_openStatus = Status::error(Status::Kind::NotFound,
                                     QStringLiteral("The database %1 does not exist.").arg(m_path));
        return;
    }
    auto found = kept.find(m_path);
    if (found != kept.end() && found->second->identity == *identity) {
        m_connection = found->second;
        return;
    }
    kept.erase(m_path);
    auto opened = openKeyed(m_path, SQLITE_OPEN_READWRITE);
    if (!opened) {
        m_openStatus = opened.status();
        return;
    }
    m_connection = opened.value();
    m_connection->identity = *identity;
    // A connection opened while the file was locked has not applied its settings; the next
    // scope opens a settled one.
    if (m_connection->settled)
        kept[m_path] = m_connection;
}

Database::~Database() = default;

Status Database::createFile(const QString& path)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    if (QFileInfo::exists(absolute))
        return Status::error(
            Status::Kind::Duplicate,
            QStringLiteral("%1 already exists; it is left as it is.").arg(absolute));
    auto opened = openKeyed(absolute, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
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
    return InUse;
}

Database::LockWaitNotice Database::setLockWaitNotice(LockWaitNotice notice)
{
    return std::exchange(announcedWait().notice, std::move(notice));
}

Database::LockPatience Database::setLockPatience(LockPatience patience)
{
    return std::exchange(lockPatience, patience);
}

void Database::setWriting(bool writing)
{
    if (m_connection)
        m_connection->patience = writing ? Connection::Patience::Write : Connection::Patience::Read;
}

Query Database::prepare(const QString& sql, std::span<const SqlValue> values)
{
    if (!m_connection)
        return Query(this, nullptr, m_openStatus);
    sqlite3_stmt* statement = nullptr;
    const QByteArray text = sql.toUtf8();
    int rc = sqlite3_prepare_v2(m_connection->db, text.constData(), static_cast<int>(text.size()),
                                &statement, nullptr);
    endLockWait(m_connection->db);
    if (rc != SQLITE_OK)
        return Query(this, nullptr, statusFromCode(m_connection->db, rc, m_path));
    int index = 1;
    for (const SqlValue& value : values) {
        switch (value.type()) {
        case SqlValue::Type::Null:
            rc = sqlite3_bind_null(statement, index);
            break;
        case SqlValue::Type::Integer:
            rc = sqlite3_bind_int64(statement, index, value.integer());
            break;
        case SqlValue::Type::Real:
            rc = sqlite3_bind_double(statement, index, value.real());
            break;
        case SqlValue::Type::Text: {
            const QByteArray utf8 = value.text().toUtf8();
            rc = sqlite3_bind_text(statement, index, utf8.constData(),
                                   static_cast<int>(utf8.size()), SQLITE_TRANSIENT);
            break;
        }
        }
        if (rc != SQLITE_OK) {
            Status status = statusFromCode(m_connection->db, rc, m_path, QStringLiteral("binding"));
            sqlite3_finalize(statement);
            return Query(this, nullptr, status);
        }
        ++index;
    }
    return Query(this, statement, Status::ok());
}

int Database::changes() const
{
    return m_connection ? sqlite3_changes(m_connection->db) : 0;
}

std::int64_t Database::lastInsertRowId() const
{
    return m_connection ? sqlite3_last_insert_rowid(m_connection->db) : 0;
}

sqlite3* Database::handle() const
{
    return m_connection ? m_connection->db : nullptr;
}

bool Database::fileReplaced() const
{
    if (!m_connection)
        return false;
    const auto identity = identityOf(m_path);
    return !identity || !(*identity == m_connection->identity);
}

Status Database::lockExclusively()
{
    Status status = exec(QStringLiteral("PRAGMA locking_mode = EXCLUSIVE"));
    if (status)
        status = exec(QStringLiteral("BEGIN EXCLUSIVE"));
    if (status)
        status = exec(QStringLiteral("COMMIT"));
    return status;
}

Status Database::lastError(const QString& context) const
{
    if (!m_connection)
        return m_openStatus;
    return statusFromCode(m_connection->db, sqlite3_extended_errcode(m_connection->db), m_path,
                          context);
}

// Query

Query::Query(Database* db, sqlite3_stmt* statement, Status status)
    : m_db(db), m_statement(statement), m_status(std::move(status)), m_done(!statement)
{
}

Query::Query(Query&& other) noexcept
    : m_db(other.m_db), m_statement(std::exchange(other.m_statement, nullptr)),
      m_status(std::move(other.m_status)), m_done(other.m_done)
{
}

Query& Query::operator=(Query&& other) noexcept
{
    if (this != &other) {
        if (m_statement)
            sqlite3_finalize(m_statement);
        m_db = other.m_db;
        m_statement = std::exchange(other.m_statement, nullptr);
        m_status = std::move(other.m_status);
        m_done = other.m_done;
    }
    return *this;
}

Query::~Query()
{
    if (m_statement)
        sqlite3_finalize(m_statement);
}

bool Query::next()
{
    if (m_done || !m_statement)
        return false;
    const int rc = sqlite3_step(m_statement);
    sqlite3* connection = sqlite3_db_handle(m_statement);
    endLockWait(connection);
    if (rc == SQLITE_ROW)
        return true;
    m_done = true;
    if (rc != SQLITE_DONE)
        m_status = statusFromCode(connection, sqlite3_extended_errcode(connection), m_db->path());
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
    return m_statement ? sqlite3_column_count(m_statement) : 0;
}

QString Query::columnName(int column) const
{
    return validColumn(column) ? QString::fromUtf8(sqlite3_column_name(m_statement, column))
                               : QString();
}

int Query::columnIndex(const QString& name) const
{
    const int count = columnCount();
    for (int i = 0; i < count; ++i) {
        if (QString::fromUtf8(sqlite3_column_name(m_statement, i))
                .compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

bool Query::validColumn(int column) const
{
    return m_statement && column >= 0 && column < sqlite3_column_count(m_statement);
}

bool Query::isNull(int column) const
{
    return !validColumn(column) || sqlite3_column_type(m_statement, column) == SQLITE_NULL;
}

QString Query::text(int column) const
{
    if (isNull(column))
        return QString();
    const auto* data = reinterpret_cast<const char*>(sqlite3_column_text(m_statement, column));
    return QString::fromUtf8(data, sqlite3_column_bytes(m_statement, column));
}

std::int64_t Query::integer(int column) const
{
    return isNull(column) ? 0 : sqlite3_column_int64(m_statement, column);
}

double Query::real(int column) const
{
    return isNull(column) ? 0.0 : sqlite3_column_double(m_statement, column);
}

QDate Query::date(int column) const
{
    return isNull(column) ? QDate() : QDate::fromString(text(column), Qt::ISODate);
}

// Transaction

namespace {

Status beginWriting(Database& db)
{
    return db.exec(QStringLiteral("BEGIN IMMEDIATE"));
}

} // namespace

Transaction::Transaction(Database& db) : m_db(db)
{
    db.setWriting(true);
    m_beginStatus = beginWriting(db);
    // A compaction elsewhere may have put a new file in place while this write waited for the
    // lock; writing on would go into the old file and be lost, so the write goes to the new one.
    if (m_beginStatus && db.fileReplaced()) {
        db.exec(QStringLiteral("ROLLBACK"));
        db.connect();
        db.setWriting(true);
        m_beginStatus = db.isOpen() ? beginWriting(db) : db.openStatus();
        if (m_beginStatus && db.fileReplaced()) {
            db.exec(QStringLiteral("ROLLBACK"));
            m_beginStatus = Status::error(Status::Kind::Busy, JustCompacted);
        }
    }
    m_active = m_beginStatus.isOk();
    if (!m_active)
        db.setWriting(false);
}

Transaction::~Transaction()
{
    if (m_active)
        m_db.exec(QStringLiteral("ROLLBACK"));
    m_db.setWriting(false);
}

Status Transaction::commit()
{
    if (!m_active)
        return m_beginStatus.isOk() ? Status::failed(QStringLiteral("No transaction is open."))
                                    : m_beginStatus;
    Status status = m_db.exec(QStringLiteral("COMMIT"));
    if (status) {
        m_active = false;
        m_db.setWriting(false);
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
