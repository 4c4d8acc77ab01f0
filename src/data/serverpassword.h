#pragma once

#include <QString>

/**
 * Keeps the database server's password out of what others may read: the command line of a
 * tool that connects (which every local user sees), and the messages about a connection. A URL
 * whose password holds an unencoded / or @ is misread by libpq, which then quotes parts of the
 * password as a host, port or database name.
 */
namespace ServerPassword {

/** The connection settings split for a child process: `settings` as a keyword string holding
 *  every option but the password, for its command line; `password`, for its environment. */
struct Split {
    QString settings;
    QString password;
};
Split split(const QString& address);

/** libpq's or a tool's reason for a failed connection to `address`, told without any part of
 *  the password: a reason that quotes part of a URL's misread password becomes the advice to
 *  percent-encode it. */
QString hiddenIn(const QString& address, const QString& reason);

} // namespace ServerPassword
