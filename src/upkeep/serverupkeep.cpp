#include "upkeep/serverupkeep.h"

#include "data/database.h"

#include <QStandardPaths>

namespace ServerUpkeep {

QString dumpTool()
{
    return QStandardPaths::findExecutable(QStringLiteral("pg_dump"));
}

Status compact(const QString& address)
{
    Database db = Database::atServer(address);
    if (!db.isOpen())
        return db.openStatus();
    return db.exec(QStringLiteral("VACUUM (ANALYZE)"));
}

} // namespace ServerUpkeep
