#include "reports/backupfile.h"

#include "data/database.h"
#include "data/programfolder.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <sqlcipher/sqlite3.h>

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
    // fopen's exclusive mode, unlike QFile, leaves the platform's reason in errno.
#ifdef Q_OS_WIN
    std::FILE* file = _wfopen(reinterpret_cast<const wchar_t*>(path.utf16()), L"wbx");
#else
    std::FILE* file = std::fopen(QFile::encodeName(path).constData(), "wbx");
#endif
    if (!file)
        return {errno, std::generic_category()};
    if (std::fclose(file) != 0)
        return {errno, std::generic_category()};
    return {};
}

/** Creates a new empty file beside `target` to take the copy until it is complete. */
Outcome createPartialFile(const QString& target, QString& created)
{
    for (int attempt = 0;; ++attempt) {
        created = QStringLiteral("%1.partial%2").arg(target).arg(attempt);
        const std::error_code error = createNew(created);
        if (!error)
            return {};
        if (error != std::errc::file_exists || attempt == 99)
            return outcomeOf(error);
    }
}

bool isSameFile(const QString& a, const QString& b)
{
    std::error_code error;
    return std::filesystem::equivalent(toPath(a), toPath(b), error) && !error;
}

} // namespace

Outcome checkCopy(Database& copy)
{
    Query check = copy.query(QStringLiteral("PRAGMA quick_check"));
    if (!check.next())
        return {Failure::Other, check.status().message()};
    if (check.text(0) != QLatin1String("ok"))
        return {Failure::Other, QStringLiteral("The copy is damaged: %1").arg(check.text(0))};
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

Outcome createEmptyFile(const QString& path)
{
    const std::error_code error = createNew(path);
    return error ? outcomeOf(error) : Outcome{};
}

Outcome replaceFile(const QString& from, const QString& to)
{
    std::error_code error;
    std::filesystem::rename(toPath(from), toPath(to), error);
    return error ? outcomeOf(error) : Outcome{};
}

Outcome copyInto(Database& source, const QString& emptyFile)
{
    if (!source.isOpen())
        return {Failure::Other, source.openStatus().message()};
    Database target(emptyFile);
    if (!target.isOpen())
        return {Failure::Other, target.openStatus().message()};
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
    return checkCopy(target);
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

    QString partial;
    Outcome outcome = createPartialFile(info.absoluteFilePath(), partial);
    if (!outcome.isOk())
        return outcome;
    {
        Database source;
        outcome = copyInto(source, partial);
    }
    // The copy's connection must be closed before its file is renamed.
    Database::closeKeptConnections();
    if (outcome.isOk())
        outcome = replaceFile(partial, info.absoluteFilePath());
    if (!outcome.isOk())
        QFile::remove(partial);
    return outcome;
}

} // namespace BackupFile
