#include "receivables/customerlist.h"

#include "data/database.h"

namespace CustomerList {

Result<QStringList> activeLines()
{
    return Database::read([](Database& db) -> Result<QStringList> {
        Query q = db.query(QStringLiteral(
            "SELECT CustID, CustName FROM Customer WHERE Inactive = 0 ORDER BY CustID"));
        QStringList lines;
        while (q.next())
            lines << q.text(0) + QStringLiteral(" - ") + q.text(1);
        if (!q.status())
            return q.status();
        return lines;
    });
}

QString idOf(const QString& line, const QString& separator)
{
    const qsizetype end = line.indexOf(separator);
    return end < 0 ? line : line.left(end);
}

} // namespace CustomerList
