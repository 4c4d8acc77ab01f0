#pragma once

/** Shows the busy pointer for the life of the object: one per handler that works on the
 *  database or starts a report. */
class Hourglass {
public:
    Hourglass();
    ~Hourglass();
    Hourglass(const Hourglass&) = delete;
    Hourglass& operator=(const Hourglass&) = delete;
};
