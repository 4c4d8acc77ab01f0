#include "upkeep/ownkey.h"

#include "data/database.h"
#include "data/programfolder.h"
#include "data/serversettings.h"
#include "data/shopkey.h"
#include "upkeep/backupfile.h"
#include "upkeep/compactdatabase.h"

#include <QDir>
#include <QFile>

namespace OwnKey {

QString backupName(const QDateTime& at)
{
    return QString::fromLatin1(Database::FileName) + QStringLiteral(".before-own-key-") +
           at.toString(QStringLiteral("yyyyMMdd-HHmmss"));
}

Result<Moved> protect(const QDateTime& at)
{
    if (!ServerSettings::address().isEmpty())
        return Status::failed(QStringLiteral("The shop's data is on a database server, which "
                                             "protects it with its own sign-in; there is no file "
                                             "to key."));
    const QString databasePath = ProgramFolder::filePath(QString::fromLatin1(Database::FileName));
    const QString keyPath = ShopKey::filePathBeside(databasePath);
    const Result<ShopKey> current =
        Database::read([](Database& db) -> Result<ShopKey> { return db.fileKey().value(); });
    if (!current)
        return current.status();
    if (!current->isOldPassword())
        return Status::error(Status::Kind::Duplicate,
                             QStringLiteral("The shop's database has its own key already, in %1.")
                                 .arg(QDir::toNativeSeparators(keyPath)));

    const QString backup = ProgramFolder::filePath(backupName(at));
    if (const BackupFile::Outcome made = BackupFile::copyDatabaseTo(backup); !made.isOk())
        return Status::failed(
            QStringLiteral("The backup before the new key could not be written to %1: %2")
                .arg(QDir::toNativeSeparators(backup), made.detail));

    Result<ShopKey> key = ShopKey::readFile(keyPath);
    const bool keyWritten = !key && key.status().isNotFound();
    if (keyWritten) {
        key = ShopKey::generate();
        if (Status written = key->writeFile(keyPath); !written)
            return written;
    }
    if (!key)
        return key.status();
    if (Status moved = CompactDatabase::run(*key); !moved) {
        if (keyWritten)
            QFile::remove(keyPath);
        return moved;
    }
    return Moved{backup, keyPath};
}

} // namespace OwnKey
