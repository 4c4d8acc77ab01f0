#include "masterdata/customerstore.h"

#include "data/counters.h"
#include "masterdata/companystore.h"

#include <algorithm>

namespace CustomerStore {

namespace {

const QString NotFound = QStringLiteral("No record found");
const QString Columns = QStringLiteral("CustID, CustName, CustAdd, CustCity, CustState, CustZip, "
                                       "CustPhone, CustFax, CustEmail, Comm, Inactive, PostDate");

} // namespace

QString formId(const QString& name, std::int64_t number)
{
    const QString first = name.left(1).trimmed().toUpper();
    const QString last = name.right(2).trimmed().toUpper();
    return first + last + QString::number(-number);
}

Result<QString> drawId(const QString& name)
{
    // The counter takes its own write transaction, so that the number is used up at once.
    return Database::read([&](Database& db) -> Result<QString> {
        const auto number = Counters::draw(db, Counter::Customer);
        if (!number)
            return number.status();
        return formId(name, *number);
    });
}

Result<QStringList> listLines()
{
    return Database::read([](Database& db) -> Result<QStringList> {
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
    });
}

Result<CustomerRecord> load(const QString& id)
{
    return Database::read([&](Database& db) -> Result<CustomerRecord> {
        const QString sql = QStringLiteral("SELECT %1 FROM Customer WHERE CustID = ?").arg(Columns);
        Query query = db.query(sql, id);
        if (!query.next())
            return query.status() ? Status::error(Status::Kind::NotFound, NotFound)
                                  : query.status();
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
        customer.loaded = RowSnapshot::of(sql, id, query);
        return customer;
    });
}

Status create(const CustomerRecord& c)
{
    if (c.id.isEmpty())
        return Status::failed(QStringLiteral("The customer has no ID."));
    return Database::write([&](Database& db) {
        return db.exec(QStringLiteral("INSERT INTO Customer (CustID, CustName, CustAdd, CustCity, "
                                      "CustState, CustZip, CustPhone, CustFax, CustEmail, Comm, "
                                      "Inactive, CompID, PostDate) "
                                      "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                       c.id, c.name, c.address, c.city, c.state, c.zip, c.phone, c.fax, c.email,
                       c.comment, c.inactive, CompanyStore::CompanyId, c.postDate);
    });
}

Status update(const CustomerRecord& c)
{
    return Database::write([&](Database& db) {
        if (Status same = c.loaded.verify(db, NotFound); !same)
            return same;
        return db.changeRow(NotFound,
                            QStringLiteral("UPDATE Customer SET CustName = ?, CustAdd = ?, "
                                           "CustCity = ?, CustState = ?, CustZip = ?, "
                                           "CustPhone = ?, CustFax = ?, CustEmail = ?, Comm = ?, "
                                           "Inactive = ? WHERE CustID = ?"),
                            c.name, c.address, c.city, c.state, c.zip, c.phone, c.fax, c.email,
                            c.comment, c.inactive, c.id);
    });
}

Result<bool> hasOpenInvoices(const QString& id)
{
    return Database::read([&](Database& db) -> Result<bool> {
        Query query = db.query(
            QStringLiteral("SELECT 1 FROM ARInvoice WHERE CustID = ? AND InvPaid = 0 LIMIT 1"), id);
        const bool found = query.next();
        if (!query.status())
            return query.status();
        return found;
    });
}

Status remove(const QString& id)
{
    return Database::write([&](Database& db) {
        return db.changeRow(NotFound, QStringLiteral("DELETE FROM Customer WHERE CustID = ?"), id);
    });
}

} // namespace CustomerStore
