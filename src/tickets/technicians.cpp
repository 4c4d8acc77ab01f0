#include "tickets/technicians.h"

#include "data/database.h"

namespace Technicians {

Result<QList<Technician>> active(Database& db)
{
    Query q = db.query(QStringLiteral("SELECT EmpID, EmpFName, EmpLName FROM Employee "
                                      "WHERE Inactive = 0 ORDER BY rowid"));
    QList<Technician> technicians;
    while (q.next())
        technicians.append({q.text(0), q.text(1), q.text(2)});
    if (!q.status())
        return q.status();
    return technicians;
}

Result<QString> fullName(Database& db, const QString& empId)
{
    Query q =
        db.query(QStringLiteral("SELECT EmpFName, EmpLName FROM Employee WHERE EmpID = ?"), empId);
    if (q.next())
        return q.text(0) + QLatin1Char(' ') + q.text(1);
    if (!q.status())
        return q.status();
    return QString();
}

} // namespace Technicians
