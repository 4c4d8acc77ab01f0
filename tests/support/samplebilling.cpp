#include "support/samplebilling.h"

#include "data/database.h"

namespace {

bool report(const Status& status, const QString& what)
{
    if (!status)
        qWarning("%s: %s", qPrintable(what), qPrintable(status.message()));
    return status.isOk();
}

} // namespace

namespace SampleBilling {

bool addInvoice(int invNum, const QString& custId, Currency total, const QList<Currency>& payments,
                int lineCount, const QDate& date)
{
    Database db;
    Status status = db.exec(QStringLiteral("INSERT INTO ARInvoice (InvNum, InvDate, PostDate, "
                                           "CustID, InvTotal) VALUES (?, ?, ?, ?, ?)"),
                            invNum, date, date, custId, total);
    for (int i = 0; status && i < lineCount; ++i) {
        status = db.exec(QStringLiteral("INSERT INTO InvDetail (InvNum, PartNo, PartDescp, "
                                        "PartQty, PartPrice) VALUES (?, 'LAB-HR', 'Labor', 1, ?)"),
                         invNum, total);
    }
    for (int i = 0; status && i < payments.size(); ++i) {
        status = db.exec(QStringLiteral("INSERT INTO AmountPaid (InvNum, CustID, AmtPaid, "
                                        "PayDate, Paid) VALUES (?, ?, ?, ?, 1)"),
                         invNum, custId, payments[i], date.addDays(i + 1));
    }
    return report(status, QStringLiteral("Adding invoice %1").arg(invNum));
}

bool addCustomer(const QString& custId, const QString& name, bool inactive)
{
    Database db;
    return report(db.exec(QStringLiteral("INSERT INTO Customer (CustID, CustName, CustAdd, "
                                         "CustCity, CustState, CustZip, Inactive) "
                                         "VALUES (?, ?, '1 Main Street', 'Salem', 'IL', "
                                         "'62881', ?)"),
                          custId, name, inactive),
                  QStringLiteral("Adding customer %1").arg(custId));
}

bool addTicket(const Ticket& t)
{
    Database db;
    Status status =
        db.exec(QStringLiteral("INSERT INTO CallLog (TicketNum, CustID, Priority, "
                               "CallStatus, ProbType, TypeSpecific, Comm, Tech) "
                               "VALUES (?, ?, '2-Med', ?, ?, ?, ?, ?)"),
                t.number, t.custId, t.status, t.probType, t.specific, t.comments, t.tech);
    if (status && !t.quick.isEmpty()) {
        status = db.exec(QStringLiteral("INSERT INTO ProbSol (TicketNum, QuickDescp, Problem, "
                                        "Solution) VALUES (?, ?, ?, ?)"),
                         t.number, t.quick, t.problem, t.solution);
    }
    return report(status, QStringLiteral("Adding ticket %1").arg(t.number));
}

} // namespace SampleBilling
