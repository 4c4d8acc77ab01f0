#include "data/schema.h"

#include <QRegularExpression>
#include <algorithm>
#include <functional>
#include <span>
#include <vector>

namespace {

// Text compares without case everywhere, as the shop's searches and logins expect. Dates are
// ISO text, money is whole ten-thousandths, yes/no is 0 or 1.
constexpr const char* InitialTables[] = {
    R"(CREATE TABLE SchemaVersion (Version INTEGER NOT NULL))",

    R"(CREATE TABLE CallLog (
        TicketNum INTEGER NOT NULL UNIQUE,
        CustID TEXT COLLATE NOCASE,
        Priority TEXT COLLATE NOCASE,
        CallStatus TEXT COLLATE NOCASE,
        ProbType TEXT COLLATE NOCASE,
        TypeSpecific TEXT COLLATE NOCASE,
        Comm TEXT COLLATE NOCASE,
        Tech TEXT COLLATE NOCASE,
        OpenPostDate DATE,
        ClosePostDate DATE,
        EmailSol INTEGER NOT NULL DEFAULT 0))",
    R"(CREATE INDEX CallLogByTech ON CallLog (Tech, CallStatus))",
    R"(CREATE INDEX CallLogByCustomer ON CallLog (CustID))",
    R"(CREATE INDEX CallLogByStatus ON CallLog (CallStatus, Priority))",

    R"(CREATE TABLE ProbSol (
        TicketNum INTEGER NOT NULL,
        QuickDescp TEXT COLLATE NOCASE,
        Problem TEXT COLLATE NOCASE,
        Solution TEXT COLLATE NOCASE,
        SaveKB INTEGER NOT NULL DEFAULT 0))",
    R"(CREATE INDEX ProbSolByTicket ON ProbSol (TicketNum))",
    R"(CREATE INDEX ProbSolKnowledgeBase ON ProbSol (SaveKB, TicketNum))",

    R"(CREATE TABLE RepairOrder (
        WorkNum INTEGER NOT NULL UNIQUE,
        RMANum INTEGER,
        RepairTech TEXT COLLATE NOCASE,
        RepairNotes TEXT COLLATE NOCASE,
        CustID TEXT COLLATE NOCASE,
        TicketNum INTEGER,
        WrkOrd INTEGER NOT NULL DEFAULT 0,
        Invoiced INTEGER NOT NULL DEFAULT 0))",
    R"(CREATE INDEX RepairOrderByTicket ON RepairOrder (TicketNum))",

    R"(CREATE TABLE ARInvoice (
        InvNum INTEGER NOT NULL UNIQUE,
        InvDate DATE,
        PostDate DATE,
        CustID TEXT COLLATE NOCASE,
        InvTax INTEGER NOT NULL DEFAULT 0,
        InvTotal INTEGER NOT NULL DEFAULT 0,
        WrkOrdNum INTEGER,
        InvPrinted INTEGER NOT NULL DEFAULT 0,
        InvPaid INTEGER NOT NULL DEFAULT 0,
        PayDate DATE,
        CheckNo INTEGER,
        CreditMemo TEXT COLLATE NOCASE))",
    R"(CREATE INDEX ARInvoiceByCustomer ON ARInvoice (CustID, InvPaid))",
    R"(CREATE INDEX ARInvoiceByDate ON ARInvoice (InvDate))",

    R"(CREATE TABLE InvDetail (
        InvNum INTEGER NOT NULL,
        PartNo TEXT COLLATE NOCASE,
        PartDescp TEXT COLLATE NOCASE,
        PartQty REAL,
        PartPrice INTEGER NOT NULL DEFAULT 0,
        Paid INTEGER NOT NULL DEFAULT 0))",
    R"(CREATE INDEX InvDetailByInvoice ON InvDetail (InvNum))",

    R"(CREATE TABLE AmountPaid (
        InvNum INTEGER NOT NULL,
        CustID TEXT COLLATE NOCASE,
        AmtPaid INTEGER NOT NULL DEFAULT 0,
        PayDate DATE,
        Paid INTEGER NOT NULL DEFAULT 1))",
    R"(CREATE INDEX AmountPaidByInvoice ON AmountPaid (InvNum))",

    R"(CREATE TABLE Customer (
        CustID TEXT COLLATE NOCASE NOT NULL UNIQUE,
        CustName TEXT COLLATE NOCASE,
        CustAdd TEXT COLLATE NOCASE,
        CustCity TEXT COLLATE NOCASE,
        CustState TEXT COLLATE NOCASE,
        CustZip TEXT COLLATE NOCASE,
        CustPhone TEXT COLLATE NOCASE,
        CustFax TEXT COLLATE NOCASE,
        CustEmail TEXT COLLATE NOCASE,
        Comm TEXT COLLATE NOCASE,
        Inactive INTEGER NOT NULL DEFAULT 0,
        CompID TEXT COLLATE NOCASE,
        PostDate DATE))",
    R"(CREATE INDEX CustomerByName ON Customer (CustName))",

    R"(CREATE TABLE Inventory (
        ItemNo TEXT COLLATE NOCASE NOT NULL UNIQUE,
        ItemDescp TEXT COLLATE NOCASE,
        ItemPrice1 INTEGER NOT NULL DEFAULT 0,
        Taxable INTEGER NOT NULL DEFAULT 0,
        TaxRate REAL NOT NULL DEFAULT 0,
        ItemType TEXT COLLATE NOCASE,
        Inactive INTEGER NOT NULL DEFAULT 0,
        PostDate DATE))",

    R"(CREATE TABLE InventoryType (InvType TEXT COLLATE NOCASE NOT NULL))",
    R"(CREATE TABLE ProblemType (ProbType TEXT COLLATE NOCASE NOT NULL))",
    R"(CREATE TABLE TypeHardware (Typeh TEXT COLLATE NOCASE NOT NULL))",
    R"(CREATE TABLE TypeSoftware (TypeDetail TEXT COLLATE NOCASE NOT NULL))",

    R"(CREATE TABLE Employee (
        EmpID TEXT COLLATE NOCASE NOT NULL UNIQUE,
        EmpFName TEXT COLLATE NOCASE,
        EmpLName TEXT COLLATE NOCASE,
        EmpMidIn TEXT COLLATE NOCASE,
        EmpAdd TEXT COLLATE NOCASE,
        EmpCity TEXT COLLATE NOCASE,
        EmpState TEXT COLLATE NOCASE,
        EmpZip TEXT COLLATE NOCASE,
        EmpPhone TEXT COLLATE NOCASE,
        EmpEmail TEXT COLLATE NOCASE,
        EmpSSN TEXT COLLATE NOCASE,
        EmpDOB DATE,
        EmpHireDate DATE,
        EmpComm TEXT COLLATE NOCASE,
        EmpPic TEXT,
        Inactive INTEGER NOT NULL DEFAULT 0,
        Male INTEGER NOT NULL DEFAULT 0,
        Female INTEGER NOT NULL DEFAULT 0,
        PostDate DATE))",

    R"(CREATE TABLE Login (
        EmpID TEXT COLLATE NOCASE NOT NULL UNIQUE,
        UserName TEXT COLLATE NOCASE,
        Pwd TEXT NOT NULL))",

    // EmployeeAccess is created from accessFlagColumns() below.

    R"(CREATE TABLE COMPANY (
        CompName TEXT COLLATE NOCASE,
        CompAdd TEXT COLLATE NOCASE,
        CompCity TEXT COLLATE NOCASE,
        CompState TEXT COLLATE NOCASE,
        CompZip TEXT COLLATE NOCASE,
        CompPhone TEXT COLLATE NOCASE,
        CompFax TEXT COLLATE NOCASE,
        CompEmail TEXT COLLATE NOCASE,
        CompWeb TEXT COLLATE NOCASE,
        PostDate DATE,
        CompID TEXT COLLATE NOCASE))",

    R"(CREATE TABLE TicketCount (TicketNum INTEGER NOT NULL))",
    R"(CREATE TABLE KnowBaseCount (KnowNum INTEGER NOT NULL))",
    R"(CREATE TABLE WorkOrdCount (WkOrdNum INTEGER NOT NULL))",
    R"(CREATE TABLE RMACount (RMANum INTEGER NOT NULL))",
    R"(CREATE TABLE InvNumCount (InvNum INTEGER NOT NULL))",
    R"(CREATE TABLE CUSTCOUNT (CustNum INTEGER NOT NULL))",
    R"(CREATE TABLE EmployeeCount (EmpNum INTEGER NOT NULL))",
    R"(INSERT INTO TicketCount VALUES (0))",
    R"(INSERT INTO KnowBaseCount VALUES (0))",
    R"(INSERT INTO WorkOrdCount VALUES (0))",
    R"(INSERT INTO RMACount VALUES (0))",
    R"(INSERT INTO InvNumCount VALUES (0))",
    R"(INSERT INTO CUSTCOUNT VALUES (0))",
    R"(INSERT INTO EmployeeCount VALUES (0))",
};

// The statements are written for the file. The server spells the same kinds its own way: text
// that compares without case is citext, ordered by code points as the file orders it; whole
// numbers are 64 bits wide; dates stay ISO text, so that both engines compare and cut them
// alike. Every table gets the rowid the file gives each row, counting in insertion order.
QString forEngine(const Database& db, const char* statement)
{
    QString sql = QString::fromUtf8(statement);
    if (!db.onServer())
        return sql;
    static const QRegularExpression integer(QStringLiteral("\\bINTEGER\\b"));
    static const QRegularExpression real(QStringLiteral("\\bREAL\\b"));
    static const QRegularExpression date(QStringLiteral("\\bDATE\\b"));
    sql.replace(QLatin1String("TEXT COLLATE NOCASE"), QLatin1String("citext COLLATE \"C\""))
        .replace(integer, QStringLiteral("bigint"))
        .replace(real, QStringLiteral("double precision"))
        .replace(date, QStringLiteral("text"));
    if (sql.startsWith(QLatin1String("CREATE TABLE ")) && sql.endsWith(QLatin1Char(')')))
        sql.insert(sql.size() - 1, QLatin1String(", rowid bigint GENERATED ALWAYS AS IDENTITY"));
    return sql;
}

using Schema::ColumnKind;

// The server keeps dates as ISO text, as it keeps the few columns the file declares plain TEXT;
// the statement that made the table tells the two apart.
bool declaredAsDate(const QString& table, const QString& column)
{
    const QRegularExpression declaration(
        QStringLiteral("^CREATE TABLE %1 \\(.*\\b%2 DATE\\b")
            .arg(QRegularExpression::escape(table), QRegularExpression::escape(column)),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    return std::any_of(std::begin(InitialTables), std::end(InitialTables), [&](const char* sql) {
        return declaration.match(QString::fromUtf8(sql)).hasMatch();
    });
}

// Text that compares without case is the citext extension's type, which the catalogue lists as
// user-defined.
ColumnKind kindOnServer(const QString& table, const QString& column, const QString& type)
{
    if (type == QLatin1String("bigint") || type == QLatin1String("integer"))
        return ColumnKind::Integer;
    if (type == QLatin1String("double precision") || type == QLatin1String("real"))
        return ColumnKind::Real;
    if (type == QLatin1String("text") && declaredAsDate(table, column))
        return ColumnKind::Date;
    return ColumnKind::Text;
}

ColumnKind kindOfDeclared(const QString& declared)
{
    if (declared.contains(QLatin1String("DATE"), Qt::CaseInsensitive))
        return ColumnKind::Date;
    if (declared.contains(QLatin1String("REAL"), Qt::CaseInsensitive))
        return ColumnKind::Real;
    if (declared.contains(QLatin1String("INT"), Qt::CaseInsensitive))
        return ColumnKind::Integer;
    return ColumnKind::Text;
}

Status runAll(Database& db, std::span<const char* const> statements)
{
    for (const char* statement : statements) {
        if (Status status = db.exec(forEngine(db, statement)); !status)
            return status;
    }
    return Status::ok();
}

Status createInitialTables(Database& db)
{
    if (db.onServer()) {
        if (Status status = db.exec(QStringLiteral("CREATE EXTENSION IF NOT EXISTS citext"));
            !status)
            return status;
    }
    if (Status status = runAll(db, InitialTables); !status)
        return status;
    QString access = QStringLiteral("CREATE TABLE EmployeeAccess (");
    for (const QString& flag : Schema::accessFlagColumns())
        access += flag + QStringLiteral(" INTEGER NOT NULL DEFAULT 0, ");
    access += QStringLiteral("EmpID TEXT COLLATE NOCASE NOT NULL UNIQUE)");
    return db.exec(forEngine(db, access.toUtf8().constData()));
}

// Indexes that hold every column a long list reads, so that filling it walks one index instead
// of looking each row up in its table: the ticket log, a technician's tickets (open ones for the
// help desk, all of them by priority for the ticket log) and the knowledge-base search.
constexpr const char* ListIndexes[] = {
    R"(CREATE INDEX CallLogTicketLines
        ON CallLog (TicketNum, CustID, OpenPostDate, ClosePostDate, Tech))",
    R"(CREATE INDEX CallLogTechnicianLines
        ON CallLog (Tech, Priority, TicketNum, CallStatus, CustID, ProbType, TypeSpecific))",
    R"(CREATE INDEX ProbSolKnowledgeBaseSearch ON ProbSol (SaveKB, QuickDescp, TicketNum))",
};

Status createListIndexes(Database& db)
{
    return runAll(db, ListIndexes);
}

// A call's problem row and a knowledge-base entry may carry the same number, so each entry is
// marked as one. In an older file the call's row is the first row with the call's number, as
// earlier releases took it; every other row is an entry. Each payment keeps its own check or
// credit memo number, where the invoice keeps only the latest.
constexpr const char* RecordKinds[] = {
    R"(ALTER TABLE ProbSol ADD COLUMN KBEntry INTEGER NOT NULL DEFAULT 0)",
    R"(UPDATE ProbSol SET KBEntry = 1 WHERE rowid NOT IN (
        SELECT MIN(p.rowid) FROM ProbSol p JOIN CallLog c ON c.TicketNum = p.TicketNum
        GROUP BY p.TicketNum))",
    R"(ALTER TABLE AmountPaid ADD COLUMN CheckNo INTEGER)",
    R"(ALTER TABLE AmountPaid ADD COLUMN CreditMemo TEXT COLLATE NOCASE)",
};

Status markRecordKinds(Database& db)
{
    return runAll(db, RecordKinds);
}

// The day whose automatic backup a workstation has taken on: the ISO date and time of the claim
// while the backup runs, so that a claim left by a workstation cut off can be taken over, and
// the ISO date alone once it is written (empty before the first); the day claimed before it, to
// go back to when that backup fails. LastBackup is no longer written: the backup folder's own
// list tells the last backup. One row, so that claiming the day is one update that only the
// first workstation's changes.
constexpr const char* DailyBackupClaim[] = {
    R"(CREATE TABLE DailyBackup (
        Day TEXT COLLATE NOCASE NOT NULL,
        PreviousDay TEXT COLLATE NOCASE NOT NULL,
        LastBackup TEXT COLLATE NOCASE))",
    R"(INSERT INTO DailyBackup (Day, PreviousDay) VALUES ('', ''))",
};

Status createDailyBackupClaim(Database& db)
{
    return runAll(db, DailyBackupClaim);
}

// On the server a table's rowid is a column like any other: a unique index lets a row be found
// by it (the first problem row of a ticket, a report's first joined row) without a scan. The
// file's rowid is its tables' own key.
Status indexServerRowIds(Database& db)
{
    if (!db.onServer())
        return Status::ok();
    const auto tables = Schema::tableNames(db);
    if (!tables)
        return tables.status();
    for (const QString& table : *tables)
        if (Status made =
                db.exec(QStringLiteral("CREATE UNIQUE INDEX %1_rowid ON %1 (rowid)").arg(table));
            !made)
            return made;
    return Status::ok();
}

// One entry per release that changed the file; never edit a step once shipped, add one.
const std::vector<std::function<Status(Database&)>>& steps()
{
    static const std::vector<std::function<Status(Database&)>> all = {
        createInitialTables, createListIndexes, markRecordKinds, createDailyBackupClaim,
        indexServerRowIds};
    return all;
}

} // namespace

namespace Schema {

int currentVersion()
{
    return static_cast<int>(steps().size());
}

int versionOf(Database& db)
{
    const auto tables = tableNames(db);
    if (!tables || !tables->contains(QStringLiteral("SchemaVersion"), Qt::CaseInsensitive))
        return 0;
    Query version = db.query(QStringLiteral("SELECT max(Version) FROM SchemaVersion"));
    return version.next() ? static_cast<int>(version.integer(0)) : 0;
}

Status upgrade(Database& db, int toVersion)
{
    for (int version = versionOf(db); version < std::min(toVersion, currentVersion()); ++version) {
        const Status status = db.inTransaction([&](Database& scope) {
            if (Status done = steps()[static_cast<size_t>(version)](scope); !done)
                return done;
            return scope.exec(QStringLiteral("INSERT INTO SchemaVersion VALUES (?)"), version + 1);
        });
        if (!status)
            return status;
    }
    return Status::ok();
}

Result<QStringList> tableNames(Database& db)
{
    Query tables = db.query(
        db.onServer()
            ? QStringLiteral("SELECT table_name FROM information_schema.tables WHERE "
                             "table_schema = current_schema() ORDER BY table_name")
            : QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT "
                             "LIKE 'sqlite%' ORDER BY name"));
    QStringList names;
    while (tables.next())
        names << tables.text(0);
    if (!tables.status())
        return tables.status();
    return names;
}

Result<qint64> rowCount(Database& db, const QString& table)
{
    // The server folds the unquoted names of the schema to lower case; the file keeps them.
    QString quoted = db.onServer() ? table.toLower() : table;
    quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
    Query count = db.query(QStringLiteral("SELECT count(*) FROM \"%1\"").arg(quoted));
    if (!count.next())
        return count.status();
    return count.integer(0);
}

Result<QList<ColumnInfo>> columns(Database& db, const QString& table)
{
    QList<ColumnInfo> found;
    if (db.onServer()) {
        Query info = db.query(QStringLiteral("SELECT column_name, data_type FROM "
                                             "information_schema.columns WHERE table_schema = "
                                             "current_schema() AND table_name = ? AND "
                                             "column_name <> 'rowid' ORDER BY ordinal_position"),
                              table.toLower());
        while (info.next())
            found.append({info.text(0), kindOnServer(table, info.text(0), info.text(1))});
        return info.status() ? Result<QList<ColumnInfo>>(found) : info.status();
    }
    // The file's pragma takes no bound name; only a plain identifier is looked up.
    static const QRegularExpression identifier(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
    if (!identifier.match(table).hasMatch())
        return found;
    Query info = db.query(QStringLiteral("PRAGMA table_info(\"%1\")").arg(table));
    while (info.next())
        found.append({info.text(1), kindOfDeclared(info.text(2))});
    return info.status() ? Result<QList<ColumnInfo>>(found) : info.status();
}

Status requireEmpty(Database& db)
{
    const auto tables = tableNames(db);
    if (!tables)
        return tables.status();
    if (!tables->isEmpty())
        return Status::error(
            Status::Kind::Duplicate,
            QStringLiteral("The database %1 already holds tables; it is left as it is.")
                .arg(db.path()));
    return Status::ok();
}

const QStringList& accessFlagColumns()
{
    static const QStringList columns = {
        QStringLiteral("BackupDb"),         QStringLiteral("CompactDb"),
        QStringLiteral("DelOneTicket"),     QStringLiteral("DelAllTickets"),
        QStringLiteral("DelOneInvoice"),    QStringLiteral("DelAllInvoices"),
        QStringLiteral("DelOneSolution"),   QStringLiteral("DelKnowledgeBase"),
        QStringLiteral("EditCompany"),      QStringLiteral("EditEmployee"),
        QStringLiteral("EditCustomer"),     QStringLiteral("EditInventory"),
        QStringLiteral("AddHSType"),        QStringLiteral("CustHistory"),
        QStringLiteral("CustPayment"),      QStringLiteral("Reassign"),
        QStringLiteral("HelpDesk"),         QStringLiteral("TicketLog"),
        QStringLiteral("BillingStatement"), QStringLiteral("CallLogStats"),
        QStringLiteral("EmployeeList"),     QStringLiteral("InventoryList"),
        QStringLiteral("KnowledgeBase"),    QStringLiteral("PrintAllInvoices"),
        QStringLiteral("RePrintInvoice"),
    };
    return columns;
}

} // namespace Schema
