#include "masterdata/customerstore.h"

#include "data/counters.h"
#include "masterdata/companystore.h"

#include <algorithm>

namespace {

/** Runs one writing statement in its own transaction; with `mustChange` a statement that
 *  matches no customer is refused, so that it is not taken for done. */
Status writeOne(Database& db, const QString& sql, std::initializer_list<SqlValue> values,
                bool mustChange)
{
    Transaction transaction(db);
    if (!transaction.isActive())
        return transaction.beginStatus();
    if (Status status = db.prepare(sql, values).exec(); !status)
        return status;
    if (mustChange && db.changes() == 0)
        return Status::error(Status::Kind::NotFound, QStringLiteral("No record found"));
    return transaction.commit();
}

} // namespace

namespace CustomerStore {

QString formId(const QString& name, std::int64_t number)
{
    const QString first = name.left(1).trimmed().toUpper();
    const QString last = name.right(2).trimmed().toUpper();
    return first + last + QString::number(-number);
}

Result<QString> drawId(Database& db, const QString& name)
{
    const auto number = Counters::draw(db, Counter::Customer);
    if (!number)
        return number.status();
    return formId(name, *number);
}

Result<QStringList> listLines(Database& db)
{
    Query query = db.query(QStringLiteral("SELECT CustID, CustName FROM Customer"));
    QStringList lines;
    while (query.next())
        lines << query.text(0) + QStringLiteral("   ") + query.text(1);
    if (!query.status())
        return query.status();
    std::sort(lines.begin(), lines.end(), [](const QString& a, const QString& b) {
        return QString::compare(a, b, Qt::CaseInsensitive) < 0;
    });
    return lines;
}

Result<CustomerRecord> load(Database& db, const QString& id)
{
    Query query = db.query(QStringLiteral("SELECT CustID, CustName, CustAdd, CustCity, CustState, "
                                          "CustZip, CustPhone, CustFax, CustEmail, Comm, "
                                          "Inactive, PostDate FROM Customer WHERE CustID = ?"),
                           id);
    if (!query.next()) {
        if (!query.status())
            return query.status();
        return Status::error(Status::Kind::NotFound, QStringLiteral("No record found"));
    }
    CustomerRecord customer;
    customer.id = query.text(0);
    customer.name = query.text(1);
    customer.address = query.text(2);
    customer.city = query.text(3);
    customer.state = query.text(4);
    customer.zip = query.text(5);
    customer.phone = query.text(6);
    customer.fax = query.text(7);
    customer.email = query.text(8);
    customer.comment = query.text(9);
    customer.inactive = query.boolean(10);
    customer.postDate = query.date(11);
    return customer;
}

Status create(Database& db, const CustomerRecord& c)
{
    if (c.id.isEmpty())
        return Status::failed(QStringLiteral("The customer has no ID."));
    return writeOne(db,
                    QStringLiteral("INSERT INTO Customer (CustID, CustName, CustAdd, CustCity, "
                                   "CustState, CustZip, CustPhone, CustFax, CustEmail, Comm, "
                                   "Inactive, CompID, PostDate) "
                                   "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                    {c.id, c.name, c.address, c.city, c.state, c.zip, c.phone, c.fax, c.email,
                     c.comment, c.inactive, CompanyStore::CompanyId, c.postDate},
                    false);
}

Status update(Database& db, const CustomerRecord& c)
{
    return writeOne(db,
                    QStringLiteral("UPDATE Customer SET CustName = ?, CustAdd = ?, CustCity = ?, "
                                   "CustState = ?, CustZip = ?, CustPhone = ?, CustFax = ?, "
                                   "CustEmail = ?, Comm = ?, Inactive = ? WHERE CustID = ?"),
                    {c.name, c.address, c.city, c.state, c.zip, c.phone, c.fax, c.email, c.comment,
                     c.inactive, c.id},
                    true);
}

Result<bool> hasOpenInvoices(Database& db, const QString& id)
{
    Query query = db.query(
        QStringLiteral("SELECT 1 FROM ARInvoice WHERE CustID = ? AND InvPaid = 0 LIMIT 1"), id);
    const bool found = query.next();
    if (!query.status())
        return query.status();
    return found;
}

Status remove(Database& db, const QString& id)
{
    return writeOne(db, QStringLiteral("DELETE FROM Customer WHERE CustID = ?"), {id}, true);
}

} // namespace CustomerStore
