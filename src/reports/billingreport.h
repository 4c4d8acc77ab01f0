#pragma once

#include "reports/reportdatewindow.h"

/** The billing statement for a range of invoice dates; a child of the main window. */
class BillingReport : public ReportDateWindow {
    Q_OBJECT

public:
    explicit BillingReport(QWidget* parent = nullptr);
};
