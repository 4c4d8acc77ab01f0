#include "support/commitwhilewaiting.h"

#include "support/dbprobe.h"
#include "support/testfolder.h"

#include <atomic>
#include <chrono>
#include <thread>

namespace {

const QString NotWaited = QStringLiteral("The work did not wait for the other transaction.");

} // namespace

Status CommitWhileWaiting::run(const std::function<Status()>& work)
{
    return TestFolder::onServer() ? runOnServer(work) : runOnFile(work);
}

Status CommitWhileWaiting::runOnServer(const std::function<Status()>& work)
{
    // The session the work runs on is the one this workstation keeps.
    const qint64 session = DbProbe::value(QStringLiteral("SELECT pg_backend_pid()")).toLongLong();
    std::atomic<bool> workDone{false};
    bool waited = false;
    std::thread committer([&] {
        while (!workDone) {
            Query locks = m_holder.query(
                QStringLiteral("SELECT count(*) FROM pg_locks WHERE pid = ? AND NOT granted"),
                session);
            if (locks.next() && locks.integer(0) > 0) {
                waited = true;
                m_committed = m_held.commit();
                return;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    });
    const Status outcome = work();
    workDone = true;
    committer.join();
    if (!waited) {
        m_held.commit();
        m_committed = Status::failed(NotWaited);
    }
    return outcome;
}

Status CommitWhileWaiting::runOnFile(const std::function<Status()>& work)
{
    bool waited = false;
    // The notice comes from inside the wait; the other connection is free to commit then.
    Database::LockWaitNotice previous = Database::setLockWaitNotice([&](bool waiting) {
        if (waiting && !waited) {
            waited = true;
            m_committed = m_held.commit();
        }
    });
    const Status outcome = work();
    Database::setLockWaitNotice(std::move(previous));
    if (!waited) {
        m_held.commit();
        m_committed = Status::failed(NotWaited);
    }
    return outcome;
}
