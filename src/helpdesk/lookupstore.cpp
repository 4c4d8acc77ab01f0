#include "helpdesk/lookupstore.h"

namespace LookupStore {

Result<QStringList> firstColumn(Query query)
{
    QStringList values;
    while (query.next())
        values << query.text(0);
    if (!query.status())
        return query.status();
    return values;
}

Result<QStringList> problemTypes()
{
    return column(QStringLiteral("SELECT ProbType FROM ProblemType"));
}

Result<QStringList> hardwareTypes()
{
    return column(QStringLiteral("SELECT Typeh FROM TypeHardware"));
}

Result<QStringList> softwareTypes()
{
    return column(QStringLiteral("SELECT TypeDetail FROM TypeSoftware"));
}

Result<QStringList> customerLines()
{
    return column(QStringLiteral("SELECT CustID || '   ' || COALESCE(CustName, '') "
                                 "FROM Customer WHERE Inactive = 0 ORDER BY CustID"));
}

Result<QStringList> customerAddress(const QString& custId)
{
    return Database::read([&](Database& db) -> Result<QStringList> {
        Query query =
            db.query(QStringLiteral("SELECT CustName, CustAdd, CustCity, CustState, CustZip "
                                    "FROM Customer WHERE CustID = ?"),
                     custId);
        if (!query.next()) {
            if (!query.status())
                return query.status();
            return Status::error(Status::Kind::NotFound, QStringLiteral("No such customer."));
        }
        return addressLines(query.text(0), query.text(1), query.text(2), query.text(3),
                            query.text(4));
    });
}

Result<QStringList> technicianLines()
{
    return column(QStringLiteral("SELECT EmpID || '   ' || COALESCE(EmpFName, '') || '  ' "
                                 "|| COALESCE(EmpLName, '') FROM Employee "
                                 "WHERE Inactive = 0 ORDER BY EmpID"));
}

Result<QStringList> partLines()
{
    return column(QStringLiteral("SELECT ItemNo || ' - ' || COALESCE(ItemDescp, '') "
                                 "FROM Inventory WHERE Inactive = 0 ORDER BY ItemNo"));
}

QStringList addressLines(const QString& name, const QString& street, const QString& city,
                         const QString& state, const QString& zip)
{
    return {name, street, city + QStringLiteral(", ") + state + QStringLiteral("  ") + zip};
}

QString keyOfLine(const QString& line)
{
    const qsizetype blank = line.indexOf(QLatin1Char(' '));
    return blank < 0 ? line : line.left(blank);
}

} // namespace LookupStore
