#include "shopgenerator.h"

#include "data/database.h"
#include "data/databasesetup.h"
#include "data/schema.h"

#include <QDate>
#include <algorithm>
#include <random>

namespace {

const char* const FirstNames[] = {"James",    "Mary",    "Robert",  "Patricia", "John",
                                  "Jennifer", "Michael", "Linda",   "David",    "Elizabeth",
                                  "William",  "Susan",   "Richard", "Jessica",  "Joseph",
                                  "Sarah",    "Thomas",  "Karen"};
const char* const LastNames[] = {"Smith",     "Johnson", "Williams", "Brown",     "Jones",
                                 "Garcia",    "Miller",  "Davis",    "Rodriguez", "Martinez",
                                 "Hernandez", "Lopez",   "Wilson",   "Anderson",  "Taylor",
                                 "Moore",     "Jackson", "Martin"};
const char* const Cities[] = {"Springfield", "Chatham", "Rochester", "Sherman",
                              "Petersburg",  "Auburn",  "Riverton",  "Pawnee"};
const char* const Problems[] = {
    "Computer will not boot",   "Blue screen at startup",     "Printer prints blank pages",
    "Cannot send e-mail",       "Wi-Fi drops every hour",     "Slow after update",
    "Pop-ups in the browser",   "Forgotten Windows password", "Monitor shows no picture",
    "Hard drive clicking",      "Keyboard keys stuck",        "Office will not activate",
    "Virus warning on startup", "Laptop overheats",           "Cannot reach shared folder"};
const char* const ProblemTypes[] = {"Hardware", "Software",      "Network", "E-mail",
                                    "Printer",  "Virus/Malware", "Other"};
const char* const Hardware[] = {"Desktop", "Laptop", "Monitor", "Printer", "Router"};
const char* const Software[] = {"Windows", "Office", "E-mail Client", "Antivirus", "Browser"};
const char* const Priorities[] = {"1-High", "2-Med", "3-Low"};

template <typename T, std::size_t N> const char* pick(std::mt19937& random, T (&values)[N])
{
    return values[std::uniform_int_distribution<std::size_t>(0, N - 1)(random)];
}

struct Generator {
    Generator(Database& database, unsigned seed, const ShopSize& shopSize)
        : db(database), random(seed), size(shopSize)
    {
    }

    Database& db;
    std::mt19937 random;
    const ShopSize& size;
    QDate start = QDate::currentDate().addYears(-10);
    int days = static_cast<int>(QDate::currentDate().toJulianDay() - start.toJulianDay());
    Status status;

    template <typename... Args> void run(const char* sql, const Args&... args)
    {
        if (status)
            status = db.exec(QString::fromUtf8(sql), args...);
    }
    int between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); }
    QString customerId(int n) const { return QStringLiteral("C%1-%2").arg(n % 26).arg(n); }
    QString techId(int n) const { return QStringLiteral("T%1").arg(n); }
    QString technicianOf(bool open, int ticket)
    {
        const QString drawn = techId(between(1, size.employees));
        return open && ticket % BusiestShop::TechnicianEvery == 0 ? BusiestShop::TechnicianId
                                                                  : drawn;
    }

    void customers()
    {
        for (int n = 1; n <= size.customers; ++n) {
            const QString name = QStringLiteral("%1 %2").arg(
                QLatin1String(pick(random, FirstNames)), QLatin1String(pick(random, LastNames)));
            run("INSERT INTO Customer VALUES (?, ?, ?, ?, 'IL', ?, ?, '', ?, '', 0, 'pmdx', ?)",
                customerId(n), name, QStringLiteral("%1 Main Street").arg(between(1, 9999)),
                pick(random, Cities), QString::number(62700 + between(0, 99)),
                QStringLiteral("(217) 555-%1").arg(between(0, 9999), 4, 10, QLatin1Char('0')),
                QStringLiteral("customer%1@example.com").arg(n), start.addDays(between(0, days)));
        }
        run("UPDATE CUSTCOUNT SET CustNum = ?", size.customers);
    }

    // The kinds of hardware and software a call is about, as the shop keeps them.
    void lookups()
    {
        for (const char* kind : Hardware)
            run("INSERT INTO TypeHardware VALUES (?)", kind);
        for (const char* kind : Software)
            run("INSERT INTO TypeSoftware VALUES (?)", kind);
    }

    void employees()
    {
        QList<bool> technician(Schema::accessFlagColumns().size(), false);
        for (int position : {13, 16, 17, 19, 22})
            technician[position] = true;
        for (int n = 1; n <= size.employees; ++n) {
            run("INSERT INTO Employee (EmpID, EmpFName, EmpLName, EmpMidIn, Inactive, PostDate) "
                "VALUES (?, ?, ?, '', 0, ?)",
                techId(n), pick(random, FirstNames), pick(random, LastNames), start);
            // One hashed login is enough for the benchmark; the others share its hash.
            if (n == 1 && status)
                status = DatabaseSetup::addLogin(db, techId(n), QStringLiteral("tech"), technician);
            else
                run("INSERT INTO Login SELECT ?, ?, Pwd FROM Login WHERE EmpID = 'T1'", techId(n),
                    techId(n));
        }
        run("UPDATE EmployeeCount SET EmpNum = ?", size.employees);
    }

    void inventory()
    {
        for (int n = 1; n <= size.inventory; ++n) {
            const bool taxable = n % 5 != 0;
            run("INSERT INTO Inventory VALUES (?, ?, ?, ?, ?, 'Hardware', 0, ?)",
                QStringLiteral("P%1").arg(n, 5, 10, QLatin1Char('0')),
                QStringLiteral("Part number %1").arg(n),
                Currency::fromUnits(between(100, 50000) * 100), taxable, taxable ? 8.25 : 0.0,
                start);
        }
    }

    void tickets()
    {
        for (int n = 1; n <= size.tickets; ++n) {
            const QDate opened = start.addDays(static_cast<qint64>(n) * days / size.tickets);
            const bool open = n > size.tickets - size.tickets / 50 || between(0, 99) == 0;
            const char* type = pick(random, ProblemTypes);
            const char* quick = pick(random, Problems);
            QString customer = customerId(between(1, size.customers));
            if (n % BusiestShop::CustomerEvery == 0)
                customer = BusiestShop::CustomerId;
            run("INSERT INTO CallLog VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, 0)", n, customer,
                pick(random, Priorities), open ? "Open" : "Closed", type,
                QLatin1String(type) == QLatin1String("Hardware") ? pick(random, Hardware)
                                                                 : pick(random, Software),
                QStringLiteral("Customer called at %1.").arg(between(8, 17)), technicianOf(open, n),
                opened,
                open ? std::optional<QDate>()
                     : std::optional<QDate>(opened.addDays(between(0, 14))));
            run("INSERT INTO ProbSol (TicketNum, QuickDescp, Problem, Solution, SaveKB) "
                "VALUES (?, ?, ?, ?, ?)",
                n, quick,
                QStringLiteral("%1. The customer reports it began after %2 days of normal use.")
                    .arg(QLatin1String(quick))
                    .arg(between(1, 300)),
                open ? QString()
                     : QStringLiteral("Diagnosed and repaired; tested with the customer."),
                between(0, 9) == 0);
        }
        run("UPDATE TicketCount SET TicketNum = ?", size.tickets);
        for (int n = 1; n <= size.knowledgeBase; ++n)
            run("INSERT INTO ProbSol (TicketNum, QuickDescp, Problem, Solution, SaveKB, KBEntry) "
                "VALUES (?, ?, 'How to fix it.', 'Steps that worked.', 1, 1)",
                n,
                QStringLiteral("%1 (article %2)")
                    .arg(QLatin1String(pick(random, Problems)))
                    .arg(n));
        run("UPDATE KnowBaseCount SET KnowNum = ?", size.knowledgeBase);
    }

    void billing()
    {
        int line = 0;
        for (int n = 1; n <= size.invoices; ++n) {
            const QDate day = start.addDays(static_cast<qint64>(n) * days / size.invoices);
            const int lines = (size.invoiceLines - line) / std::max(1, size.invoices - n + 1);
            Currency total, tax;
            for (int l = 0; l < lines; ++l, ++line) {
                const int part = between(1, size.inventory);
                const Currency price = Currency::fromUnits(between(100, 50000) * 100);
                const int quantity = between(1, 3);
                const Currency amount = price * quantity;
                run("INSERT INTO InvDetail VALUES (?, ?, 'Part', ?, ?, ?)", n,
                    QStringLiteral("P%1").arg(part, 5, 10, QLatin1Char('0')), quantity, price,
                    n <= size.payments);
                const Currency lineTax = (amount * 0.0825).roundedToCents();
                total += amount + lineTax;
                tax += lineTax;
            }
            const bool busiest = n % BusiestShop::CustomerEvery == 0;
            QString customer = customerId(between(1, size.customers));
            if (busiest)
                customer = BusiestShop::CustomerId;
            run("INSERT INTO RepairOrder VALUES (?, ?, ?, 'Bench repair.', ?, ?, 1, 1)", n, n,
                techId(between(1, size.employees)), customer, between(1, size.tickets));
            // The busiest customer's invoices stay open with a part paid, so that choosing the
            // customer lists all of them, each with a payment to sum.
            const bool paying = n <= size.payments;
            const bool paid = paying && !busiest;
            run("INSERT INTO ARInvoice VALUES (?, ?, ?, ?, ?, ?, ?, 1, ?, ?, ?, '')", n, day, day,
                customer, tax, total, n, paid,
                paid ? std::optional<QDate>(day.addDays(20)) : std::nullopt,
                paid ? std::optional<int>(1000 + n) : std::nullopt);
            if (paying)
                run("INSERT INTO AmountPaid (InvNum, CustID, AmtPaid, PayDate, Paid, CheckNo) "
                    "VALUES (?, ?, ?, ?, 1, ?)",
                    n, customer, paid ? total : (total * 0.5).roundedToCents(), day.addDays(20),
                    1000 + n);
        }
        run("UPDATE InvNumCount SET InvNum = ?", size.invoices);
        run("UPDATE WorkOrdCount SET WkOrdNum = ?", size.invoices);
        run("UPDATE RMACount SET RMANum = ?", size.invoices);
    }
};

} // namespace

ShopSize ShopSize::scaled(double scale)
{
    const ShopSize full;
    auto part = [scale](int n) { return std::max(1, static_cast<int>(n * scale)); };
    return {part(full.customers), full.employees,          part(full.inventory),
            part(full.tickets),   part(full.invoices),     part(full.invoiceLines),
            part(full.payments),  part(full.knowledgeBase)};
}

Status generateShop(const QString& path, const ShopSize& size, unsigned seed)
{
    if (Status created = DatabaseSetup::create(path, QStringLiteral("admin"), false); !created)
        return created;
    Database db(path);
    Transaction transaction(db);
    if (!transaction.isActive())
        return transaction.beginStatus();
    Generator generator(db, seed, size);
    generator.lookups();
    generator.customers();
    generator.employees();
    generator.inventory();
    generator.tickets();
    generator.billing();
    if (!generator.status)
        return generator.status;
    return transaction.commit();
}
