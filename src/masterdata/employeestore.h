#pragma once

#include "data/database.h"
#include "data/rowsnapshot.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <cstdint>

/** One employee as the Employee window keeps it. */
struct EmployeeRecord {
    QString empId;
    QString firstName;
    QString lastName;
    QString middleInitial;
    QString address;
    QString city;
    QString state;
    QString zip;
    QString phone;
    QString email;
    QString ssn;
    QDate dateOfBirth;
    QDate hireDate;
    QString comments;
    QString picture;
    bool inactive = false;
    bool male = false;
    bool female = false;
    QDate postDate;
    /** The employee as loaded, for an edit to find out whether it changed since. */
    RowSnapshot loaded;
};

/** Reads and writes employees, their logins and their access rights. */
namespace EmployeeStore {

/** Draws the next employee number at once, for the ID of an employee being created. */
Result<std::int64_t> drawNumber();

/** One line per employee, "EmpID    First    Last", sorted by the line's text. */
Result<QStringList> employeeLines();

/** The employee with that ID; NotFound when there is none. */
Result<EmployeeRecord> load(const QString& empId);
/** Adds an employee; Duplicate when the ID is taken. */
Status add(const EmployeeRecord& employee);
/** Rewrites everything but the ID of employee `empId`; NotFound when it is gone. */
Status update(const QString& empId, const EmployeeRecord& employee);
/** Removes the employee together with the login and the access rights, so that the ID can no
 *  longer log in; NotFound when there is no such employee. */
Status remove(const QString& empId);

/** The 25 access flags in column order; NotFound when the employee has no access row. */
Result<QList<bool>> loadAccess(const QString& empId);
/** Gives an employee without access rights the rights and a login with `password`; a login
 *  left from before is replaced. Duplicate when the employee already has rights. */
Status addAccess(const QString& empId, const QList<bool>& rights, const QString& password);
/** Changes the rights, and the password unless `password` is empty; NotFound when the
 *  employee has no access row. */
Status editAccess(const QString& empId, const QList<bool>& rights, const QString& password);

} // namespace EmployeeStore
