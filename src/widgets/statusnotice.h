#pragma once

#include <QString>

class Status;

/**
 * The line in the main window's status bar where a window says what the user should know
 * without being stopped by a message box: chiefly that a list could not be read, so that an
 * empty list is never taken for one without rows. Tests install their own to read the line.
 */
class StatusNotice {
public:
    virtual ~StatusNotice() = default;

    /** Shows `text` until it is withdrawn or another notice takes its place. */
    virtual void show(const QString& text) = 0;
    /** Takes `text` away when it is still what the line shows. */
    virtual void withdraw(const QString& text) = 0;

    /** The notice that `what` ("The customer list") could not be read, and why. */
    static QString readFailed(const QString& what, const Status& failure);

    /** The current notice; the main window's status bar unless another has been installed. */
    static StatusNotice& current();
    /** Installs `notice` (not owned) as current; nullptr goes back to the status bar. */
    static void install(StatusNotice* notice);
};

/** Shorthand for StatusNotice::current(). */
inline StatusNotice& statusNotice()
{
    return StatusNotice::current();
}
