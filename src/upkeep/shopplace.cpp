#include "upkeep/shopplace.h"

#include "data/database.h"
#include "data/programfolder.h"
#include "data/serversettings.h"

namespace ShopPlace {

QString describe()
{
    if (const QString server = ServerSettings::address(); !server.isEmpty())
        return QStringLiteral("the database server %1").arg(ServerSettings::describe(server));
    return QStringLiteral("the shop file %1")
        .arg(ProgramFolder::filePath(QString::fromLatin1(Database::FileName)));
}

QString naming(const QString& message)
{
    return message + QStringLiteral("\n\nDatabase: ") + describe();
}

} // namespace ShopPlace
