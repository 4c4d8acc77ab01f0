#pragma once

class QStatusBar;

/** Tells the user, with the hourglass and a line in the status bar, while the program waits for
 *  another workstation to release the database. */
namespace LockWaitNotice {

/** The text shown in the status bar while the program waits. */
extern const char* const Text;

/** Shows the notice in `bar` from now on. */
void install(QStatusBar* bar);

} // namespace LockWaitNotice
