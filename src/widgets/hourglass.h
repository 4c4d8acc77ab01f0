#pragma once

#include <utility>

/** Shows the busy pointer for the life of the object: one per handler that works on the
 *  database or starts a report. */
class Hourglass {
public:
    Hourglass();
    ~Hourglass();
    Hourglass(const Hourglass&) = delete;
    Hourglass& operator=(const Hourglass&) = delete;

    /** Runs `work` under the busy pointer and gives back what it returns, so that the pointer
     *  is normal again before the caller shows a message about it. */
    template <typename Work> static auto around(Work&& work)
    {
        Hourglass busy;
        return std::forward<Work>(work)();
    }
};
