#pragma once

#include "data/database.h"

#include <functional>

/**
 * Lets another workstation's write transaction end while this workstation's work waits for its
 * locks, as when two workstations save at the same moment: `held` is committed once the work
 * waits for it (on the file when the lock-wait notice comes, on a server as soon as this
 * workstation's session waits for a lock), so the work goes on after a real wait.
 */
class CommitWhileWaiting {
public:
    /** `held` is a transaction open on `holder`, the other workstation's database. */
    CommitWhileWaiting(Database& holder, Transaction& held) : m_holder(holder), m_held(held) {}

    /** Runs `work` on this workstation's database and gives back what it returns. When the work
     *  never waited, `held` is committed after it. */
    Status run(const std::function<Status()>& work);

    /** The commit's status; Failed when the work did not wait for it. */
    const Status& committed() const { return m_committed; }

private:
    Status runOnServer(const std::function<Status()>& work);
    Status runOnFile(const std::function<Status()>& work);

    Database& m_holder;
    Transaction& m_held;
    Status m_committed;
};
