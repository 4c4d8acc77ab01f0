#pragma once

#include "data/status.h"

#include <QString>
#include <system_error>

class Database;
class QDir;

/** Copies the open database, page by page under one read lock, into another file: a consistent
 *  copy even while other workstations write. Used by the backup window and by compaction. */
namespace BackupFile {

/** Whether a file that is open may be renamed over. Windows refuses; elsewhere the database
 *  stays locked until its replacement has taken its name, so that no workstation writes into the
 *  file being replaced and no other run takes the copy for a leftover meanwhile. */
#ifdef Q_OS_WIN
inline constexpr bool ReplaceWhileLocked = false;
#else
inline constexpr bool ReplaceWhileLocked = true;
#endif

/** Why a copy failed, in the kinds the user is told about. */
enum class Failure { None, DiskFull, PermissionDenied, InvalidPath, PathNotFound, Other };

struct Outcome {
    Failure failure = Failure::None;
    /** The underlying reason, in words, for the failures without a message of their own. */
    QString detail;
    bool isOk() const { return failure == Failure::None; }
    /** Ok, or a failure that tells the underlying reason. */
    Status status() const { return isOk() ? Status::ok() : Status::failed(detail); }
};

/**
 * Writes a keyed copy of the program's database to `target`, replacing a file of that name
 * only once the copy is complete, checked and on the disk. `target` must be an absolute file
 * name outside the database file itself. Partial copies that earlier runs to the same target
 * left behind when they were cut off are removed first, as removeLeftovers() does.
 */
Outcome copyDatabaseTo(const QString& target);

/** Creates a new file beside `target`, named `target` + ".partial" and a number no other run's
 *  file has, to take a copy until it is complete; `created` names it. */
Outcome createPartialFile(const QString& target, QString& created);

/**
 * Removes from `folder` the partial copies (and their journals) of the targets whose names
 * match the regular expression `targetPattern`, that runs which were cut off left behind, so
 * that they neither fill the disk nor use up the names. A copy that another run still uses is
 * left: one whose lock is held, or that has been written in the last `quietMs` (a dump holds no
 * lock, but it runs no longer than its limit).
 */
void removeLeftovers(const QDir& folder, const QString& targetPattern, qint64 quietMs);

/** Creates `path` as a new, empty file; fails if it exists. An empty file is an empty
 *  database, which the data layer opens with its key. */
Outcome createEmptyFile(const QString& path);

/** Copies every page of `source` into the empty database at `emptyFile`, checks the copy and
 *  writes it to the disk. The copy stays locked until the caller releases the kept connections,
 *  which it does before it removes the file (and, on Windows, before it renames it). */
Outcome copyInto(Database& source, const QString& emptyFile);

/** What is wrong with the structure of `db`: empty when every page and index is readable and
 *  sound, else the first problem and how many more there are; why not, when the check could
 *  not run (another workstation holding the file, for one). */
Result<QString> findDamage(Database& db);

/** Checks the structure of a copy just written: every page and index readable and sound. */
Outcome checkCopy(Database& copy);

/** Whether the two names reach one file (by its device and inode, so through hard and symbolic
 *  links too). */
bool isSameFile(const QString& a, const QString& b);

/** The failure kind of a platform error (errno value or file system error). */
Failure failureOf(std::error_code error);

/** Writes a copy just made, and its folder's entry for it, to the disk, so that a power loss
 *  after the copy has been renamed cannot leave a named but incomplete file. */
Outcome flushToDisk(Database& copy);

/** Renames `from` to `to`, replacing `to` in one step, and writes the rename to the disk. */
Outcome replaceFile(const QString& from, const QString& to);

} // namespace BackupFile
