#include "masterdata/typestore.h"

namespace TypeStore {

namespace {

struct Table {
    QString table;
    QString column;
};

Table tableOf(TypeList list)
{
    if (list == TypeList::Hardware)
        return {QStringLiteral("TypeHardware"), QStringLiteral("Typeh")};
    return {QStringLiteral("TypeSoftware"), QStringLiteral("TypeDetail")};
}

} // namespace

Result<QStringList> types(TypeList list)
{
    const auto [table, column] = tableOf(list);
    return Database::read([&](Database& db) -> Result<QStringList> {
        Query query = db.query(QStringLiteral("SELECT %1 FROM %2").arg(column, table));
        QStringList found;
        while (query.next())
            found << query.text(0);
        if (!query.status())
            return query.status();
        return found;
    });
}

Status add(TypeList list, const QString& type)
{
    const auto [table, column] = tableOf(list);
    return Database::write([&](Database& db) {
        return db.exec(QStringLiteral("INSERT INTO %1 (%2) VALUES (?)").arg(table, column), type);
    });
}

Status remove(TypeList list, const QString& type)
{
    const auto [table, column] = tableOf(list);
    return Database::write([&](Database& db) {
        return db.changeRow(QStringLiteral("No record found"),
                            QStringLiteral("DELETE FROM %1 WHERE %2 = ?").arg(table, column), type);
    });
}

} // namespace TypeStore
