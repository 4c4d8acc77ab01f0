#pragma once

#include "data/database.h"

/** Sets how long reads and writes wait for another connection's lock, for the life of the
 *  object; a test that holds a lock itself cannot wait for it to be released. */
class LockPatience {
public:
    LockPatience(int readMs, int writeMs) : m_previous(Database::setLockPatience({readMs, writeMs}))
    {
    }
    ~LockPatience() { Database::setLockPatience(m_previous); }
    LockPatience(const LockPatience&) = delete;
    LockPatience& operator=(const LockPatience&) = delete;

private:
    Database::LockPatience m_previous;
};
