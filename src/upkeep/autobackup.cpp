#include "upkeep/autobackup.h"

#include "data/conversions.h"
#include "widgets/prompter.h"

#include <QLabel>
#include <QStatusBar>

namespace {

// Often enough that the day's backup follows soon after midnight; each check without work to
// do compares the date and reads the folder's short list.
constexpr int CheckEveryMs = 10 * 60 * 1000;

} // namespace

AutoBackup::AutoBackup(QStatusBar* statusBar, QObject* parent)
    : QObject(parent), m_panel(new QLabel(statusBar))
{
    m_panel->setObjectName(QStringLiteral("StatusBar1Panel4"));
    m_panel->hide();
    statusBar->addPermanentWidget(m_panel);
    m_timer.setInterval(CheckEveryMs);
    connect(&m_timer, &QTimer::timeout, this, [this] { check(QDateTime::currentDateTime()); });
    connect(&m_job, &DailyBackupJob::finished, this, &AutoBackup::runFinished);
}

void AutoBackup::start()
{
    check(QDateTime::currentDateTime());
    m_timer.start();
}

void AutoBackup::check(const QDateTime& now)
{
    if (!DailyBackup::settings().isOn()) {
        m_panel->hide();
        return;
    }
    if (m_job.isRunning())
        return;
    if (m_triedDay == now.date())
        return showLastBackup();
    m_runDay = now.date();
    m_job.start(now);
}

void AutoBackup::runFinished(const DailyBackup::Run& run)
{
    if (run.outcome != DailyBackup::Outcome::Busy)
        m_triedDay = m_runDay;
    if (!run.message.isEmpty())
        prompter().message(run.message, Prompter::defaultTitle(), Prompter::Icon::Warning);
    showLastBackup();
}

void AutoBackup::showLastBackup()
{
    if (!DailyBackup::settings().isOn()) {
        m_panel->hide();
        return;
    }
    const QDateTime last = DailyBackup::lastBackup();
    m_panel->setText(last.isValid() ? QStringLiteral("Last backup: %1 %2")
                                          .arg(conv::formatDate(last.date()),
                                               last.time().toString(QStringLiteral("HH:mm")))
                                    : QStringLiteral("Last backup: none"));
    m_panel->show();
}
