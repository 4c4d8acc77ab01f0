#include "upkeep/restore.h"

#include "data/conversions.h"
#include "data/database.h"
#include "data/privatefile.h"
#include "data/programfolder.h"
#include "data/schema.h"
#include "data/serversettings.h"
#include "upkeep/backupfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <memory>

namespace Restore {

namespace {

/** The records the user is shown the count of, by table. */
const QList<QPair<QString, QString>>& countedTables()
{
    static const QList<QPair<QString, QString>> tables = {
        {QStringLiteral("CallLog"), QStringLiteral("Tickets")},
        {QStringLiteral("ProbSol"), QStringLiteral("Problems and solutions")},
        {QStringLiteral("RepairOrder"), QStringLiteral("Work orders")},
        {QStringLiteral("ARInvoice"), QStringLiteral("Invoices")},
        {QStringLiteral("AmountPaid"), QStringLiteral("Payments")},
        {QStringLiteral("Customer"), QStringLiteral("Customers")},
        {QStringLiteral("Inventory"), QStringLiteral("Inventory items")},
        {QStringLiteral("Employee"), QStringLiteral("Employees")},
    };
    return tables;
}

/** Tables a shop's database has besides the counted ones, since its first release. */
const QStringList& otherTables()
{
    static const QStringList tables = {
        QStringLiteral("SchemaVersion"),  QStringLiteral("InvDetail"),
        QStringLiteral("EmployeeAccess"), QStringLiteral("Login"),
        QStringLiteral("COMPANY"),        QStringLiteral("TicketCount"),
        QStringLiteral("InvNumCount"),    QStringLiteral("WorkOrdCount"),
        QStringLiteral("CUSTCOUNT"),      QStringLiteral("EmployeeCount"),
    };
    return tables;
}

Status refused(const QString& backup, const QString& why)
{
    return Status::failed(QStringLiteral("%1 cannot be restored: %2").arg(backup, why));
}

QString databasePath()
{
    return ProgramFolder::filePath(QString::fromLatin1(Database::FileName));
}

Status requireShopTables(Database& db, const QString& backup)
{
    const auto tables = Schema::tableNames(db);
    if (!tables)
        return refused(backup, tables.status().message());
    QStringList required = otherTables();
    for (const auto& counted : countedTables())
        required << counted.first;
    for (const QString& table : required)
        if (!tables->contains(table, Qt::CaseInsensitive))
            return refused(
                backup,
                QStringLiteral("it is not a shop's database (it has no table %1).").arg(table));
    if (Schema::versionOf(db) > Schema::currentVersion())
        return refused(backup, QStringLiteral("it was written by a newer release of the program."));
    return Status::ok();
}

Result<QDate> newest(Database& db, const QString& sql)
{
    Query query = db.query(sql);
    if (!query.next())
        return query.status();
    return query.date(0);
}

Result<Contents> contentsOf(Database& db)
{
    Contents contents;
    const auto lastTicket = newest(db, QStringLiteral("SELECT max(OpenPostDate) FROM CallLog"));
    const auto lastInvoice = newest(db, QStringLiteral("SELECT max(InvDate) FROM ARInvoice"));
    if (!lastTicket || !lastInvoice)
        return statusOf(lastTicket) ? lastInvoice.status() : lastTicket.status();
    contents.lastTicket = *lastTicket;
    contents.lastInvoice = *lastInvoice;
    for (const auto& [table, name] : countedTables()) {
        const auto rows = Schema::rowCount(db, table);
        if (!rows)
            return rows.status();
        contents.counts.append({name, *rows});
    }
    return contents;
}

/** The backup, opened with the shop's keys or with the one key the user chose. */
std::unique_ptr<Database> openBackup(const QString& backup, const std::optional<ShopKey>& key)
{
    return key ? std::make_unique<Database>(backup, *key) : std::make_unique<Database>(backup);
}

/** Checks the backup as inspect() does, on a scope of it already open. */
Result<Contents> check(Database& db, const QString& backup)
{
    if (!db.isOpen() && db.openStatus().kind() == Status::Kind::WrongKey)
        return Status::error(
            Status::Kind::WrongKey,
            QStringLiteral("%1 cannot be restored: it does not open with the shop's key, so it "
                           "was made with another key or it is no backup of this shop.")
                .arg(backup));
    if (!db.isOpen())
        return refused(backup, QStringLiteral("it cannot be opened with the shop's key, so it is "
                                              "no backup of this shop or it is damaged (%1).")
                                   .arg(db.openStatus().message()));
    const Result<QString> damage = BackupFile::findDamage(db);
    if (!damage)
        return refused(backup, damage.status().message());
    if (!damage->isEmpty())
        return refused(backup, QStringLiteral("it is damaged (%1).").arg(*damage));
    if (Status shop = requireShopTables(db, backup); !shop)
        return shop;
    return contentsOf(db);
}

Status requireFile(const QString& backup)
{
    const QFileInfo info(backup);
    if (!info.isFile())
        return refused(backup, QStringLiteral("there is no such file."));
    if (info.size() == 0)
        return refused(backup, QStringLiteral("the file is empty."));
    if (BackupFile::isSameFile(backup, databasePath()))
        return refused(backup, QStringLiteral("it is the shop's database itself."));
    return Status::ok();
}

/** Writes a checked copy of `source` into the new file `path`. */
Status copyTo(Database& source, const QString& path, bool& created)
{
    const BackupFile::Outcome made = BackupFile::createEmptyFile(path);
    created = made.isOk();
    if (!created)
        return made.status();
    return BackupFile::copyInto(source, path).status();
}

void removeFile(const QString& path)
{
    QFile::remove(path);
    QFile::remove(path + QStringLiteral("-journal"));
}

const QString PartialSuffix = QStringLiteral(".partial");

/** Removes the restored copy and the unfinished copies of replaced databases that runs which
 *  were cut off left in the program folder. */
void removeLeftovers(const QString& copyPath)
{
    removeFile(copyPath);
    const QDir folder(ProgramFolder::path());
    const QString unfinished = QString::fromLatin1(Database::FileName) +
                               QStringLiteral(".before-restore-*") + PartialSuffix;
    for (const QString& name : folder.entryList({unfinished}, QDir::Files | QDir::Hidden))
        removeFile(folder.filePath(name));
}

/** The restored copy, checked again (the backup may have changed since it was inspected) and
 *  brought up to the current release. */
Status writeRestoredCopy(const QString& backup, const std::optional<ShopKey>& key,
                         const QString& copyPath, bool& created)
{
    const std::unique_ptr<Database> source = openBackup(backup, key);
    if (Result<Contents> checked = check(*source, backup); !checked)
        return checked.status();
    // The copy is a new file beside the database, so it takes the key the database opens with
    // (its key file, or the old password without one), whatever key the backup has.
    if (Status copied = copyTo(*source, copyPath, created); !copied)
        return copied;
    Database copy(copyPath);
    return Schema::upgrade(copy);
}

} // namespace

Result<Contents> inspect(const QString& backup, const std::optional<ShopKey>& key)
{
    if (Status file = requireFile(backup); !file)
        return file;
    Result<Contents> contents = check(*openBackup(backup, key), backup);
    // The backup's file is not kept open once it has been read.
    Database::closeKeptConnections();
    return contents;
}

QString describe(const Contents& contents)
{
    auto date = [](const QDate& day) {
        return day.isValid() ? conv::formatDate(day) : QStringLiteral("none");
    };
    QStringList lines = {QStringLiteral("Last ticket: %1").arg(date(contents.lastTicket)),
                         QStringLiteral("Last invoice: %1").arg(date(contents.lastInvoice))};
    for (const auto& [name, rows] : contents.counts)
        lines << QStringLiteral("%1: %2").arg(name).arg(rows);
    return lines.join(QLatin1Char('\n'));
}

QString keptName(const QDateTime& at)
{
    return QString::fromLatin1(Database::FileName) + QStringLiteral(".before-restore-") +
           at.toString(QStringLiteral("yyyyMMdd-HHmmss"));
}

Result<QString> run(const QString& backup, const std::optional<ShopKey>& key, const QDateTime& at)
{
    if (const QString server = ServerSettings::address(); !server.isEmpty())
        return Status::failed(serverAdvice(server));
    if (Status file = requireFile(backup); !file)
        return file;
    const QString current = databasePath();
    const QString kept = ProgramFolder::filePath(keptName(at));
    // The replaced database takes its name only once its copy is complete, so that a run cut
    // off on the way leaves no file that looks like a copy and holds none.
    const QString keptPartial = kept + PartialSuffix;
    const QString copyPath = current + QStringLiteral(".restoring");
    QString keptNow;
    bool copyCreated = false;
    const auto putInPlace = [&] {
        Status placed = BackupFile::replaceFile(keptPartial, kept).status();
        if (placed)
            keptNow = kept;
        if (placed)
            placed = BackupFile::replaceFile(copyPath, current).status();
        return placed;
    };
    Status status = Database::read([&](Database& db) {
        Status locked = db.lockExclusively();
        // No other workstation restores or compacts now: the copies that are there were left
        // by runs that were cut off.
        if (locked)
            removeLeftovers(copyPath);
        bool keptCreated = false;
        if (locked)
            locked = copyTo(db, keptPartial, keptCreated);
        if (keptCreated)
            keptNow = keptPartial;
        if (locked)
            locked = writeRestoredCopy(backup, key, copyPath, copyCreated);
        if (locked)
            locked = PrivateFile::keepAccessOf(current, copyPath);
        Database::closeKeptConnections();
        if (locked && BackupFile::ReplaceWhileLocked)
            locked = putInPlace();
        return locked;
    });
    Database::closeKeptConnections();
    if (status && !BackupFile::ReplaceWhileLocked)
        status = putInPlace();
    if (status)
        return kept;
    if (copyCreated)
        removeFile(copyPath);
    if (!keptNow.isEmpty())
        removeFile(keptNow);
    return status;
}

QString serverAdvice(const QString& address)
{
    return QStringLiteral(
               "The shop's data is on the database server %1, which restores with its own "
               "tools: create an empty database on the server, load the archive that Backup "
               "Database wrote into it with\n    pg_restore --no-owner --dbname=<new database> "
               "<backup file>\nthen set server= in the [database] section of quorvane.ini to "
               "the new database and start the program again.")
        .arg(ServerSettings::describe(address));
}

} // namespace Restore
