#pragma once

#include "data/database.h"
#include "data/rowsnapshot.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <cstdint>

/** One customer as the customer window shows and saves it. */
struct CustomerRecord {
    QString id;
    QString name;
    QString address;
    QString city;
    QString state;
    QString zip;
    QString phone;
    QString fax;
    QString email;
    QString comment;
    bool inactive = false;
    QDate postDate;
    /** The customer as loaded, for an edit to find out whether it changed since. */
    RowSnapshot loaded;
};

/** The customer table and its numbering, for the customer window. */
namespace CustomerStore {

/** The ID of a new customer: the name's first letter and last two letters (each trimmed of
 *  blanks), in capitals, then a minus sign and the customer number. */
QString formId(const QString& name, std::int64_t number);

/** Draws the next customer number at once and forms the ID for `name` from it. */
Result<QString> drawId(const QString& name);

/** One line per customer, "ID   Name", sorted by the line text without regard to case. */
Result<QStringList> listLines();

Result<CustomerRecord> load(const QString& id);

/** Adds the customer under its ID; a taken ID comes back as a duplicate. */
Status create(const CustomerRecord& customer);

/** Rewrites the customer's details; its ID, company and post date stay. Refused (Changed) when
 *  another workstation changed the customer since it was loaded. */
Status update(const CustomerRecord& customer);

/** Whether the customer has an invoice that is not yet paid. */
Result<bool> hasOpenInvoices(const QString& id);

/** Deletes the customer row only; tickets, invoices and payments stay. */
Status remove(const QString& id);

} // namespace CustomerStore
