#include "upkeep/serverbackup.h"

#include "data/serverpassword.h"
#include "data/serversettings.h"
#include "upkeep/backupfile.h"
#include "upkeep/serverupkeep.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcessEnvironment>
#include <QRegularExpression>

namespace {

// A table that another session keeps locked for a minute is held by work that will not end
// soon; a dump of a ten-year shop takes seconds, so one that runs for twenty minutes is stuck.
ServerBackup::Limits currentLimits{60 * 1000, 20 * 60 * 1000};

QString duration(int ms)
{
    if (ms >= 2 * 60 * 1000)
        return QStringLiteral("%1 minutes").arg(ms / (60 * 1000));
    const int seconds = (ms + 999) / 1000;
    return seconds == 1 ? QStringLiteral("1 second") : QStringLiteral("%1 seconds").arg(seconds);
}

} // namespace

ServerBackup::Limits ServerBackup::limits()
{
    return currentLimits;
}

ServerBackup::Limits ServerBackup::setLimits(Limits limits)
{
    return std::exchange(currentLimits, limits);
}

ServerBackup::ServerBackup(QObject* parent) : QObject(parent)
{
    m_dump.setProcessChannelMode(QProcess::MergedChannels);
    // pg_dump's own words in English, so that a lock it gave up on can be told apart.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
    environment.remove(QStringLiteral("LANGUAGE"));
    // A server that cannot be reached fails the backup as soon as the program's own connections
    // would fail, not at the overall limit; a limit set in the address still wins.
    if (!environment.contains(QStringLiteral("PGCONNECT_TIMEOUT")))
        environment.insert(QStringLiteral("PGCONNECT_TIMEOUT"), QStringLiteral("15"));
    m_environment = environment;
    m_overall.setSingleShot(true);
    connect(&m_overall, &QTimer::timeout, this, [this] {
        m_stopped = true;
        m_dump.kill();
    });
    connect(&m_dump, &QProcess::finished, this, &ServerBackup::dumpFinished);
    connect(&m_dump, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            dumpFailedToStart();
    });
}

ServerBackup::~ServerBackup()
{
    // A dump still running when its owner goes is stopped without a word.
    disconnect(&m_dump, nullptr, this, nullptr);
    if (m_dump.state() != QProcess::NotRunning) {
        m_dump.kill();
        m_dump.waitForFinished();
    }
    if (!m_partial.isEmpty())
        QFile::remove(m_partial);
}

void ServerBackup::start(const QString& address, const QString& target)
{
    if (m_running)
        return;
    m_running = true;
    m_stopped = false;
    m_address = address;
    m_server = ServerSettings::describe(address);
    m_target = target;
    m_partial.clear();
    const auto failLater = [this](const QString& why) {
        QMetaObject::invokeMethod(
            this, [this, why] { finish(Status::failed(why)); }, Qt::QueuedConnection);
    };
    const QString tool = ServerUpkeep::dumpTool();
    if (tool.isEmpty())
        return failLater(
            QStringLiteral("The shop's data is on the database server %1. pg_dump is not "
                           "installed on this workstation: install the PostgreSQL client "
                           "(postgresql-client), or back up the server with its own tools.")
                .arg(m_server));
    const QFileInfo info(target);
    BackupFile::removeLeftovers(info.absoluteDir(), QRegularExpression::escape(info.fileName()),
                                limits().overallMs);
    if (const BackupFile::Outcome created = BackupFile::createPartialFile(target, m_partial);
        !created.isOk()) {
        m_partial.clear();
        return failLater(QStringLiteral("The backup could not be written to %1: %2")
                             .arg(target, created.detail));
    }
    // Every local user reads a command line; only this account reads the child's environment.
    const ServerPassword::Split connection = ServerPassword::split(address);
    QProcessEnvironment environment = m_environment;
    if (!connection.password.isEmpty())
        environment.insert(QStringLiteral("PGPASSWORD"), connection.password);
    m_dump.setProcessEnvironment(environment);
    // pg_dump writes into the owner-only file made for it, which keeps its mode.
    m_dump.start(tool, {QStringLiteral("--format=custom"), QStringLiteral("--no-password"),
                        QStringLiteral("--lock-wait-timeout=%1").arg(limits().lockWaitMs),
                        QStringLiteral("--file=") + m_partial,
                        QStringLiteral("--dbname=") + connection.settings});
    m_overall.start(limits().overallMs);
}

void ServerBackup::dumpFinished(int exitCode, QProcess::ExitStatus exitStatus)
{
    m_overall.stop();
    if (m_stopped || exitStatus != QProcess::NormalExit || exitCode != 0)
        return finish(Status::failed(failure(exitCode, exitStatus)));
    const BackupFile::Outcome replaced = BackupFile::replaceFile(m_partial, m_target);
    if (!replaced.isOk())
        return finish(Status::failed(QStringLiteral("The backup could not be written to %1: %2")
                                         .arg(m_target, replaced.detail)));
    m_partial.clear();
    finish(Status::ok());
}

void ServerBackup::dumpFailedToStart()
{
    m_overall.stop();
    finish(Status::failed(QStringLiteral("pg_dump could not back up the database server %1: %2")
                              .arg(m_server, m_dump.errorString())));
}

QString ServerBackup::failure(int exitCode, QProcess::ExitStatus exitStatus)
{
    const QString said =
        ServerPassword::hiddenIn(m_address, QString::fromLocal8Bit(m_dump.readAll()).trimmed());
    const QString start =
        QStringLiteral("pg_dump could not back up the database server %1").arg(m_server);
    if (m_stopped)
        return start +
               QStringLiteral(" within %1, so it was stopped. If this goes on, ask the server's "
                              "administrator what holds it up.")
                   .arg(duration(limits().overallMs));
    static const QRegularExpression lockGivenUp(QStringLiteral("Query was: LOCK TABLE (\\S+)"));
    if (const QRegularExpressionMatch locked = lockGivenUp.match(said); locked.hasMatch())
        return start + QStringLiteral(": another session kept the table %1 locked for more than "
                                      "%2. Try again once that work is done.")
                           .arg(locked.captured(1), duration(limits().lockWaitMs));
    if (!said.isEmpty())
        return start + QStringLiteral(": ") + said;
    return start + QStringLiteral(": ") +
           (exitStatus == QProcess::NormalExit
                ? QStringLiteral("it ended with exit code %1.").arg(exitCode)
                : m_dump.errorString());
}

void ServerBackup::finish(Status status)
{
    if (!m_partial.isEmpty()) {
        QFile::remove(m_partial);
        m_partial.clear();
    }
    m_running = false;
    Q_EMIT finished(status);
}
