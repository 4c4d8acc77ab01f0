#include "upkeep/backupfile.h"

#include "data/database.h"
#include "data/privatefile.h"
#include "data/programfolder.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringList>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <sqlcipher/sqlite3.h>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <unistd.h>
#endif

namespace BackupFile {

namespace {

// Another workstation may hold the write lock for a moment; wait as long as the data layer does.
constexpr int LockWaitMs = 5000;
constexpr int LockRetryMs = 50;

std::filesystem::path toPath(const QString& path)
{
#ifdef Q_OS_WIN
    return std::filesystem::path(path.toStdWString());
#else
    return std::filesystem::path(QFile::encodeName(path).toStdString());
#endif
}

Outcome outcomeOf(std::error_code error)
{
    return {failureOf(error), QString::fromLocal8Bit(error.message().c_str())};
}

Outcome outcomeOfSqlite(int code)
{
    const QString detail = QString::fromUtf8(sqlite3_errstr(code));
    switch (code & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return {Failure::Other, Database::inUseMessage()};
    case SQLITE_FULL:
        return {Failure::DiskFull, detail};
    case SQLITE_READONLY:
    case SQLITE_PERM:
        return {Failure::PermissionDenied, detail};
    default:
        return {Failure::Other, detail};
    }
}

std::error_code createNew(const QString& path)
{
    return PrivateFile::createNew(path);
}

QString partialName(const QString& target, int attempt)
{
    return target + QStringLiteral(".partial") + QString::number(attempt);
}

/** Whether another run holds the partial copy `path` locked while it writes it. A run that was
 *  cut off holds nothing. */
bool inUse(const QString& path)
{
    sqlite3* db = nullptr;
    bool locked = false;
    if (sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READWRITE, nullptr) ==
        SQLITE_OK)
        locked =
            (sqlite3_exec(db, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr) & 0xff) == SQLITE_BUSY;
    sqlite3_close(db);
    return locked;
}

/** Writes the folder's entries to the disk. */
Outcome flushFolder(const QString& path)
{
#ifdef Q_OS_UNIX
    const int folder = ::open(QFile::encodeName(QFileInfo(path).absolutePath()).constData(),
                              O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder < 0)
        return outcomeOf({errno, std::generic_category()});
    const int synced = ::fsync(folder);
    const int error = errno;
    ::close(folder);
    // Some file systems cannot write a folder on its own; their entries go with the file's.
    if (synced != 0 && error != EINVAL && error != ENOTSUP)
        return outcomeOf({error, std::generic_category()});
#else
    Q_UNUSED(path);
#endif
    return {};
}

} // namespace

bool isSameFile(const QString& a, const QString& b)
{
    std::error_code error;
    return std::filesystem::equivalent(toPath(a), toPath(b), error) && !error;
}

Result<QString> findDamage(Database& db)
{
    Query check = db.query(QStringLiteral("PRAGMA quick_check"));
    QStringList problems;
    while (check.next())
        for (const QString& line : check.text(0).split(QLatin1Char('\n'), Qt::SkipEmptyParts))
            // The check heads its list with the name of the schema it looked at.
            if (line != QLatin1String("ok") && !line.startsWith(QLatin1String("*** in database")))
                problems << line;
    if (!check.status())
        return check.status();
    if (problems.size() <= 1)
        return problems.value(0);
    return QStringLiteral("%1, and %2 more problems").arg(problems[0]).arg(problems.size() - 1);
}

Outcome checkCopy(Database& copy)
{
    const Result<QString> damage = findDamage(copy);
    if (!damage)
        return {Failure::Other, damage.status().message()};
    if (!damage->isEmpty())
        return {Failure::Other, QStringLiteral("The copy is damaged: %1").arg(*damage)};
    return {};
}

Failure failureOf(std::error_code error)
{
    if (error == std::errc::no_space_on_device || error == std::errc::file_too_large)
        return Failure::DiskFull;
    if (error == std::errc::permission_denied || error == std::errc::operation_not_permitted ||
        error == std::errc::read_only_file_system || error == std::errc::device_or_resource_busy ||
        error == std::errc::text_file_busy)
        return Failure::PermissionDenied;
    if (error == std::errc::no_such_file_or_directory || error == std::errc::not_a_directory ||
        error == std::errc::no_such_device)
        return Failure::PathNotFound;
    if (error == std::errc::is_a_directory || error == std::errc::invalid_argument ||
        error == std::errc::filename_too_long || error == std::errc::illegal_byte_sequence ||
        error == std::errc::file_exists)
        return Failure::InvalidPath;
    return Failure::Other;
}

void removeLeftovers(const QDir& folder, const QString& targetPattern, qint64 quietMs)
{
    const QRegularExpression leftover(
        QStringLiteral("^((?:%1)\\.partial[0-9]*)(-journal)?$").arg(targetPattern));
    const QDateTime quietSince = QDateTime::currentDateTimeUtc().addMSecs(-quietMs);
    const auto writtenSince = [&](const QString& path) {
        const QFileInfo file(path);
        return file.exists() && file.lastModified().toUTC() > quietSince;
    };
    for (const QString& name : folder.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        const QRegularExpressionMatch match = leftover.match(name);
        if (!match.hasMatch())
            continue;
        const QString copy = folder.filePath(match.captured(1));
        const QString journal = copy + QStringLiteral("-journal");
        if (writtenSince(copy) || writtenSince(journal))
            continue;
        if (!QFileInfo::exists(copy) || !inUse(copy))
            QFile::remove(folder.filePath(name));
    }
}

Outcome createPartialFile(const QString& target, QString& created)
{
    for (int attempt = 0;; ++attempt) {
        created = partialName(target, attempt);
        const std::error_code error = createNew(created);
        if (!error)
            return {};
        if (error != std::errc::file_exists || attempt == 99)
            return outcomeOf(error);
    }
}

Outcome createEmptyFile(const QString& path)
{
    const std::error_code error = createNew(path);
    return error ? outcomeOf(error) : Outcome{};
}

Outcome flushToDisk(Database& copy)
{
    // Through the connection's own file handle: closing another handle of the file would drop
    // the locks the connection holds on it.
    sqlite3_file* file = nullptr;
    if (sqlite3_file_control(copy.handle(), "main", SQLITE_FCNTL_FILE_POINTER, &file) !=
            SQLITE_OK ||
        !file || !file->pMethods)
        return {Failure::Other, QStringLiteral("The copy could not be written to the disk.")};
    if (const int rc = file->pMethods->xSync(file, SQLITE_SYNC_FULL); rc != SQLITE_OK)
        return outcomeOfSqlite(rc);
    return flushFolder(copy.path());
}

Outcome replaceFile(const QString& from, const QString& to)
{
    std::error_code error;
    std::filesystem::rename(toPath(from), toPath(to), error);
    if (error)
        return outcomeOf(error);
    return flushFolder(to);
}

Outcome copyInto(Database& source, const QString& emptyFile)
{
    if (!source.isOpen())
        return {Failure::Other, source.openStatus().message()};
    Database target(emptyFile);
    if (!target.isOpen())
        return {Failure::Other, target.openStatus().message()};
    // Held until the kept connections close, so that another run never takes this copy for the
    // leftover of one that was cut off.
    if (const Status locked = target.lockExclusively(); !locked)
        return {Failure::Other, locked.message()};
    sqlite3_backup* backup = sqlite3_backup_init(target.handle(), "main", source.handle(), "main");
    if (!backup)
        return outcomeOfSqlite(sqlite3_extended_errcode(target.handle()));
    // All pages in one step: the source stays read-locked throughout, so the copy is one
    // consistent state of the database.
    int rc = sqlite3_backup_step(backup, -1);
    for (int waited = 0; (rc == SQLITE_BUSY || rc == SQLITE_LOCKED) && waited < LockWaitMs;
         waited += LockRetryMs) {
        sqlite3_sleep(LockRetryMs);
        rc = sqlite3_backup_step(backup, -1);
    }
    const int finished = sqlite3_backup_finish(backup);
    if (rc != SQLITE_DONE)
        return outcomeOfSqlite(rc);
    if (finished != SQLITE_OK)
        return outcomeOfSqlite(finished);
    if (Outcome checked = checkCopy(target); !checked.isOk())
        return checked;
    return flushToDisk(target);
}

Outcome copyDatabaseTo(const QString& target)
{
    const QFileInfo info(target);
    if (target.isEmpty() || info.isRelative() || target.endsWith(QLatin1Char('/')) ||
        target.endsWith(QLatin1Char('\\')) || info.isDir())
        return {Failure::InvalidPath, {}};
    const QFileInfo folder(info.absolutePath());
    if (!folder.isDir())
        return {Failure::PathNotFound, {}};
    const QString databasePath = ProgramFolder::filePath(QString::fromLatin1(Database::FileName));
    if (isSameFile(target, databasePath))
        return {Failure::PermissionDenied, {}};

    const QString targetPath = info.absoluteFilePath();
    removeLeftovers(info.absoluteDir(), QRegularExpression::escape(info.fileName()), 0);
    QString partial;
    Outcome outcome = createPartialFile(targetPath, partial);
    if (!outcome.isOk())
        return outcome;
    {
        Database source;
        outcome = copyInto(source, partial);
    }
    if (outcome.isOk() && ReplaceWhileLocked)
        outcome = replaceFile(partial, targetPath);
    // The copy's connection must be closed before its file is renamed where the platform
    // cannot rename an open file.
    Database::closeKeptConnections();
    if (outcome.isOk() && !ReplaceWhileLocked)
        outcome = replaceFile(partial, targetPath);
    if (!outcome.isOk()) {
        QFile::remove(partial);
        QFile::remove(partial + QStringLiteral("-journal"));
    }
    return outcome;
}

} // namespace BackupFile
