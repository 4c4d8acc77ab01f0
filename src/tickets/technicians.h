#pragma once

#include "data/status.h"

#include <QList>
#include <QString>

class Database;

/** The active employees, who may be given tickets. */
namespace Technicians {

struct Technician {
    QString id;
    QString firstName;
    QString lastName;
};

/** Every employee not marked inactive, in the order they were entered. */
Result<QList<Technician>> active(Database& db);

/** The employee's first and last name joined by one blank; empty when there is no such ID. */
Result<QString> fullName(Database& db, const QString& empId);

} // namespace Technicians
