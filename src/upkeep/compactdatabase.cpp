#include "upkeep/compactdatabase.h"

#include "data/database.h"
#include "data/privatefile.h"
#include "data/programfolder.h"
#include "data/schema.h"
#include "data/serversettings.h"
#include "upkeep/backupfile.h"
#include "upkeep/serverupkeep.h"

#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QPair>

namespace CompactDatabase {

namespace {

using TableCounts = QList<QPair<QString, qint64>>;

Result<TableCounts> countRows(Database& db)
{
    const auto tables = Schema::tableNames(db);
    if (!tables)
        return tables.status();
    TableCounts counts;
    for (const QString& table : *tables) {
        const auto rows = Schema::rowCount(db, table);
        if (!rows)
            return rows.status();
        counts.append({table, *rows});
    }
    return counts;
}

/** Writes the compacted copy and proves it opens with the key and holds every row. */
Status writeCheckedCopy(Database& source, const QString& copyPath,
                        const std::optional<ShopKey>& newKey)
{
    const Result<TableCounts> before = countRows(source);
    if (!before)
        return before.status();
    // Exporting into a new file writes every table and index afresh, page by page, without the
    // in-memory scratch copy a VACUUM would need. The attached file takes the source's key
    // unless it is given one of its own.
    const Status attached =
        newKey ? source.exec(QStringLiteral("ATTACH DATABASE ? AS compacted KEY ?"), copyPath,
                             QString::fromLatin1(newKey->sqlcipherKey()))
               : source.exec(QStringLiteral("ATTACH DATABASE ? AS compacted"), copyPath);
    if (!attached)
        return attached;
    Status exported = [&] {
        Query query = source.query(QStringLiteral("SELECT sqlcipher_export('compacted')"));
        query.next();
        return query.status();
    }();
    const Status detached = source.exec(QStringLiteral("DETACH DATABASE compacted"));
    if (!exported)
        return exported;
    if (!detached)
        return detached;
    // Drops the copy's connection (the source's stays with `source`), so that the copy is
    // opened afresh with the key below.
    Database::closeKeptConnections();
    Database reopened(copyPath, newKey ? *newKey : source.fileKey().value());
    if (!reopened.isOpen())
        return reopened.openStatus();
    if (BackupFile::Outcome checked = BackupFile::checkCopy(reopened); !checked.isOk())
        return checked.status();
    const Result<TableCounts> after = countRows(reopened);
    if (!after)
        return after.status();
    if (after.value() != before.value())
        return Status::failed(QStringLiteral("The compacted copy does not hold every row."));
    if (BackupFile::Outcome flushed = BackupFile::flushToDisk(reopened); !flushed.isOk())
        return flushed.status();
    return Status::ok();
}

/** Removes the copy and its journal. */
bool removeCopy(const QString& copyPath)
{
    QFile::remove(copyPath + QStringLiteral("-journal"));
    return !QFileInfo::exists(copyPath) || QFile::remove(copyPath);
}

Status replace(const QString& copyPath, const QString& databasePath)
{
    const BackupFile::Outcome replaced = BackupFile::replaceFile(copyPath, databasePath);
    return replaced.status();
}

Status compactInto(const QString& copyPath, const QString& databasePath, bool& copyCreated,
                   const std::optional<ShopKey>& newKey)
{
    return Database::read([&](Database& source) {
        Status status = source.lockExclusively();
        // No other workstation compacts now, so a copy that is there was left by a run that was
        // cut off.
        if (status && !removeCopy(copyPath))
            status = Status::failed(
                QStringLiteral("The file %1 from an earlier compaction could not be removed.")
                    .arg(copyPath));
        if (status) {
            const BackupFile::Outcome created = BackupFile::createEmptyFile(copyPath);
            copyCreated = created.isOk();
            if (!copyCreated)
                status = created.status();
        }
        if (status)
            status = writeCheckedCopy(source, copyPath, newKey);
        if (status)
            status = PrivateFile::keepAccessOf(databasePath, copyPath);
        Database::closeKeptConnections();
        if (status && BackupFile::ReplaceWhileLocked)
            status = replace(copyPath, databasePath);
        return status;
    });
}

} // namespace

Status run(const std::optional<ShopKey>& newKey)
{
    if (const QString server = ServerSettings::address(); !server.isEmpty())
        return ServerUpkeep::compact(server);
    const QString databasePath = ProgramFolder::filePath(QString::fromLatin1(Database::FileName));
    const QString copyPath = ProgramFolder::filePath(QString::fromLatin1(CopyName));
    bool copyCreated = false;
    Status status = compactInto(copyPath, databasePath, copyCreated, newKey);
    Database::closeKeptConnections();
    if (status && !BackupFile::ReplaceWhileLocked)
        status = replace(copyPath, databasePath);
    if (!status && copyCreated)
        removeCopy(copyPath);
    return status;
}

} // namespace CompactDatabase
