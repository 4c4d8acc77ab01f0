#include "login/loginstore.h"

#include "data/database.h"
#include "data/passwords.h"
#include "data/privatefile.h"
#include "data/programfolder.h"

#include <QFile>
#include <QSaveFile>

namespace {

constexpr int AccessFlagCount = 25;

struct StoredLogin {
    QString empId;
    QString hash;
};

Result<std::optional<StoredLogin>> findLogin(Database& db, const QString& empId)
{
    Query query = db.query(QStringLiteral("SELECT EmpID, Pwd FROM Login WHERE EmpID = ?"), empId);
    if (!query.next()) {
        if (!query.status())
            return query.status();
        return std::optional<StoredLogin>();
    }
    return std::optional<StoredLogin>(StoredLogin{query.text(0), query.text(1)});
}

} // namespace

namespace LoginStore {

Status reachable()
{
    return Database::read([](Database&) { return Status::ok(); });
}

Result<LoginCheck> check(const QString& empId, const QString& password)
{
    return Database::read([&](Database& db) -> Result<LoginCheck> {
        const auto login = findLogin(db, empId);
        if (!login)
            return login.status();
        LoginCheck result;
        if (!*login || !Passwords::verify((*login)->hash, password))
            return result;
        result.matched = true;
        Query access =
            db.query(QStringLiteral("SELECT * FROM EmployeeAccess WHERE EmpID = ?"), empId);
        if (access.next()) {
            QList<bool> rights;
            for (int i = 0; i < AccessFlagCount; ++i)
                rights << access.boolean(i);
            result.rights = rights;
        }
        return result;
    });
}

Result<PasswordChange> changePassword(const QString& empId, const QString& currentPassword,
                                      const QString& newPassword)
{
    const auto login = Database::read([&](Database& db) { return findLogin(db, empId.trimmed()); });
    if (!login)
        return login.status();
    if (!*login || !Passwords::verify((*login)->hash, currentPassword))
        return PasswordChange::NoMatch;
    if (empId != (*login)->empId.trimmed())
        return PasswordChange::IdDiffers;
    const auto hashed = Passwords::hash(newPassword);
    if (!hashed)
        return Status::failed(QStringLiteral("The new password could not be protected."));
    // Only the password just checked is replaced: one changed meanwhile at another workstation
    // no longer matches.
    const Status status = Database::write([&](Database& db) {
        return db.changeRow(QString(),
                            QStringLiteral("UPDATE Login SET Pwd = ? WHERE EmpID = ? AND Pwd = ?"),
                            *hashed, (*login)->empId, (*login)->hash);
    });
    if (status.isNotFound())
        return PasswordChange::NoMatch;
    if (!status)
        return status;
    return PasswordChange::Changed;
}

} // namespace LoginStore

namespace LastEmployee {

QString read()
{
    QFile file(ProgramFolder::filePath(QStringLiteral("EmpID.dat")));
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    QString line = QString::fromUtf8(file.readLine());
    while (line.endsWith(QLatin1Char('\n')) || line.endsWith(QLatin1Char('\r')))
        line.chop(1);
    return line;
}

bool write(const QString& empId)
{
    QSaveFile file(ProgramFolder::filePath(QStringLiteral("EmpID.dat")));
    // Who logs in here is for the shop's account alone to read.
    if (const PrivateFile::CreationGuard ownerOnly; !file.open(QIODevice::WriteOnly))
        return false;
    file.write(empId.toUtf8() + "\r\n");
    return file.commit();
}

} // namespace LastEmployee
