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

Result<QStringList> types(Database& db, TypeList list)
{
    const auto [table, column] = tableOf(list);
    Query query = db.query(QStringLiteral("SELECT %1 FROM %2").arg(column, table));
    QStringList found;
    while (query.next())
        found << query.text(0);
    if (!query.status())
        return query.status();
    return found;
}

Status add(Database& db, TypeList list, const QString& type)
{
    const auto [table, column] = tableOf(list);
    Transaction transaction(db);
    if (!transaction.isActive())
        return transaction.beginStatus();
    if (Status status =
            db.exec(QStringLiteral("INSERT INTO %1 (%2) VALUES (?)").arg(table, column), type);
        !status)
        return status;
    return transaction.commit();
}

Result<int> remove(Database& db, TypeList list, const QString& type)
{
    const auto [table, column] = tableOf(list);
    Transaction transaction(db);
    if (!transaction.isActive())
        return transaction.beginStatus();
    if (Status status =
            db.exec(QStringLiteral("DELETE FROM %1 WHERE %2 = ?").arg(table, column), type);
        !status)
        return status;
    const int removed = db.changes();
    if (Status status = transaction.commit(); !status)
        return status;
    return removed;
}

} // namespace TypeStore
