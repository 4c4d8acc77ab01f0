#include "data/databasesetup.h"

#include "data/passwords.h"
#include "data/privatefile.h"
#include "data/programfolder.h"
#include "data/schema.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <vector>

namespace {

Status insertValues(Database& db, const char* table, const QStringList& values)
{
    for (const QString& value : values) {
        if (Status status = db.exec(
                QStringLiteral("INSERT INTO %1 VALUES (?)").arg(QLatin1String(table)), value);
            !status)
            return status;
    }
    return Status::ok();
}

Status fillStartingContent(Database& db, const QString& adminPassword)
{
    const QStringList problemTypes = {QStringLiteral("Hardware"), QStringLiteral("Software"),
                                      QStringLiteral("Network"),  QStringLiteral("E-mail"),
                                      QStringLiteral("Printer"),  QStringLiteral("Virus/Malware"),
                                      QStringLiteral("Other")};
    const QStringList partTypes = {QStringLiteral("Hardware"), QStringLiteral("Software"),
                                   QStringLiteral("Labor"), QStringLiteral("Accessory"),
                                   QStringLiteral("Service")};
    if (Status status = insertValues(db, "ProblemType", problemTypes); !status)
        return status;
    if (Status status = insertValues(db, "InventoryType", partTypes); !status)
        return status;
    if (Status status = db.exec(
            QStringLiteral("INSERT INTO Employee (EmpID, EmpFName, EmpLName, EmpMidIn, EmpPic, "
                           "Inactive, Male, Female, PostDate) VALUES "
                           "('ADMIN', 'System', 'Administrator', '', '', 0, 0, 0, ?)"),
            QDate::currentDate());
        !status)
        return status;
    QList<bool> everything(Schema::accessFlagColumns().size(), true);
    return DatabaseSetup::addLogin(db, QStringLiteral("ADMIN"), adminPassword, everything);
}

} // namespace

namespace DatabaseSetup {

Status addLogin(Database& db, const QString& empId, const QString& password,
                const QList<bool>& rights)
{
    const auto hashed = Passwords::hash(password);
    if (!hashed)
        return Status::failed(QStringLiteral("The password could not be protected."));
    if (Status status =
            db.exec(QStringLiteral("INSERT INTO Login (EmpID, UserName, Pwd) VALUES (?, ?, ?)"),
                    empId, empId, *hashed);
        !status)
        return status;
    const QStringList& flags = Schema::accessFlagColumns();
    std::vector<SqlValue> values;
    for (qsizetype i = 0; i < flags.size(); ++i)
        values.emplace_back(rights.value(i));
    values.emplace_back(empId);
    const QString sql =
        QStringLiteral("INSERT INTO EmployeeAccess (%1, EmpID) VALUES (%2)")
            .arg(flags.join(QStringLiteral(", ")),
                 QStringList(static_cast<qsizetype>(values.size()), QStringLiteral("?"))
                     .join(QStringLiteral(", ")));
    return db.prepare(sql, values).exec();
}

namespace {

// The tables and the starting content of a new shop, all or nothing.
Status buildShop(Database& db, const QString& adminPassword, bool demo)
{
    return db.inTransaction([&](Database& scope) {
        if (Status upgraded = Schema::upgrade(scope); !upgraded)
            return upgraded;
        if (Status filled = fillStartingContent(scope, adminPassword); !filled)
            return filled;
        return demo ? DemoData::fill(scope) : Status::ok();
    });
}

} // namespace

Status create(const QString& path, const QString& adminPassword, bool demo)
{
    if (QFileInfo::exists(path))
        return Status::error(Status::Kind::Duplicate,
                             QStringLiteral("%1 already exists; it is left as it is.")
                                 .arg(QFileInfo(path).absoluteFilePath()));
    // A key file left there may still open backups of another shop; it is never overwritten.
    const QString keyFile = ShopKey::filePathBeside(path);
    if (QFileInfo::exists(keyFile))
        return Status::error(Status::Kind::Duplicate,
                             QStringLiteral("The key file %1 is there already, though the database "
                                            "is not; move it away to start a new shop.")
                                 .arg(QDir::toNativeSeparators(keyFile)));
    if (Status written = ShopKey::generate().writeFile(keyFile); !written)
        return written;
    if (Status status = Database::createFile(path); !status) {
        QFile::remove(keyFile);
        return status;
    }
    Status status = [&] {
        Database db(path);
        return db.isOpen() ? buildShop(db, adminPassword, demo) : db.openStatus();
    }();
    if (!status) {
        Database::closeKeptConnections();
        QFile::remove(path);
        QFile::remove(keyFile);
    }
    return status;
}

Status createOnServer(const QString& address, const QString& adminPassword, bool demo)
{
    Database db = Database::atServer(address);
    if (!db.isOpen())
        return db.openStatus();
    if (Status empty = Schema::requireEmpty(db); !empty)
        return empty;
    return buildShop(db, adminPassword, demo);
}

QString adminPasswordProblem(const QString& password)
{
    if (password.size() < MinimumAdminPassword)
        return QStringLiteral("The administrator's password needs at least %1 characters.")
            .arg(MinimumAdminPassword);
    return {};
}

Status createShop(const QString& adminPassword, bool demo)
{
    if (const QString problem = adminPasswordProblem(adminPassword); !demo && !problem.isEmpty())
        return Status::failed(problem);
    if (adminPassword.isEmpty())
        return Status::failed(QStringLiteral("The administrator needs a password."));
    if (!PrivateFile::makeFolder(ProgramFolder::path()))
        return Status::failed(
            QStringLiteral("The folder %1 could not be created.").arg(ProgramFolder::path()));
    if (Status status = create(ProgramFolder::filePath(QString::fromLatin1(Database::FileName)),
                               adminPassword, demo);
        !status)
        return status;
    ProgramFolder::layOutShippedFiles();
    return Status::ok();
}

Status checkShop(const QString& path)
{
    const QFileInfo file(path);
    if (!file.exists())
        return Status::error(Status::Kind::NotFound,
                             QStringLiteral("There is no shop's database %1.").arg(path));
    const QString leftAlone =
        QStringLiteral(" The file is left as it is: restore the shop's database from a backup, "
                       "or move the file away to start a new shop.");
    if (file.size() == 0)
        return Status::failed(
            QStringLiteral("The database %1 is empty (0 bytes): it holds no shop.").arg(path) +
            leftAlone);
    Database db(path);
    if (!db.isOpen())
        return Status::failed(db.openStatus().message() + leftAlone);
    if (Schema::versionOf(db) == 0)
        return Status::failed(QStringLiteral("The file %1 is not a shop's database.").arg(path) +
                              leftAlone);
    return Status::ok();
}

} // namespace DatabaseSetup
