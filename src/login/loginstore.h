#pragma once

#include "data/status.h"

#include <QList>
#include <QString>
#include <optional>

/** Logins and their passwords: checking a login, reading its access rights, changing it. */
namespace LoginStore {

struct LoginCheck {
    bool matched = false;
    /** The 25 access flags in column order; nothing when the employee has no access row. */
    std::optional<QList<bool>> rights;
};

/** Whether the program's database can be opened. */
Status reachable();

/** Whether `empId` (case ignored) and `password` (with its case) match a login. */
Result<LoginCheck> check(const QString& empId, const QString& password);

enum class PasswordChange { Changed, IdDiffers, NoMatch };
/**
 * Replaces the password of the login `empId` when `currentPassword` is its password. The ID
 * must be typed exactly as stored; a login found only by ignoring case or blanks is IdDiffers.
 */
Result<PasswordChange> changePassword(const QString& empId, const QString& currentPassword,
                                      const QString& newPassword);

} // namespace LoginStore

/** EmpID.dat in the program folder: the ID of the last employee who logged in. */
namespace LastEmployee {
QString read();
bool write(const QString& empId);
} // namespace LastEmployee
