#include "masterdata/inventorystore.h"

namespace InventoryStore {

namespace {

// Runs one write in its own transaction; a write that touches no row means the part is gone.
template <typename... Args> Status writeOne(Database& db, const QString& sql, const Args&... args)
{
    Transaction transaction(db);
    if (!transaction.isActive())
        return transaction.beginStatus();
    if (Status status = db.exec(sql, args...); !status)
        return status;
    if (db.changes() == 0)
        return Status::error(Status::Kind::NotFound,
                             QStringLiteral("This part number is not in the database."));
    return transaction.commit();
}

} // namespace

Result<QStringList> itemLines(Database& db)
{
    Query q = db.query(QStringLiteral("SELECT ItemNo, ItemDescp FROM Inventory ORDER BY ItemNo"));
    QStringList lines;
    while (q.next())
        lines << q.text(0) + QStringLiteral("  ") + q.text(1);
    if (!q.status())
        return q.status();
    return lines;
}

Result<QStringList> partTypes(Database& db)
{
    Query q = db.query(QStringLiteral("SELECT InvType FROM InventoryType ORDER BY rowid"));
    QStringList types;
    while (q.next())
        types << q.text(0);
    if (!q.status())
        return q.status();
    return types;
}

Result<InventoryItem> load(Database& db, const QString& itemNo)
{
    Query q =
        db.query(QStringLiteral("SELECT ItemNo, ItemDescp, ItemPrice1, Taxable, TaxRate, "
                                "ItemType, Inactive, PostDate FROM Inventory WHERE ItemNo = ?"),
                 itemNo);
    if (!q.next()) {
        if (!q.status())
            return q.status();
        return Status::error(Status::Kind::NotFound,
                             QStringLiteral("This part number is not in the database."));
    }
    InventoryItem item;
    item.itemNo = q.text(0);
    item.description = q.text(1);
    item.price = q.money(2);
    item.taxable = q.boolean(3);
    item.taxRate = q.real(4);
    item.itemType = q.text(5);
    item.inactive = q.boolean(6);
    item.postDate = q.date(7);
    return item;
}

Status add(Database& db, const InventoryItem& item)
{
    return writeOne(db,
                    QStringLiteral("INSERT INTO Inventory (ItemNo, ItemDescp, ItemPrice1, Taxable, "
                                   "TaxRate, ItemType, Inactive, PostDate) "
                                   "VALUES (?, ?, ?, ?, ?, ?, ?, ?)"),
                    item.itemNo, item.description, item.price, item.taxable, item.taxRate,
                    item.itemType, item.inactive, item.postDate);
}

Status update(Database& db, const QString& itemNo, const InventoryItem& item)
{
    return writeOne(db,
                    QStringLiteral("UPDATE Inventory SET ItemNo = ?, ItemDescp = ?, "
                                   "ItemPrice1 = ?, Taxable = ?, TaxRate = ?, ItemType = ?, "
                                   "Inactive = ? WHERE ItemNo = ?"),
                    item.itemNo, item.description, item.price, item.taxable, item.taxRate,
                    item.itemType, item.inactive, itemNo);
}

Status remove(Database& db, const QString& itemNo)
{
    return writeOne(db, QStringLiteral("DELETE FROM Inventory WHERE ItemNo = ?"), itemNo);
}

} // namespace InventoryStore
