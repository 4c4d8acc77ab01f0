#include "masterdata/employeestore.h"

#include "data/counters.h"
#include "data/databasesetup.h"
#include "data/passwords.h"
#include "data/schema.h"

#include <vector>

namespace EmployeeStore {

namespace {

QString notFoundMessage(const QString& empId)
{
    return QStringLiteral("Employee %1 is not in the database.").arg(empId);
}

Status notFound(const QString& empId)
{
    return Status::error(Status::Kind::NotFound, notFoundMessage(empId));
}

Status storePassword(Database& db, const QString& empId, const QString& password)
{
    const auto hashed = Passwords::hash(password);
    if (!hashed)
        return Status::failed(QStringLiteral("The password could not be protected."));
    if (Status status =
            db.exec(QStringLiteral("UPDATE Login SET Pwd = ? WHERE EmpID = ?"), *hashed, empId);
        !status || db.changes() > 0)
        return status;
    return db.exec(QStringLiteral("INSERT INTO Login (EmpID, UserName, Pwd) VALUES (?, ?, ?)"),
                   empId, empId, *hashed);
}

} // namespace

Result<std::int64_t> drawNumber()
{
    // The counter takes its own write transaction, so that the number is used up at once.
    return Database::read([](Database& db) { return Counters::draw(db, Counter::Employee); });
}

Result<QStringList> employeeLines()
{
    return Database::read([](Database& db) -> Result<QStringList> {
        Query q = db.query(QStringLiteral("SELECT EmpID, EmpFName, EmpLName FROM Employee"));
        const QString gap = QStringLiteral("    ");
        QStringList lines;
        while (q.next())
            lines << q.text(0) + gap + q.text(1) + gap + q.text(2);
        if (!q.status())
            return q.status();
        lines.sort(Qt::CaseInsensitive);
        return lines;
    });
}

Result<EmployeeRecord> load(const QString& empId)
{
    return Database::read([&](Database& db) -> Result<EmployeeRecord> {
        const QString sql =
            QStringLiteral("SELECT EmpID, EmpFName, EmpLName, EmpMidIn, EmpAdd, EmpCity, "
                           "EmpState, EmpZip, EmpPhone, EmpEmail, EmpSSN, EmpDOB, EmpHireDate, "
                           "EmpComm, EmpPic, Inactive, Male, Female, PostDate "
                           "FROM Employee WHERE EmpID = ?");
        Query q = db.query(sql, empId);
        if (!q.next())
            return q.status() ? notFound(empId) : q.status();
        EmployeeRecord e;
        e.empId = q.text(0);
        e.firstName = q.text(1);
        e.lastName = q.text(2);
        e.middleInitial = q.text(3);
        e.address = q.text(4);
        e.city = q.text(5);
        e.state = q.text(6);
        e.zip = q.text(7);
        e.phone = q.text(8);
        e.email = q.text(9);
        e.ssn = q.text(10);
        e.dateOfBirth = q.date(11);
        e.hireDate = q.date(12);
        e.comments = q.text(13);
        e.picture = q.text(14);
        e.inactive = q.boolean(15);
        e.male = q.boolean(16);
        e.female = q.boolean(17);
        e.postDate = q.date(18);
        e.loaded = RowSnapshot::of(sql, empId, q);
        return e;
    });
}

Status add(const EmployeeRecord& e)
{
    return Database::write([&](Database& db) {
        return db.exec(
            QStringLiteral("INSERT INTO Employee (EmpID, EmpFName, EmpLName, EmpMidIn, EmpAdd, "
                           "EmpCity, EmpState, EmpZip, EmpPhone, EmpEmail, EmpSSN, EmpDOB, "
                           "EmpHireDate, EmpComm, EmpPic, Inactive, Male, Female, PostDate) "
                           "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
            e.empId, e.firstName, e.lastName, e.middleInitial, e.address, e.city, e.state, e.zip,
            e.phone, e.email, e.ssn, e.dateOfBirth, e.hireDate, e.comments, e.picture, e.inactive,
            e.male, e.female, e.postDate);
    });
}

Status update(const QString& empId, const EmployeeRecord& e)
{
    return Database::write([&](Database& db) {
        if (Status same = e.loaded.verify(db, notFoundMessage(empId)); !same)
            return same;
        return db.changeRow(
            notFoundMessage(empId),
            QStringLiteral("UPDATE Employee SET EmpFName = ?, EmpLName = ?, EmpMidIn = ?, "
                           "EmpAdd = ?, EmpCity = ?, EmpState = ?, EmpZip = ?, EmpPhone = ?, "
                           "EmpEmail = ?, EmpSSN = ?, EmpDOB = ?, EmpHireDate = ?, EmpComm = ?, "
                           "EmpPic = ?, Inactive = ?, Male = ?, Female = ?, PostDate = ? "
                           "WHERE EmpID = ?"),
            e.firstName, e.lastName, e.middleInitial, e.address, e.city, e.state, e.zip, e.phone,
            e.email, e.ssn, e.dateOfBirth, e.hireDate, e.comments, e.picture, e.inactive, e.male,
            e.female, e.postDate, empId);
    });
}

Status remove(const QString& empId)
{
    return Database::write([&](Database& db) {
        Status status = db.changeRow(notFoundMessage(empId),
                                     QStringLiteral("DELETE FROM Employee WHERE EmpID = ?"), empId);
        if (status)
            status = db.exec(QStringLiteral("DELETE FROM Login WHERE EmpID = ?"), empId);
        if (status)
            status = db.exec(QStringLiteral("DELETE FROM EmployeeAccess WHERE EmpID = ?"), empId);
        return status;
    });
}

Result<QList<bool>> loadAccess(const QString& empId)
{
    return Database::read([&](Database& db) -> Result<QList<bool>> {
        const QStringList& flags = Schema::accessFlagColumns();
        Query q = db.query(QStringLiteral("SELECT %1 FROM EmployeeAccess WHERE EmpID = ?")
                               .arg(flags.join(QStringLiteral(", "))),
                           empId);
        if (!q.next())
            return q.status() ? notFound(empId) : q.status();
        QList<bool> rights;
        for (int i = 0; i < flags.size(); ++i)
            rights << q.boolean(i);
        return rights;
    });
}

Status addAccess(const QString& empId, const QList<bool>& rights, const QString& password)
{
    return Database::write([&](Database& db) {
        Status status = db.exec(QStringLiteral("DELETE FROM Login WHERE EmpID = ?"), empId);
        return status ? DatabaseSetup::addLogin(db, empId, password, rights) : status;
    });
}

Status editAccess(const QString& empId, const QList<bool>& rights, const QString& password)
{
    // One bound value a flag column, then the employee's ID.
    const QStringList& flags = Schema::accessFlagColumns();
    QStringList settings;
    std::vector<SqlValue> values;
    for (qsizetype i = 0; i < flags.size(); ++i) {
        settings << flags[i] + QStringLiteral(" = ?");
        values.emplace_back(rights.value(i));
    }
    values.emplace_back(empId);
    const QString sql = QStringLiteral("UPDATE EmployeeAccess SET %1 WHERE EmpID = ?")
                            .arg(settings.join(QStringLiteral(", ")));
    return Database::write([&](Database& db) {
        Status status = db.prepare(sql, values).exec();
        // The statement's values are built at run time, beyond what changeRow takes.
        if (status && db.changes() == 0)
            return notFound(empId);
        return password.isEmpty() || !status ? status : storePassword(db, empId, password);
    });
}

} // namespace EmployeeStore
