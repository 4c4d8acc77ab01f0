#include "reports/billingreport.h"

BillingReport::BillingReport(QWidget* parent)
    : ReportDateWindow(QStringLiteral("Bill.rpt"), QStringLiteral("Billing Statement By Date"),
                       parent, {})
{
    setObjectName(QStringLiteral("BillingReport"));
}
