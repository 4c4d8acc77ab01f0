#pragma once

#include <QString>

/** Who is working: the employee ID of the login that succeeded, set once per run. */
namespace Session {

QString currentEmployeeId();
void setCurrentEmployeeId(const QString& empId);

} // namespace Session
