#include "reports/saletax.h"

SaleTax::SaleTax(QWidget* parent)
    : ReportDateWindow(QStringLiteral("Sales Tax.rpt"), QStringLiteral("Sales Tax Report By Date"),
                       parent, Qt::Window)
{
    setObjectName(QStringLiteral("SaleTax"));
    setAttribute(Qt::WA_DeleteOnClose);
}
