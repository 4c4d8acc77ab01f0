#include "sqlfloors.h"

#include "data/counters.h"
#include "data/database.h"
#include "data/passwords.h"
#include "reportengine/reportdata.h"
#include "reportengine/reportjob.h"
#include "reportengine/selectionformula.h"

#include <QDate>

namespace SqlFloors {

namespace {

// Every value of every row, as the stores read them.
template <typename... Args> void drain(Database& db, const QString& sql, const Args&... args)
{
    Query q = db.query(sql, args...);
    while (q.next()) {
        for (int column = 0; column < q.columnCount(); ++column)
            q.text(column);
    }
    if (!q.status())
        qFatal("Floor statement failed: %s\n%s", qPrintable(sql), qPrintable(q.status().message()));
}
template <typename... Args> void drain(Database& db, const char* sql, const Args&... args)
{
    drain(db, QString::fromUtf8(sql), args...);
}

void activeCustomerLines(Database& db)
{
    drain(db, "SELECT CustID || '   ' || COALESCE(CustName, '') FROM Customer WHERE Inactive = 0 "
              "ORDER BY CustID");
}

void openTicketLines(Database& db, const QString& technician)
{
    drain(db,
          "SELECT c.TicketNum || '\t' || COALESCE(c.CustID, '') || '\t' || "
          "COALESCE(u.CustName, '') || '\t' || COALESCE(c.Priority, '') "
          "FROM CallLog c LEFT JOIN Customer u ON u.CustID = c.CustID "
          "WHERE c.Tech = ? AND c.CallStatus = 'Open' ORDER BY c.Priority, c.TicketNum",
          technician);
}

void problemTypes(Database& db)
{
    drain(db, "SELECT ProbType FROM ProblemType");
}

} // namespace

void login(Database& db, const QString& empId, const QString& password)
{
    Query q = db.query(QStringLiteral("SELECT EmpID, Pwd FROM Login WHERE EmpID = ?"), empId);
    if (!q.next() || !Passwords::verify(q.text(1), password))
        qFatal("The benchmark login does not match.");
    drain(db, "SELECT * FROM EmployeeAccess WHERE EmpID = ?", empId);
}

void openHelpDesk(Database& db, const QString& technician)
{
    for (Counter counter : {Counter::Ticket, Counter::Invoice, Counter::WorkOrder, Counter::Rma,
                            Counter::KnowledgeBase})
        Counters::showNext(db, counter);
    problemTypes(db);
    activeCustomerLines(db);
    openTicketLines(db, technician);
    drain(db, "SELECT EmpID || '   ' || COALESCE(EmpFName, '') || '  ' || COALESCE(EmpLName, '') "
              "FROM Employee WHERE Inactive = 0 ORDER BY EmpID");
    drain(db, "SELECT ItemNo || ' - ' || COALESCE(ItemDescp, '') FROM Inventory WHERE Inactive = 0 "
              "ORDER BY ItemNo");
}

void chooseOpenTicket(Database& db, int ticket)
{
    drain(db,
          "SELECT c.CustID, c.Comm, u.CustID IS NOT NULL, u.CustName, u.CustAdd, u.CustCity, "
          "u.CustState, u.CustZip FROM CallLog c LEFT JOIN Customer u ON u.CustID = c.CustID "
          "WHERE c.TicketNum = ?",
          ticket);
    drain(db,
          "SELECT QuickDescp, Problem, Solution FROM ProbSol WHERE rowid = "
          "(SELECT MIN(rowid) FROM ProbSol WHERE TicketNum = ? AND KBEntry = 0)",
          ticket);
    drain(db,
          "SELECT WorkNum, RMANum, RepairTech, RepairNotes, WrkOrd, Invoiced FROM RepairOrder "
          "WHERE TicketNum = ? ORDER BY rowid LIMIT 1",
          ticket);
}

void logCall(Database& db, const QString& customerId, const QString& technician)
{
    const Status saved = db.inTransaction([&](Database& scope) -> Status {
        const auto shown = Counters::showNext(scope, Counter::Ticket);
        const auto number = Counters::numberToSave(scope, Counter::Ticket, shown.value_or(0));
        if (!number)
            return number.status();
        if (Status status = scope.exec(
                QStringLiteral("INSERT INTO CallLog (TicketNum, CustID, Priority, CallStatus, "
                               "ProbType, TypeSpecific, Comm, Tech, OpenPostDate) "
                               "VALUES (?, ?, '2-Med', 'Open', 'Printer', 'Printer', '', ?, ?)"),
                *number, customerId, technician, QDate::currentDate());
            !status)
            return status;
        if (Status status = scope.exec(
                QStringLiteral("INSERT INTO ProbSol (TicketNum, QuickDescp, Problem, Solution, "
                               "SaveKB) VALUES (?, 'Paper jam', 'Jams on every page.', '', 0)"),
                *number);
            !status)
            return status;
        return Counters::commit(scope, Counter::Ticket, *number);
    });
    if (!saved)
        qFatal("The floor's call was not logged: %s", qPrintable(saved.message()));
    // The page is cleared for the next call and the technician's list shows the new ticket.
    activeCustomerLines(db);
    problemTypes(db);
    openTicketLines(db, technician);
}

void searchKnowledgeBase(Database& db, const QString& text)
{
    drain(db,
          "SELECT rowid, TicketNum, QuickDescp FROM ProbSol WHERE QuickDescp LIKE ? ESCAPE '\\' "
          "AND SaveKB = 1 ORDER BY rowid",
          likeContains(text));
}

void openOpenOrders(Database& db, int lines)
{
    drain(db, "SELECT COUNT(*), COUNT(CASE WHEN Priority = '1-High' THEN 1 END), "
              "COUNT(CASE WHEN Priority = '2-Med' THEN 1 END), "
              "COUNT(CASE WHEN Priority = '3-Low' THEN 1 END) "
              "FROM CallLog WHERE CallStatus = 'Open'");
    // Every ticket with its customer's name: the names are read once, the tickets in order.
    drain(db, "SELECT CustID, CustName FROM Customer");
    const QString tickets =
        QStringLiteral("SELECT TicketNum, CustID, OpenPostDate, ClosePostDate, Tech, %1 "
                       "FROM CallLog ORDER BY TicketNum")
            .arg(db.daysBetween(QStringLiteral("ClosePostDate"), QStringLiteral("OpenPostDate")));
    if (lines < 0)
        drain(db, tickets);
    else
        drain(db, tickets + QStringLiteral(" LIMIT ?"), lines);
    drain(db, "SELECT EmpID, EmpFName, EmpLName FROM Employee WHERE Inactive = 0 ORDER BY rowid");
}

void chooseTechnician(Database& db, const QString& technician)
{
    drain(db,
          "SELECT TicketNum, Priority, CallStatus, ProbType, TypeSpecific FROM CallLog "
          "WHERE Tech = ? ORDER BY Priority, TicketNum",
          technician);
    drain(db, "SELECT EmpFName, EmpLName FROM Employee WHERE EmpID = ?", technician);
}

void customerLines(Database& db)
{
    drain(db, "SELECT CustID, CustName FROM Customer WHERE Inactive = 0 ORDER BY CustID");
}

void choosePaymentCustomer(Database& db, const QString& customerId)
{
    drain(db,
          "SELECT CustName, CustAdd, CustCity, CustState, CustZip FROM Customer "
          "WHERE CustID = ?",
          customerId);
    drain(db,
          "SELECT i.InvNum, i.InvDate, i.InvTotal, COALESCE(SUM(a.AmtPaid), 0) FROM ARInvoice i "
          "LEFT JOIN AmountPaid a ON a.InvNum = i.InvNum WHERE i.CustID = ? AND i.InvPaid = 0 "
          "GROUP BY i.InvNum, i.InvDate, i.InvTotal ORDER BY i.InvNum",
          customerId);
}

void chooseHistoryCustomer(Database& db, const QString& customerId)
{
    drain(db,
          "SELECT TicketNum, CallStatus, ProbType, TypeSpecific, Tech FROM CallLog "
          "WHERE CustID = ? ORDER BY TicketNum",
          customerId);
}

void reportRecords(Database& db, const QString& layoutName)
{
    const auto layout = ReportLayout::load(resolveLayoutPath(layoutName));
    if (!layout)
        qFatal("Cannot read the layout %s", qPrintable(layoutName));
    const auto condition =
        SelectionFormula::parse(layout->filter, ReportData::fieldResolver(db, *layout));
    if (!condition)
        qFatal("Cannot read the layout's filter: %s", qPrintable(condition.status().message()));
    ReportData::stream(db, *layout, *condition, [](const ReportRow&) {});
}

} // namespace SqlFloors
