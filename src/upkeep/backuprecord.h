#pragma once

#include "data/status.h"

#include <QDateTime>
#include <QString>
#include <optional>
#include <vector>

/**
 * The list of the backups that the daily backup wrote into a folder, kept beside them in the
 * file quorvane-backups.txt: each one's name, size and modification time as it was written, and
 * when. Pruning deletes only files on this list that are still as recorded, so that a file
 * named like a backup, a link, or a backup that someone replaced is never deleted.
 */
namespace BackupRecord {

inline constexpr const char* ListName = "quorvane-backups.txt";

struct Entry {
    QString name;
    qint64 size = 0;
    /** The file's modification time, in milliseconds since 1970 (UTC). */
    qint64 modifiedMs = 0;
    /** When the backup was completed. */
    QDateTime written;
};

/** The entries of `folder`'s list in the order they were written, oldest first; empty without
 *  a list. Lines that do not read as an entry are left out. */
std::vector<Entry> read(const QString& folder);

/** Writes the list of `folder`, replacing the old one only once it is complete. */
Status write(const QString& folder, const std::vector<Entry>& entries);

/** The entry for the file `name` in `folder` as it is now; nothing unless it is a plain file. */
std::optional<Entry> entryFor(const QString& folder, const QString& name, const QDateTime& written);

/** Whether the entry's file is still a plain file (no link) of the recorded size and time. */
bool isIntact(const QString& folder, const Entry& entry);

} // namespace BackupRecord
