#include "reports/reportmenu.h"

#include "data/conversions.h"
#include "reports/invoiceprinting.h"
#include "reports/reportpreview.h"
#include "widgets/prompter.h"

const QString ReportMenu::OpenTicketTitle = QStringLiteral("Open Ticket Log");

namespace {

/** A value placed between quotes in a selection formula: a quote inside it is doubled, so the
 *  typed text is compared as it is and cannot change the formula. */
QString quotedFormulaText(const QString& text)
{
    QString doubled = text;
    doubled.replace(QLatin1Char('\''), QLatin1String("''"));
    return QStringLiteral("'%1'").arg(doubled);
}

} // namespace

ReportMenu::ReportMenu(QObject* parent) : QObject(parent) {}

void ReportMenu::mnuBillfull_Click()
{
    previewReport(
        {QStringLiteral("Bill.rpt"), QString(), QStringLiteral("Print Billing Statememt"), {}});
}

void ReportMenu::mnuBillDate_Click()
{
    Q_EMIT billingReportRequested();
}

void ReportMenu::mnuCallStat_Click()
{
    previewReport({QStringLiteral("Call Log Statistics.rpt"),
                   QString(),
                   QStringLiteral("Print Call Log Statistics"),
                   {}});
}

void ReportMenu::mnuEmplst_Click()
{
    previewReport(
        {QStringLiteral("Employee List.rpt"), QString(), QStringLiteral("Employee List"), {}});
}

void ReportMenu::mnuInvent_Click()
{
    previewReport(
        {QStringLiteral("Inventory List.rpt"), QString(), QStringLiteral("Inventory List"), {}});
}

void ReportMenu::mnuKB_Click()
{
    previewReport(
        {QStringLiteral("NBS.rpt"), QString(), QStringLiteral("Print Knowledge Base"), {}});
}

void ReportMenu::mnuopentickets_Click()
{
    previewReport({QStringLiteral("Open Tickets By Technician.rpt"),
                   QStringLiteral("{CallLog.CallStatus}= 'Open'"),
                   QStringLiteral("Print Open Ticket Log"), OpenTicketTitle});
}

void ReportMenu::mnuOpnTickTech_Click()
{
    const QString tech = prompter()
                             .input(QStringLiteral("Please enter the Tech ID you wish to view."))
                             .value_or(QString());
    previewReport({QStringLiteral("Open Tickets By Technician.rpt"),
                   QStringLiteral("{CallLog.Tech}=") + quotedFormulaText(tech) +
                       QStringLiteral(" and {CallLog.CallStatus}= 'Open'"),
                   QStringLiteral("Print Open Tickets by Technician"),
                   {}});
}

void ReportMenu::mnuPrtAllInv_Click()
{
    InvoicePrinting::printAllUnprinted();
}

void ReportMenu::mnuReprint_Click()
{
    const auto answer = prompter().input(QStringLiteral("Enter invoice number to reprint."));
    const auto number = conv::toInt32(answer.value_or(QString()));
    if (!number.ok()) {
        prompter().message(QStringLiteral("Please enter numbers only!"));
        return;
    }
    previewReport({QStringLiteral("invoice2.rpt"),
                   QStringLiteral("{ARINVOICE.InvNum}=%1").arg(number.value),
                   QStringLiteral("Print Invoice"),
                   {}});
}

void ReportMenu::mnusaltaxfull_Click()
{
    previewReport(
        {QStringLiteral("Sales Tax.rpt"), QString(), QStringLiteral("Sales Tax Report"), {}});
}

void ReportMenu::mnusaltaxdate_Click()
{
    Q_EMIT saleTaxRequested();
}

void ReportMenu::mnuwrkorder_Click()
{
    const auto answer =
        prompter().input(QStringLiteral("Please enter the Work Order number you want to print."));
    const auto number = conv::toInt32(answer.value_or(QString()));
    previewReport({QStringLiteral("workorder.rpt"),
                   QStringLiteral("{RepairOrder.WorkNum}=%1").arg(number.ok() ? number.value : 0),
                   QStringLiteral("Work Order"),
                   {}});
}
