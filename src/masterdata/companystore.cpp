#include "masterdata/companystore.h"

namespace CompanyStore {

namespace {

const QString Columns = QStringLiteral(
    "CompName, CompAdd, CompCity, CompState, CompZip, CompPhone, CompFax, CompEmail, CompWeb");

} // namespace

Result<std::optional<CompanyFields>> load()
{
    return Database::read([](Database& db) -> Result<std::optional<CompanyFields>> {
        Query query =
            db.query(QStringLiteral("SELECT %1 FROM COMPANY ORDER BY rowid LIMIT 1").arg(Columns));
        if (!query.next()) {
            if (!query.status())
                return query.status();
            return std::optional<CompanyFields>();
        }
        CompanyFields fields;
        for (int i = 0; i < int(fields.size()); ++i)
            fields[i] = query.text(i);
        return std::optional<CompanyFields>(fields);
    });
}

Status add(const CompanyFields& f, const QDate& postDate)
{
    return Database::write([&](Database& db) {
        return db.exec(QStringLiteral("INSERT INTO COMPANY (%1, PostDate, CompID) "
                                      "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")
                           .arg(Columns),
                       f[0], f[1], f[2], f[3], f[4], f[5], f[6], f[7], f[8], postDate, CompanyId);
    });
}

Status update(const CompanyFields& f)
{
    return Database::write([&](Database& db) {
        return db.changeRow(
            QStringLiteral("No record found"),
            QStringLiteral("UPDATE COMPANY SET CompName = ?, CompAdd = ?, CompCity = ?, "
                           "CompState = ?, CompZip = ?, CompPhone = ?, CompFax = ?, "
                           "CompEmail = ?, CompWeb = ? "
                           "WHERE rowid = (SELECT MIN(rowid) FROM COMPANY)"),
            f[0], f[1], f[2], f[3], f[4], f[5], f[6], f[7], f[8]);
    });
}

} // namespace CompanyStore
