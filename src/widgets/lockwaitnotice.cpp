#include "widgets/lockwaitnotice.h"

#include "data/database.h"

#include <QGuiApplication>
#include <QPointer>
#include <QStatusBar>

namespace LockWaitNotice {

const char* const Text = "Another workstation is using the database; waiting for it to finish...";

void install(QStatusBar* bar)
{
    Database::setLockWaitNotice([bar = QPointer<QStatusBar>(bar)](bool waiting) {
        if (waiting) {
            QGuiApplication::setOverrideCursor(Qt::WaitCursor);
            if (bar) {
                bar->showMessage(QString::fromUtf8(Text));
                // The wait holds up the event loop, so the line is painted now.
                bar->repaint();
            }
        } else {
            QGuiApplication::restoreOverrideCursor();
            if (bar)
                bar->clearMessage();
        }
    });
}

} // namespace LockWaitNotice
