#pragma once

#include <QObject>

/** The handlers of the Reports menu: each entry runs its layout through the report engine,
 *  asking first for the technician, invoice or work order where the entry needs one. */
class ReportMenu : public QObject {
    Q_OBJECT

public:
    explicit ReportMenu(QObject* parent = nullptr);

    static const QString OpenTicketTitle;

Q_SIGNALS:
    /** "By Date" of the billing statement: the main window shows its BillingReport child. */
    void billingReportRequested();
    /** "By Date" of the sales tax report: the main window shows its SaleTax pop-up. */
    void saleTaxRequested();

public Q_SLOTS:
    void mnuBillfull_Click();
    void mnuBillDate_Click();
    void mnuCallStat_Click();
    void mnuEmplst_Click();
    void mnuInvent_Click();
    void mnuKB_Click();
    void mnuopentickets_Click();
    void mnuOpnTickTech_Click();
    void mnuPrtAllInv_Click();
    void mnuReprint_Click();
    void mnusaltaxfull_Click();
    void mnusaltaxdate_Click();
    void mnuwrkorder_Click();
};
