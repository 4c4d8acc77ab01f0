#pragma once

#include <QString>

/** Where the upkeep of the File menu acts: the shop's encrypted file or its database server. */
namespace ShopPlace {

/** "the shop file <path>" or "the database server <user@host:port/database>". */
QString describe();

/** `message` with a last line that names where the work was done or tried. */
QString naming(const QString& message);

} // namespace ShopPlace
