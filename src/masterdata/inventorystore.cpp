#include "masterdata/inventorystore.h"

namespace InventoryStore {

namespace {

const QString NotFound = QStringLiteral("This part number is not in the database.");

/** One line a row of `sql`: its columns joined by `gap`. */
Result<QStringList> lines(const QString& sql, const QString& gap = {})
{
    return Database::read([&](Database& db) -> Result<QStringList> {
        Query q = db.query(sql);
        QStringList texts;
        while (q.next()) {
            QStringList columns;
            for (int i = 0; i < q.columnCount(); ++i)
                columns << q.text(i);
            texts << columns.join(gap);
        }
        if (!q.status())
            return q.status();
        return texts;
    });
}

} // namespace

Result<QStringList> itemLines()
{
    return lines(QStringLiteral("SELECT ItemNo, ItemDescp FROM Inventory ORDER BY ItemNo"),
                 QStringLiteral("  "));
}

Result<QStringList> partTypes()
{
    return lines(QStringLiteral("SELECT InvType FROM InventoryType ORDER BY rowid"));
}

Result<InventoryItem> load(const QString& itemNo)
{
    return Database::read([&](Database& db) -> Result<InventoryItem> {
        const QString sql =
            QStringLiteral("SELECT ItemNo, ItemDescp, ItemPrice1, Taxable, TaxRate, ItemType, "
                           "Inactive, PostDate FROM Inventory WHERE ItemNo = ?");
        Query q = db.query(sql, itemNo);
        if (!q.next())
            return q.status() ? Status::error(Status::Kind::NotFound, NotFound) : q.status();
        InventoryItem item;
        item.itemNo = q.text(0);
        item.description = q.text(1);
        item.price = q.money(2);
        item.taxable = q.boolean(3);
        item.taxRate = q.real(4);
        item.itemType = q.text(5);
        item.inactive = q.boolean(6);
        item.postDate = q.date(7);
        item.loaded = RowSnapshot::of(sql, itemNo, q);
        return item;
    });
}

Status add(const InventoryItem& item)
{
    return Database::write([&](Database& db) {
        return db.exec(QStringLiteral("INSERT INTO Inventory (ItemNo, ItemDescp, ItemPrice1, "
                                      "Taxable, TaxRate, ItemType, Inactive, PostDate) "
                                      "VALUES (?, ?, ?, ?, ?, ?, ?, ?)"),
                       item.itemNo, item.description, item.price, item.taxable, item.taxRate,
                       item.itemType, item.inactive, item.postDate);
    });
}

Status update(const QString& itemNo, const InventoryItem& item)
{
    return Database::write([&](Database& db) {
        if (Status same = item.loaded.verify(db, NotFound); !same)
            return same;
        return db.changeRow(NotFound,
                            QStringLiteral("UPDATE Inventory SET ItemNo = ?, ItemDescp = ?, "
                                           "ItemPrice1 = ?, Taxable = ?, TaxRate = ?, "
                                           "ItemType = ?, Inactive = ? WHERE ItemNo = ?"),
                            item.itemNo, item.description, item.price, item.taxable, item.taxRate,
                            item.itemType, item.inactive, itemNo);
    });
}

Status remove(const QString& itemNo)
{
    return Database::write([&](Database& db) {
        return db.changeRow(NotFound, QStringLiteral("DELETE FROM Inventory WHERE ItemNo = ?"),
                            itemNo);
    });
}

} // namespace InventoryStore
