#pragma once

#include "data/currency.h"
#include "data/database.h"
#include "data/rowsnapshot.h"

#include <QDate>
#include <QString>
#include <QStringList>

/** One part that can be billed on an invoice. */
struct InventoryItem {
    QString itemNo;
    QString description;
    Currency price;
    bool taxable = false;
    double taxRate = 0;
    QString itemType;
    bool inactive = false;
    QDate postDate;
    /** The part as loaded, for an edit to find out whether it changed since. */
    RowSnapshot loaded;
};

/** Reads and writes the parts list and reads the part types. */
namespace InventoryStore {

/** One line per part, "ItemNo  ItemDescp", ordered by part number. */
Result<QStringList> itemLines();
/** The part types in the order the table holds them. */
Result<QStringList> partTypes();

/** The part with that number; NotFound when there is none. */
Result<InventoryItem> load(const QString& itemNo);
/** Adds a part; Duplicate when the part number is taken. */
Status add(const InventoryItem& item);
/** Rewrites the part `itemNo` (its number too, but not its post date); NotFound when it is
 *  gone, Changed when another workstation changed it since it was loaded, Duplicate when the
 *  new number belongs to another part. */
Status update(const QString& itemNo, const InventoryItem& item);
/** Removes the part; NotFound when there is none. */
Status remove(const QString& itemNo);

} // namespace InventoryStore
