#include "upkeep/autobackup.h"

#include "data/conversions.h"
#include "upkeep/dailybackup.h"
#include "widgets/hourglass.h"
#include "widgets/prompter.h"

#include <QLabel>
#include <QStatusBar>

namespace {

// Often enough that the day's backup follows soon after midnight; each check without work to
// do compares the date and reads one row.
constexpr int CheckEveryMs = 10 * 60 * 1000;

} // namespace

AutoBackup::AutoBackup(QStatusBar* statusBar, QObject* parent)
    : QObject(parent), m_panel(new QLabel(statusBar))
{
    m_panel->setObjectName(QStringLiteral("StatusBar1Panel4"));
    m_panel->hide();
    statusBar->addPermanentWidget(m_panel);
    m_timer.setInterval(CheckEveryMs);
    connect(&m_timer, &QTimer::timeout, this, [this] { check(QDate::currentDate()); });
}

void AutoBackup::start()
{
    check(QDate::currentDate());
    m_timer.start();
}

void AutoBackup::check(const QDate& today)
{
    if (!DailyBackup::settings().isOn()) {
        m_panel->hide();
        return;
    }
    if (m_triedDay != today) {
        m_triedDay = today;
        const DailyBackup::Run run = Hourglass::around([&] { return DailyBackup::runFor(today); });
        if (run.outcome == DailyBackup::Outcome::Failed)
            prompter().message(run.message, Prompter::defaultTitle(), Prompter::Icon::Warning);
    }
    showLastBackup();
}

void AutoBackup::showLastBackup()
{
    const QDateTime last = DailyBackup::lastBackup();
    m_panel->setText(last.isValid() ? QStringLiteral("Last backup: %1 %2")
                                          .arg(conv::formatDate(last.date()),
                                               last.time().toString(QStringLiteral("HH:mm")))
                                    : QStringLiteral("Last backup: none"));
    m_panel->show();
}
