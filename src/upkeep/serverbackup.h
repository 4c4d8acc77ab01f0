#pragma once

#include "data/status.h"

#include <QObject>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QTimer>

/**
 * Writes the server's database to a file as a pg_dump archive in its custom format, which
 * pg_restore reads. pg_dump runs as a process that the event loop watches, so that the windows
 * answer meanwhile; it gives up a table that another session holds locked after the lock limit,
 * and it is stopped once it has run for the overall limit. The archive replaces a file of the
 * target's name only once it is complete.
 */
class ServerBackup : public QObject {
    Q_OBJECT

public:
    /** How long pg_dump may wait for one table's lock, and how long it may run in all. */
    struct Limits {
        int lockWaitMs = 0;
        int overallMs = 0;
    };
    static Limits limits();
    /** Sets the limits and gives back the ones they replace. */
    static Limits setLimits(Limits limits);

    explicit ServerBackup(QObject* parent = nullptr);
    ~ServerBackup() override;

    /** Starts the archive of the server at `address` into `target`; finished() follows once,
     *  never before start() returns. Without pg_dump on this workstation, it tells how to back
     *  up the server instead. */
    void start(const QString& address, const QString& target);
    bool isRunning() const { return m_running; }

Q_SIGNALS:
    /** The archive is in place, or why not. */
    void finished(const Status& status);

private:
    void dumpFinished(int exitCode, QProcess::ExitStatus exitStatus);
    void dumpFailedToStart();
    /** The words for a dump that ended without an archive. */
    QString failure(int exitCode, QProcess::ExitStatus exitStatus);
    void finish(Status status);

    QProcess m_dump;
    /** pg_dump's environment without the password, which each start adds for its server. */
    QProcessEnvironment m_environment;
    QTimer m_overall;
    /** The settings of the server being dumped, and its name as messages give it. */
    QString m_address;
    QString m_server;
    QString m_target;
    QString m_partial;
    bool m_running = false;
    bool m_stopped = false;
};
