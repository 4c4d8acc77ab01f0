#include "data/fileconnection.h"

#include "data/programfolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <iterator>
#include <sqlcipher/sqlite3.h>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

// A read gives up after a few seconds; a write waits out the compaction of a large shop on a
// slow network share, since giving up would leave the user to try it all again.
Database::LockPatience lockPatience{5000, 120000};
// The smallest page an encrypted database is made of.
constexpr qint64 MinimumPageSize = 512;
// Shorter waits pass unnoticed; a longer one is announced through the lock-wait notice.
constexpr int NoticeAfterMs = 300;

const QString InUse =
    QStringLiteral("The database is in use on another workstation; please try again in a moment.");
const QString JustCompacted = QStringLiteral(
    "The database has just been compacted on another workstation; please try again.");

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

/** The one wait for another workstation's lock that has been announced, if any. */
struct AnnouncedWait {
    Database::LockWaitNotice notice;
    const FileConnection* connection = nullptr;
};

AnnouncedWait& announcedWait()
{
    static AnnouncedWait wait;
    return wait;
}

void announceLockWait(const FileConnection* connection)
{
    AnnouncedWait& wait = announcedWait();
    if (wait.connection || !wait.notice)
        return;
    wait.connection = connection;
    wait.notice(true);
}

/** The rows of one statement on the file. */
class FileCursor final : public Cursor {
public:
    FileCursor(const FileConnection& connection, sqlite3_stmt* statement)
        : m_connection(connection), m_statement(statement)
    {
    }
    FileCursor(const FileCursor&) = delete;
    FileCursor& operator=(const FileCursor&) = delete;
    ~FileCursor() override { sqlite3_finalize(m_statement); }

    bool next() override
    {
        if (m_done)
            return false;
        const int rc = sqlite3_step(m_statement);
        m_connection.endLockWait();
        if (rc == SQLITE_ROW)
            return true;
        m_done = true;
        if (rc != SQLITE_DONE)
            m_status = m_connection.statusOf(sqlite3_extended_errcode(m_connection.handle()));
        return false;
    }
    const Status& status() const override { return m_status; }
    int columnCount() const override { return sqlite3_column_count(m_statement); }
    QString columnName(int column) const override
    {
        return valid(column) ? QString::fromUtf8(sqlite3_column_name(m_statement, column))
                             : QString();
    }
    bool isNull(int column) const override
    {
        return !valid(column) || sqlite3_column_type(m_statement, column) == SQLITE_NULL;
    }
    QString text(int column) const override
    {
        if (isNull(column))
            return QString();
        const auto* data = reinterpret_cast<const char*>(sqlite3_column_text(m_statement, column));
        return QString::fromUtf8(data, sqlite3_column_bytes(m_statement, column));
    }
    std::int64_t integer(int column) const override
    {
        return isNull(column) ? 0 : sqlite3_column_int64(m_statement, column);
    }
    double real(int column) const override
    {
        return isNull(column) ? 0.0 : sqlite3_column_double(m_statement, column);
    }

private:
    bool valid(int column) const { return column >= 0 && column < columnCount(); }

    const FileConnection& m_connection;
    sqlite3_stmt* m_statement;
    Status m_status;
    bool m_done = false;
};

} // namespace

std::optional<FileIdentity> FileIdentity::of(const QString& path)
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

Result<std::shared_ptr<FileConnection>> FileConnection::open(const QString& path, bool create,
                                                             const QList<ShopKey>& keys)
{
    bool ownKeyTried = false;
    Status refused = Status::error(Status::Kind::WrongKey, {});
    for (const ShopKey& key : keys) {
        bool wrongKey = false;
        auto opened = openWith(path, create, key, wrongKey);
        if (!wrongKey)
            return opened;
        refused = opened.status();
        ownKeyTried = ownKeyTried || !key.isOldPassword();
    }
    // An encrypted database is whole pages; a file of another size is something else.
    if (QFileInfo(path).size() % MinimumPageSize != 0)
        return refused;
    const QString file = QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
    const QString database = ProgramFolder::filePath(QString::fromLatin1(Database::FileName));
    if (!ownKeyTried &&
        QFileInfo(path).absoluteFilePath() == QFileInfo(database).absoluteFilePath())
        return Status::error(
            Status::Kind::WrongKey,
            QStringLiteral("The shop's database %1 cannot be opened: its key file %2 is missing. "
                           "Put back the copy of the key file that was saved, or write the 64 hex "
                           "digits of the key's recovery sheet into a file of that name in %3, "
                           "then start the program again.")
                .arg(file, QString::fromLatin1(ShopKey::FileName),
                     QDir::toNativeSeparators(QFileInfo(path).absolutePath())));
    return Status::error(Status::Kind::WrongKey,
                         QStringLiteral("The file %1 does not open with the shop's key: it was "
                                        "made with another key, or it is no shop's database.")
                             .arg(file));
}

Result<std::shared_ptr<FileConnection>> FileConnection::openWith(const QString& path, bool create,
                                                                 const ShopKey& key, bool& wrongKey)
{
    std::shared_ptr<FileConnection> connection(new FileConnection(path, key));
    const QByteArray file = QFile::encodeName(path);
    const int flags = SQLITE_OPEN_READWRITE | (create ? SQLITE_OPEN_CREATE : 0);
    int rc = sqlite3_open_v2(file.constData(), &connection->m_db, flags, nullptr);
    if (rc != SQLITE_OK)
        return Status::failed(QStringLiteral("Cannot open the database %1: %2")
                                  .arg(path, QString::fromUtf8(sqlite3_errstr(rc))));
    sqlite3_extended_result_codes(connection->m_db, 1);
    sqlite3_busy_handler(connection->m_db, waitForLock, connection.get());
    const QByteArray secret = key.sqlcipherKey();
    rc = sqlite3_key(connection->m_db, secret.constData(), static_cast<int>(secret.size()));
    if (rc == SQLITE_OK) {
        // The key is proved without waiting: a file that another workstation holds locked (while
        // it compacts, say) is in use, not foreign, and its statements wait as statements do.
        connection->m_patience = Patience::None;
        rc = sqlite3_exec(connection->m_db, "SELECT count(*) FROM sqlite_master", nullptr, nullptr,
                          nullptr);
        connection->m_patience = Patience::Read;
        if ((rc & 0xff) == SQLITE_BUSY)
            return connection;
    }
    // Every page read is decrypted; a larger cache spares the long lists reading them again.
    if (rc == SQLITE_OK)
        rc =
            sqlite3_exec(connection->m_db, "PRAGMA cache_size = -32768", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) {
        const int code = sqlite3_extended_errcode(connection->m_db);
        wrongKey = code == SQLITE_NOTADB;
        return connection->statusOf(code);
    }
    connection->m_settled = true;
    return connection;
}

FileConnection::~FileConnection()
{
    endLockWait();
    if (!m_db)
        return;
    // Statements still open keep the handle alive a while; their waits must not reach here.
    sqlite3_busy_handler(m_db, nullptr, nullptr);
    sqlite3_close_v2(m_db);
}

std::unique_ptr<Cursor> FileConnection::prepare(const QString& sql,
                                                std::span<const SqlValue> values, Status& error)
{
    sqlite3_stmt* statement = nullptr;
    const QByteArray text = sql.toUtf8();
    int rc = sqlite3_prepare_v2(m_db, text.constData(), static_cast<int>(text.size()), &statement,
                                nullptr);
    endLockWait();
    if (rc != SQLITE_OK) {
        error = statusOf(rc);
        return nullptr;
    }
    auto cursor = std::make_unique<FileCursor>(*this, statement);
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
            error = statusOf(rc, QStringLiteral("binding"));
            return nullptr;
        }
        ++index;
    }
    return cursor;
}

int FileConnection::changes() const
{
    return sqlite3_changes(m_db);
}

Status FileConnection::run(const char* sql, Patience patience)
{
    m_patience = patience;
    const int rc = sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr);
    endLockWait();
    return rc == SQLITE_OK ? Status::ok() : statusOf(sqlite3_extended_errcode(m_db));
}

Status FileConnection::begin()
{
    Status status = run("BEGIN IMMEDIATE", Patience::Write);
    if (!status)
        m_patience = Patience::Read;
    return status;
}

Status FileConnection::commit()
{
    Status status = run("COMMIT", Patience::Write);
    if (status)
        m_patience = Patience::Read;
    return status;
}

Status FileConnection::rollback()
{
    return run("ROLLBACK", Patience::Read);
}

Status FileConnection::lockExclusively()
{
    Status status = run("PRAGMA locking_mode = EXCLUSIVE", Patience::Read);
    if (status)
        status = run("BEGIN EXCLUSIVE", Patience::Read);
    if (status)
        status = run("COMMIT", Patience::Read);
    return status;
}

Status FileConnection::statusOf(int code, const QString& context) const
{
    switch (code & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return Status::error(Status::Kind::Busy, InUse);
    case SQLITE_READONLY:
        if (code == SQLITE_READONLY_DBMOVED)
            return Status::error(Status::Kind::Busy, JustCompacted);
        if (!folderWritable(m_path))
            return Status::failed(readOnlyFolder(m_path));
        return Status::failed(
            QStringLiteral("The database file %1 is read-only, so nothing can be saved in it.")
                .arg(QDir::toNativeSeparators(m_path)));
    case SQLITE_CANTOPEN:
        if (!folderWritable(m_path))
            return Status::failed(readOnlyFolder(m_path));
        break;
    case SQLITE_NOTADB:
        return Status::failed(QStringLiteral("The file %1 is not a Quorvane database.")
                                  .arg(QDir::toNativeSeparators(m_path)));
    default:
        break;
    }
    QString message =
        m_db ? QString::fromUtf8(sqlite3_errmsg(m_db)) : QString::fromUtf8(sqlite3_errstr(code));
    if (!context.isEmpty())
        message = context + QStringLiteral(": ") + message;
    if (code == SQLITE_CONSTRAINT_UNIQUE || code == SQLITE_CONSTRAINT_PRIMARYKEY)
        return Status::error(Status::Kind::Duplicate, message);
    return Status::failed(message);
}

int FileConnection::waitForLock(void* context, int attempt)
{
    auto* connection = static_cast<FileConnection*>(context);
    const auto now = std::chrono::steady_clock::now();
    if (attempt == 0)
        connection->m_waitStarted = now;
    const auto waited =
        std::chrono::duration_cast<std::chrono::milliseconds>(now - connection->m_waitStarted);
    const int patience = connection->m_patience == Patience::Write  ? lockPatience.writeMs
                         : connection->m_patience == Patience::Read ? lockPatience.readMs
                                                                    : 0;
    if (waited.count() >= patience)
        return 0;
    if (waited.count() >= NoticeAfterMs)
        announceLockWait(connection);
    constexpr int PausesMs[] = {1, 2, 5, 10, 20, 50};
    sqlite3_sleep(
        PausesMs[std::min<size_t>(static_cast<size_t>(attempt), std::size(PausesMs) - 1)]);
    return 1;
}

void FileConnection::endLockWait() const
{
    AnnouncedWait& wait = announcedWait();
    if (wait.connection != this)
        return;
    wait.connection = nullptr;
    if (wait.notice)
        wait.notice(false);
}

const QString& FileConnection::inUseMessage()
{
    return InUse;
}

const QString& FileConnection::justCompactedMessage()
{
    return JustCompacted;
}

Database::LockWaitNotice FileConnection::setLockWaitNotice(Database::LockWaitNotice notice)
{
    return std::exchange(announcedWait().notice, std::move(notice));
}

Database::LockPatience FileConnection::setLockPatience(Database::LockPatience patience)
{
    return std::exchange(lockPatience, patience);
}
