#include "data/database.h"

#include "data/programfolder.h"

#include <QDir>
#include <QFileInfo>
#include <map>
#include <sqlcipher/sqlite3.h>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace {

// Anyone holding the program holds this key; it keeps the file closed to other tools.
constexpr char FileKey[] = "qzt517406";
constexpr int BusyTimeoutMs = 5000;

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

Status statusFromCode(sqlite3* db, int code, const QString& context)
{
    const int primary = code & 0xff;
    QString message =
        db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString::fromUtf8(sqlite3_errstr(code));
    if (!context.isEmpty())
        message = context + QStringLiteral(": ") + message;
    switch (primary) {
    case SQLITE_CONSTRAINT:
        if (code == SQLITE_CONSTRAINT_UNIQUE || code == SQLITE_CONSTRAINT_PRIMARYKEY)
            return Status::error(Status::Kind::Duplicate, message);
        return Status::failed(message);
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return Status::error(Status::Kind::Busy,
                             QStringLiteral("The database is busy on another workstation; "
                                            "please try again. (%1)")
                                 .arg(message));
    default:
        return Status::failed(message);
    }
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
    sqlite3* db = nullptr;
    FileIdentity identity;
    ~Connection()
    {
        if (db)
            sqlite3_close_v2(db);
    }
};

namespace {

std::map<QString, std::shared_ptr<Database::Connection>>& keptConnections()
{
    static std::map<QString, std::shared_ptr<Database::Connection>> connections;
    return connections;
}

} // namespace

static Result<std::shared_ptr<Database::Connection>> openKeyed(const QString& path, int flags)
{
    auto connection = std::make_shared<Database::Connection>();
    const QByteArray file = QFile::encodeName(path);
    int rc = sqlite3_open_v2(file.constData(), &connection->db, flags, nullptr);
    if (rc != SQLITE_OK)
        return Status::failed(QStringLiteral("Cannot open the database %1: %2")
                                  .arg(path, QString::fromUtf8(sqlite3_errstr(rc))));
    sqlite3_extended_result_codes(connection->db, 1);
    sqlite3_busy_timeout(connection->db, BusyTimeoutMs);
    rc = sqlite3_key(connection->db, FileKey, static_cast<int>(sizeof FileKey - 1));
    if (rc == SQLITE_OK)
        rc = sqlite3_exec(connection->db, "SELECT count(*) FROM sqlite_master", nullptr, nullptr,
                          nullptr);
    // Every page read is decrypted; a larger cache spares the long lists reading them again.
    if (rc == SQLITE_OK)
        rc = sqlite3_exec(connection->db, "PRAGMA cache_size = -32768", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK)
        return Status::failed(QStringLiteral("The file %1 is not a Quorvane database.").arg(path));
    return connection;
}

Database::Database() : Database(ProgramFolder::filePath(QString::fromLatin1(FileName))) {}

Database::Database(const QString& path) : m_path(QFileInfo(path).absoluteFilePath())
{
    auto& kept = keptConnections();
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
    auto opened = openKeyed(m_path, SQLITE_OPEN_READWRITE);
    if (!opened) {
        kept.erase(m_path);
        m_openStatus = opened.status();
        return;
    }
    m_connection = opened.value();
    m_connection->identity = *identity;
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

Query Database::prepare(const QString& sql, std::span<const SqlValue> values)
{
    if (!m_connection)
        return Query(this, nullptr, m_openStatus);
    sqlite3_stmt* statement = nullptr;
    const QByteArray text = sql.toUtf8();
    int rc = sqlite3_prepare_v2(m_connection->db, text.constData(), static_cast<int>(text.size()),
                                &statement, nullptr);
    if (rc != SQLITE_OK)
        return Query(this, nullptr, statusFromCode(m_connection->db, rc, QString()));
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
            Status status = statusFromCode(m_connection->db, rc, QStringLiteral("binding"));
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

Status Database::lastError(const QString& context) const
{
    if (!m_connection)
        return m_openStatus;
    return statusFromCode(m_connection->db, sqlite3_extended_errcode(m_connection->db), context);
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
    if (rc == SQLITE_ROW)
        return true;
    m_done = true;
    if (rc != SQLITE_DONE)
        m_status =
            statusFromCode(m_db->handle(), sqlite3_extended_errcode(m_db->handle()), QString());
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

Transaction::Transaction(Database& db) : m_db(db)
{
    m_beginStatus = db.exec(QStringLiteral("BEGIN IMMEDIATE"));
    m_active = m_beginStatus.isOk();
    // A compaction elsewhere may have put a new file in place while this write waited for the
    // lock; writing on would go into the old file and be lost.
    if (m_active && db.fileReplaced()) {
        db.exec(QStringLiteral("ROLLBACK"));
        m_active = false;
        m_beginStatus = Status::error(Status::Kind::Busy,
                                      QStringLiteral("The database has just been compacted on "
                                                     "another workstation; please try again."));
    }
}

Transaction::~Transaction()
{
    if (m_active)
        m_db.exec(QStringLiteral("ROLLBACK"));
}

Status Transaction::commit()
{
    if (!m_active)
        return m_beginStatus.isOk() ? Status::failed(QStringLiteral("No transaction is open."))
                                    : m_beginStatus;
    Status status = m_db.exec(QStringLiteral("COMMIT"));
    if (status)
        m_active = false;
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
