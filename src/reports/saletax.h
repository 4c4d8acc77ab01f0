#pragma once

#include "reports/reportdatewindow.h"

/** The sales tax report for a range of invoice dates; a pop-up window over the main window. */
class SaleTax : public ReportDateWindow {
    Q_OBJECT

public:
    explicit SaleTax(QWidget* parent = nullptr);
};
