#include "data/shopkey.h"

#include "data/privatefile.h"
#include "data/programfolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSaveFile>
#include <array>

namespace {

// The files of older releases were keyed with this password; it opens only those, never a
// file made with a key of its own.
constexpr char OldPassword[] = "qzt517406";
constexpr int KeyBytes = 32;

} // namespace

ShopKey ShopKey::generate()
{
    std::array<quint32, KeyBytes / 4> words{};
    QRandomGenerator::system()->fillRange(words.data(), words.size());
    return ShopKey(
        QByteArray(reinterpret_cast<const char*>(words.data()), KeyBytes).toHex().toLower());
}

ShopKey ShopKey::oldPassword()
{
    return ShopKey(QByteArray());
}

std::optional<ShopKey> ShopKey::fromHex(const QByteArray& text)
{
    const QByteArray digits = text.trimmed().toLower();
    if (digits.size() != KeyBytes * 2)
        return std::nullopt;
    for (const char c : digits)
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f')))
            return std::nullopt;
    return ShopKey(digits);
}

Result<ShopKey> ShopKey::readFile(const QString& path)
{
    QFile file(path);
    if (!file.exists())
        return Status::error(
            Status::Kind::NotFound,
            QStringLiteral("There is no key file %1.").arg(QDir::toNativeSeparators(path)));
    if (!file.open(QIODevice::ReadOnly))
        return Status::failed(QStringLiteral("The key file %1 cannot be read: %2")
                                  .arg(QDir::toNativeSeparators(path), file.errorString()));
    // A key file holds one line; anything much longer is some other file.
    if (const auto key = fromHex(file.read(4096)))
        return *key;
    return Status::failed(QStringLiteral("The file %1 holds no shop's key (64 hex digits).")
                              .arg(QDir::toNativeSeparators(path)));
}

Status ShopKey::writeFile(const QString& path) const
{
    const PrivateFile::CreationGuard ownerOnly;
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly)) {
        file.setPermissions(QFile::ReadOwner | QFile::WriteOwner);
        file.write(m_hex + '\n');
        if (file.commit())
            return Status::ok();
    }
    return Status::failed(QStringLiteral("The key file %1 could not be written: %2")
                              .arg(QDir::toNativeSeparators(path), file.errorString()));
}

QString ShopKey::filePathBeside(const QString& databasePath)
{
    return QFileInfo(databasePath).absoluteDir().filePath(QString::fromLatin1(FileName));
}

QList<ShopKey> ShopKey::candidatesFor(const QString& path)
{
    QList<ShopKey> keys;
    const QString programKey = ProgramFolder::filePath(QString::fromLatin1(FileName));
    for (const QString& file : {filePathBeside(path), QFileInfo(programKey).absoluteFilePath()})
        if (const Result<ShopKey> key = readFile(file); key && !keys.contains(*key))
            keys << *key;
    keys << oldPassword();
    return keys;
}

QByteArray ShopKey::sqlcipherKey() const
{
    if (isOldPassword())
        return QByteArray(OldPassword, sizeof OldPassword - 1);
    return "x'" + m_hex + "'";
}
