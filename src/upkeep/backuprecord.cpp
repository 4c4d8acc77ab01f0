#include "upkeep/backuprecord.h"

#include "data/privatefile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace BackupRecord {

namespace {

const QByteArray Heading = "# The backups that Quorvane's daily backup wrote into this folder "
                           "(name, size, modified, written). Only these are ever pruned.\n";

QString listPath(const QString& folder)
{
    return QDir(folder).filePath(QString::fromLatin1(ListName));
}

std::optional<Entry> parse(const QString& line)
{
    const QStringList fields = line.split(QLatin1Char('\t'));
    if (fields.size() != 4 || fields[0].isEmpty() || fields[0].contains(QLatin1Char('/')))
        return std::nullopt;
    bool sizeRead = false;
    bool timeRead = false;
    Entry entry{fields[0], fields[1].toLongLong(&sizeRead), fields[2].toLongLong(&timeRead),
                QDateTime::fromString(fields[3], Qt::ISODate)};
    if (!sizeRead || !timeRead || !entry.written.isValid())
        return std::nullopt;
    return entry;
}

} // namespace

std::vector<Entry> read(const QString& folder)
{
    QFile list(listPath(folder));
    std::vector<Entry> entries;
    if (!list.open(QIODevice::ReadOnly))
        return entries;
    for (const QByteArray& line : list.readAll().split('\n'))
        if (!line.startsWith('#'))
            if (std::optional<Entry> entry = parse(QString::fromUtf8(line)))
                entries.push_back(*entry);
    return entries;
}

Status write(const QString& folder, const std::vector<Entry>& entries)
{
    QByteArray text = Heading;
    for (const Entry& entry : entries)
        text += QStringLiteral("%1\t%2\t%3\t%4\n")
                    .arg(entry.name)
                    .arg(entry.size)
                    .arg(entry.modifiedMs)
                    .arg(entry.written.toString(Qt::ISODate))
                    .toUtf8();
    QSaveFile list(listPath(folder));
    // Unbuffered, a full disk fails the write itself rather than pass unseen at the commit. The
    // list sits among the backups, as private as they are.
    const PrivateFile::CreationGuard ownerOnly;
    if (!list.open(QIODevice::WriteOnly | QIODevice::Unbuffered) ||
        list.write(text) != text.size()) {
        const QString reason = list.errorString();
        list.cancelWriting();
        return Status::failed(
            QStringLiteral("The list %1 could not be written: %2").arg(listPath(folder), reason));
    }
    if (!list.commit())
        return Status::failed(QStringLiteral("The list %1 could not be written: %2")
                                  .arg(listPath(folder), list.errorString()));
    return Status::ok();
}

std::optional<Entry> entryFor(const QString& folder, const QString& name, const QDateTime& written)
{
    const QFileInfo file(QDir(folder).filePath(name));
    if (file.isSymLink() || !file.isFile())
        return std::nullopt;
    return Entry{name, file.size(), file.lastModified().toMSecsSinceEpoch(), written};
}

bool isIntact(const QString& folder, const Entry& entry)
{
    const std::optional<Entry> now = entryFor(folder, entry.name, entry.written);
    return now && now->size == entry.size && now->modifiedMs == entry.modifiedMs;
}

} // namespace BackupRecord
