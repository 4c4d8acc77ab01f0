#include "widgets/statusnotice.h"

#include "data/status.h"
#include "widgets/windowconventions.h"

#include <QMainWindow>
#include <QStatusBar>

namespace {

/** The notice in the main window's status bar; without a main window, in the program's log. */
class MainWindowNotice : public StatusNotice {
public:
    void show(const QString& text) override
    {
        if (QStatusBar* bar = statusBar())
            bar->showMessage(text);
        else
            qWarning("%s", qPrintable(text));
    }

    void withdraw(const QString& text) override
    {
        QStatusBar* bar = statusBar();
        if (bar && bar->currentMessage() == text)
            bar->clearMessage();
    }

private:
    static QStatusBar* statusBar()
    {
        auto* main = qobject_cast<QMainWindow*>(WindowConventions::mainWindow());
        return main ? main->statusBar() : nullptr;
    }
};

StatusNotice*& installed()
{
    static StatusNotice* notice = nullptr;
    return notice;
}

} // namespace

QString StatusNotice::readFailed(const QString& what, const Status& failure)
{
    // The line has room for one line of text.
    return QStringLiteral("%1 could not be read: %2").arg(what, failure.message().simplified());
}

StatusNotice& StatusNotice::current()
{
    static MainWindowNotice mainWindow;
    return installed() ? *installed() : mainWindow;
}

void StatusNotice::install(StatusNotice* notice)
{
    installed() = notice;
}
