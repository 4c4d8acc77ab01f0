#pragma once

#include "data/status.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

/**
 * The key a shop's file is encrypted with: the shop's own random 256-bit key, kept in the key
 * file beside the database and given to SQLCipher as its raw key, or the fixed password of the
 * files older releases made, which opens only those.
 */
class ShopKey {
public:
    static constexpr const char* FileName = "helpdesk-e.key";

    /** A new key of its own, from the system's random source. */
    static ShopKey generate();
    /** The password the files of older releases are encrypted with. */
    static ShopKey oldPassword();
    /** The key written as 64 hex digits (blanks and line ends around it ignored); nothing for
     *  any other text. */
    static std::optional<ShopKey> fromHex(const QByteArray& text);

    /** Reads the key file at `path`: NotFound when there is none, an error that says so when
     *  it holds no key. */
    static Result<ShopKey> readFile(const QString& path);
    /** Writes the key to the file at `path`, owner-only, replacing a file of that name only
     *  once it is complete. */
    Status writeFile(const QString& path) const;

    /** The key file of the database at `databasePath`: beside it in its folder. */
    static QString filePathBeside(const QString& databasePath);
    /** The keys that may open the file at `path`, in the order they are tried: the key file
     *  beside it, the program folder's, then the old password. */
    static QList<ShopKey> candidatesFor(const QString& path);

    bool isOldPassword() const { return m_hex.isEmpty(); }
    /** The 64 hex digits; empty for the old password. */
    const QByteArray& hex() const { return m_hex; }
    /** What SQLCipher is keyed with: x'...' for a key of its own, else the password. */
    QByteArray sqlcipherKey() const;
    bool operator==(const ShopKey&) const = default;

private:
    explicit ShopKey(QByteArray hex) : m_hex(std::move(hex)) {}
    QByteArray m_hex;
};
