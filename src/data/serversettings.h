#pragma once

#include <QString>

/**
 * Where the shop's data lives when several workstations share it: the database server named by
 * `server=` in the [database] section of the program folder's quorvane.ini, as a libpq URL
 * (postgresql://user@host:5432/shop?sslmode=verify-full) or keyword string. Without it the
 * shop works on the encrypted file in the program folder. `timeout=` in the same section is how
 * many seconds a request may wait for the server's answer.
 */
namespace ServerSettings {

/** The server's connection settings; empty when the shop keeps its data in the file. Read again
 *  only when the settings file changes. */
QString address();

/** How long a request waits for an answer from the server before it is cancelled: `timeout=`
 *  (seconds), or 30 s when it is not set or not a positive number. */
int answerLimitMs();

/** The server as the status bar and messages name it: the user, host, port and database that
 *  libpq reported for the last session opened with these settings, never their text (which may
 *  hold the password); "PostgreSQL (not connected)" while none has opened. */
QString describe(const QString& address);

/** Whether the settings leave the connection unencrypted to a host other than this machine. */
bool isPlainRemote(const QString& address);

} // namespace ServerSettings
