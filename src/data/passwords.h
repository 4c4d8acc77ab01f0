#pragma once

#include <QString>
#include <optional>

/** Salted, slow password hashes for the Login table; the typed password is never stored. */
namespace Passwords {

/** A self-describing hash of `password`; nothing if the hashing library failed. */
std::optional<QString> hash(const QString& password);
/** Whether `password`, with its case, is the one `storedHash` was made from. */
bool verify(const QString& storedHash, const QString& password);

} // namespace Passwords
