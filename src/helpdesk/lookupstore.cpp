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

Result<QStringList> problemTypes(Database& db)
{
    return firstColumn(db.query(QStringLiteral("SELECT ProbType FROM ProblemType")));
}

Result<QStringList> hardwareTypes(Database& db)
{
    return firstColumn(db.query(QStringLiteral("SELECT Typeh FROM TypeHardware")));
}

Result<QStringList> softwareTypes(Database& db)
{
    return firstColumn(db.query(QStringLiteral("SELECT TypeDetail FROM TypeSoftware")));
}

Result<QStringList> customerLines(Database& db)
{
    return firstColumn(
        db.query(QStringLiteral("SELECT CustID || '   ' || IFNULL(CustName, '') "
                                "FROM Customer WHERE Inactive = 0 ORDER BY CustID")));
}

Result<QStringList> customerAddress(Database& db, const QString& custId)
{
    Query query = db.query(QStringLiteral("SELECT CustName, CustAdd, CustCity, CustState, CustZip "
                                          "FROM Customer WHERE CustID = ?"),
                           custId);
    if (!query.next()) {
        if (!query.status())
            return query.status();
        return Status::error(Status::Kind::NotFound, QStringLiteral("No such customer."));
    }
    return addressLines(query.text(0), query.text(1), query.text(2), query.text(3), query.text(4));
}

Result<QStringList> technicianLines(Database& db)
{
    return firstColumn(
        db.query(QStringLiteral("SELECT EmpID || '   ' || IFNULL(EmpFName, '') || '  ' "
                                "|| IFNULL(EmpLName, '') FROM Employee "
                                "WHERE Inactive = 0 ORDER BY EmpID")));
}

Result<QStringList> partLines(Database& db)
{
    return firstColumn(
        db.query(QStringLiteral("SELECT ItemNo || ' - ' || IFNULL(ItemDescp, '') "
                                "FROM Inventory WHERE Inactive = 0 ORDER BY ItemNo")));
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
