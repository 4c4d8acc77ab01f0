#include "data/session.h"

namespace {

QString& employee()
{
    static QString id;
    return id;
}

} // namespace

namespace Session {

QString currentEmployeeId()
{
    return employee();
}

void setCurrentEmployeeId(const QString& empId)
{
    employee() = empId;
}

} // namespace Session
