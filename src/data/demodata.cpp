#include "data/counters.h"
#include "data/databasesetup.h"
#include "data/schema.h"

#include <QDate>

namespace {

struct Step {
    Status status;
    template <typename... Args> void run(Database& db, const char* sql, const Args&... args)
    {
        if (status)
            status = db.exec(QString::fromUtf8(sql), args...);
    }
};

QDate daysAgo(int days)
{
    return QDate::currentDate().addDays(-days);
}

void addCompany(Database& db, Step& step)
{
    step.run(db,
             "INSERT INTO COMPANY VALUES ('Northgate PC Repair', '412 Commerce Street', "
             "'Springfield', 'IL', '62701', '(217) 555-0140', '(217) 555-0141', "
             "'service@northgatepc.example', 'www.northgatepc.example', ?, 'pmdx')",
             daysAgo(400));
}

void addCustomers(Database& db, Step& step)
{
    struct Customer {
        const char *id, *name, *address, *city, *state, *zip, *phone, *fax, *email, *comment;
        bool inactive;
    };
    const Customer customers[] = {
        {"JTH-1", "John Smith", "18 Maple Avenue", "Springfield", "IL", "62702", "(217) 555-0198",
         "", "jsmith@example.com", "Prefers calls after 5 pm.", false},
        {"MIA-2", "Maria Garcia", "77 Lakeview Drive", "Chatham", "IL", "62629", "(217) 555-0123",
         "", "mgarcia@example.com", "", false},
        {"AES-3", "Allen Dental Associates", "230 Oak Street", "Springfield", "IL", "62704",
         "(217) 555-0177", "(217) 555-0178", "office@allendental.example",
         "Business account, net 30.", false},
        {"BEY-4", "Brenda Bradley", "5 Cherry Lane", "Rochester", "IL", "62563", "(217) 555-0110",
         "", "", "", false},
        {"PKS-5", "Prairie State Books", "1020 Wabash Avenue", "Springfield", "IL", "62704",
         "(217) 555-0164", "(217) 555-0165", "books@prairiestate.example", "", false},
        {"DSS-6", "David Ross", "9 Birch Court", "Sherman", "IL", "62684", "(217) 555-0150", "",
         "dross@example.com", "Moved away; account closed.", true},
        {"KEN-7", "Kim Chen", "301 Spring Street", "Springfield", "IL", "62701", "(217) 555-0133",
         "", "kchen@example.com", "", false},
    };
    for (const Customer& c : customers) {
        step.run(db, "INSERT INTO Customer VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, 'pmdx', ?)",
                 c.id, c.name, c.address, c.city, c.state, c.zip, c.phone, c.fax, c.email,
                 c.comment, c.inactive, daysAgo(200));
    }
    step.run(db, "UPDATE CUSTCOUNT SET CustNum = 7");
}

void addEmployees(Database& db, Step& step)
{
    struct Employee {
        const char *id, *first, *last, *middle, *phone, *email, *ssn;
        QDate born, hired;
        bool male;
        const char* password;
        QList<int> rights; // positions switched on
    };
    const QList<int> technician = {16, 13, 17, 19, 22};
    QList<int> manager;
    for (int i = 0; i < Schema::accessFlagColumns().size(); ++i)
        if (i != 0 && i != 1 && i != 7)
            manager << i;
    const Employee employees[] = {
        {"JTT-1", "Jack", "Thompson", "T", "(217) 555-0301", "jack@northgatepc.example",
         "123-45-6789", QDate(1985, 4, 12), QDate(2019, 3, 1), true, "tech", technician},
        {"SLM-2", "Sarah", "Miller", "L", "(217) 555-0302", "sarah@northgatepc.example",
         "234-56-7890", QDate(1979, 9, 30), QDate(2016, 6, 15), false, "manager", manager},
        {"RP-3", "Raj", "Patel", "", "(217) 555-0303", "raj@northgatepc.example", "345-67-8901",
         QDate(1992, 1, 5), QDate(2022, 8, 22), true, "tech", technician},
    };
    for (const Employee& e : employees) {
        step.run(db,
                 "INSERT INTO Employee VALUES (?, ?, ?, ?, '412 Commerce Street', 'Springfield', "
                 "'IL', '62701', ?, ?, ?, ?, ?, '', '', 0, ?, ?, ?)",
                 e.id, e.first, e.last, e.middle, e.phone, e.email, e.ssn, e.born, e.hired, e.male,
                 !e.male, daysAgo(300));
        QList<bool> rights(Schema::accessFlagColumns().size(), false);
        for (int position : e.rights)
            rights[position] = true;
        if (step.status)
            step.status = DatabaseSetup::addLogin(db, QString::fromUtf8(e.id),
                                                  QString::fromUtf8(e.password), rights);
    }
    step.run(db, "UPDATE EmployeeCount SET EmpNum = 3");
}

void addInventoryAndTypes(Database& db, Step& step)
{
    struct Part {
        const char *number, *description;
        qint64 priceCents;
        bool taxable;
        double rate;
        const char* type;
    };
    const Part parts[] = {
        {"RAM-8GB", "8 GB DDR4 memory module", 3499, true, 8.25, "Hardware"},
        {"SSD-500", "500 GB solid state drive", 5999, true, 8.25, "Hardware"},
        {"PSU-550", "550 W power supply", 6450, true, 8.25, "Hardware"},
        {"KB-USB", "USB keyboard", 1995, true, 8.25, "Accessory"},
        {"AV-1YR", "Antivirus, one-year licence", 3999, true, 8.25, "Software"},
        {"LAB-HR", "Bench labor, per hour", 7500, false, 0, "Labor"},
        {"DIAG", "Diagnostic fee", 4500, false, 0, "Service"},
    };
    for (const Part& p : parts) {
        step.run(db, "INSERT INTO Inventory VALUES (?, ?, ?, ?, ?, ?, 0, ?)", p.number,
                 p.description, Currency::fromUnits(p.priceCents * 100), p.taxable, p.rate, p.type,
                 daysAgo(250));
    }
    for (const char* hardware : {"Desktop", "Laptop", "Monitor", "Printer", "Router", "Hard Drive"})
        step.run(db, "INSERT INTO TypeHardware VALUES (?)", hardware);
    for (const char* software :
         {"Windows", "Office", "E-mail Client", "Antivirus", "Browser", "Accounting"})
        step.run(db, "INSERT INTO TypeSoftware VALUES (?)", software);
}

void addTickets(Database& db, Step& step)
{
    struct Ticket {
        int number;
        const char *customer, *priority, *status, *problemType, *specific, *comments, *tech;
        int openedDaysAgo, closedDaysAgo; // closed < 0: still open
        const char *quick, *problem, *solution;
        bool knowledgeBase;
    };
    const Ticket tickets[] = {
        {1, "JTH-1", "2-Med", "Closed", "Software", "Windows", "Called back twice.", "JTT-1", 40,
         38, "Computer slow after update", "Machine takes ten minutes to start since last update.",
         "Disabled startup programs and ran disk cleanup; boots in one minute.", true},
        {2, "AES-3", "1-High", "Open", "Hardware", "Desktop", "Front desk PC, urgent.", "JTT-1", 6,
         -1, "PC does not power on", "Reception computer dead, no lights or fans.", "", false},
        {3, "MIA-2", "3-Low", "Open", "E-mail", "E-mail Client", "", "JTT-1", 3, -1,
         "Cannot send e-mail", "Outgoing mail stays in the outbox with a server error.", "", false},
        {4, "PKS-5", "2-Med", "Open", "Printer", "Printer", "", "RP-3", 2, -1,
         "Printer prints blank pages", "Laser printer feeds paper but pages are blank.", "", false},
        {5, "BEY-4", "1-High", "Closed", "Virus/Malware", "Antivirus", "", "RP-3", 20, 18,
         "Pop-ups in the browser", "Browser opens advertising pages on its own.",
         "Removed adware extension, installed antivirus, reset browser settings.", true},
        {6, "KEN-7", "2-Med", "Open", "Network", "Router", "", "SLM-2", 1, -1,
         "Wi-Fi drops every hour", "Laptop loses wireless connection about once an hour.", "",
         false},
    };
    for (const Ticket& t : tickets) {
        const QDate closed = t.closedDaysAgo < 0 ? QDate() : daysAgo(t.closedDaysAgo);
        step.run(db, "INSERT INTO CallLog VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, 0)", t.number,
                 t.customer, t.priority, t.status, t.problemType, t.specific, t.comments, t.tech,
                 daysAgo(t.openedDaysAgo), closed);
        step.run(db,
                 "INSERT INTO ProbSol (TicketNum, QuickDescp, Problem, Solution, SaveKB) "
                 "VALUES (?, ?, ?, ?, ?)",
                 t.number, t.quick, t.problem, t.solution, t.knowledgeBase);
    }
    step.run(db, "UPDATE TicketCount SET TicketNum = 6");
    // Knowledge-base entries are numbered apart from the tickets, so their numbers meet.
    const char* addEntry = "INSERT INTO ProbSol (TicketNum, QuickDescp, Problem, Solution, SaveKB, "
                           "KBEntry) VALUES (?, ?, ?, ?, 1, 1)";
    step.run(db, addEntry, 1, "Printer offline after router change",
             "Network printer shows offline after the router was replaced.",
             "Give the printer a fixed address or re-add it with its new address.");
    step.run(db, addEntry, 2, "Forgotten Windows password",
             "Customer cannot sign in to a local Windows account.",
             "Reset with the recovery questions or an administrator account; never reinstall "
             "first.");
    step.run(db, "UPDATE KnowBaseCount SET KnowNum = 2");
}

void addBilling(Database& db, Step& step)
{
    step.run(db,
             "INSERT INTO RepairOrder VALUES (1, 1, 'JTT-1', "
             "'Replaced failed power supply; tested under load for one hour.', 'AES-3', 2, 1, 1)");
    step.run(db, "UPDATE WorkOrdCount SET WkOrdNum = 1");
    step.run(db, "UPDATE RMACount SET RMANum = 1");
    // Power supply 64.50 taxed at 8.25 % (5.32) plus an hour of labor 75.00: total 144.82.
    step.run(db, "INSERT INTO ARInvoice VALUES (1, ?, ?, 'AES-3', ?, ?, 1, 1, 0, ?, 1042, '')",
             daysAgo(4), daysAgo(4), Currency::fromUnits(53200), Currency::fromUnits(1448200),
             daysAgo(1));
    step.run(db, "INSERT INTO InvDetail VALUES (1, 'PSU-550', '550 W power supply', 1, ?, 0)",
             Currency::fromUnits(645000));
    step.run(db, "INSERT INTO InvDetail VALUES (1, 'LAB-HR', 'Bench labor, per hour', 1, ?, 0)",
             Currency::fromUnits(750000));
    step.run(db,
             "INSERT INTO AmountPaid (InvNum, CustID, AmtPaid, PayDate, Paid, CheckNo) "
             "VALUES (1, 'AES-3', ?, ?, 1, 1042)",
             Currency::fromUnits(500000), daysAgo(1));
    step.run(db, "UPDATE InvDetail SET Paid = 1 WHERE InvNum = 1");
    step.run(db, "UPDATE InvNumCount SET InvNum = 1");
}

} // namespace

namespace DemoData {

Status fill(Database& db)
{
    Step step;
    addCompany(db, step);
    addCustomers(db, step);
    addEmployees(db, step);
    addInventoryAndTypes(db, step);
    addTickets(db, step);
    addBilling(db, step);
    return step.status;
}

} // namespace DemoData
