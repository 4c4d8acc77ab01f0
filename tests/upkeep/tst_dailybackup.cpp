#include "data/database.h"
#include "data/programfolder.h"
#include "support/dbprobe.h"
#include "support/filecontents.h"
#include "support/scriptedprompter.h"
#include "support/testfolder.h"
#include "upkeep/autobackup.h"
#include "upkeep/dailybackup.h"

#include <QDir>
#include <QLabel>
#include <QSettings>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QDate Monday(2026, 12, 7);

/** Adds the [backup] section to the program folder's settings, beside what they hold. */
void setBackupSettings(const QString& folder, const QString& keep)
{
    QSettings ini(ProgramFolder::filePath(QStringLiteral("quorvane.ini")), QSettings::IniFormat);
    ini.setValue(QStringLiteral("backup/folder"), folder);
    ini.setValue(QStringLiteral("backup/keep"), keep);
    ini.setValue(QStringLiteral("backup/daily"), QStringLiteral("on"));
}

QString backupName(const QDate& day)
{
    return DailyBackup::fileName(day, TestFolder::onServer());
}

} // namespace

/** The daily backup: one workstation writes it, the newest few stay, a failure is told once. */
class TestDailyBackup : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void writesTheDaysBackupAndKeepsTheNewest()
    {
        TestFolder folder(TestFolder::Content::Demo);
        QTemporaryDir backups;
        const QDir dir(backups.path());
        // Older backups of this feature, and files that only look alike.
        const QStringList others = {"helpdesk-2026-11-30.bak.txt", "helpdesk-notes.bak",
                                    "shop-2026-01-01.bak", "helpdesk-2026-1-2.bak"};
        for (const QString& name :
             others + QStringList{backupName(Monday.addDays(-3)), backupName(Monday.addDays(-20)),
                                  backupName(Monday.addDays(-1))})
            QVERIFY(writeFile(dir.filePath(name), "older"));
        setBackupSettings(backups.path(), QStringLiteral("3"));
        const QDateTime at(Monday, QTime(8, 5));

        QCOMPARE(DailyBackup::runFor(Monday, at).outcome, DailyBackup::Outcome::Written);

        QStringList expected =
            others + QStringList{backupName(Monday.addDays(-3)), backupName(Monday.addDays(-1)),
                                 backupName(Monday)};
        expected.sort();
        QCOMPARE(dir.entryList(QDir::Files), expected);
        const QString made = dir.filePath(backupName(Monday));
        if (TestFolder::onServer()) {
            QVERIFY(contentsOf(made).startsWith("PGDMP"));
        } else {
            Database copy(made);
            Query tickets = copy.query(QStringLiteral("SELECT count(*) FROM CallLog"));
            QVERIFY(tickets.next());
            QCOMPARE(tickets.integer(0), 6);
        }
        QCOMPARE(DailyBackup::lastBackup(), at);
        // The day is done: a later check (or another workstation) writes nothing more.
        QCOMPARE(DailyBackup::runFor(Monday, at.addSecs(3600)).outcome,
                 DailyBackup::Outcome::NotDue);
        QCOMPARE(DailyBackup::lastBackup(), at);
    }

    void theFirstClaimantTakesTheDayAndAFailureGivesItBack()
    {
        TestFolder folder;
        QCOMPARE(DailyBackup::claim(Monday).value(), true);
        QCOMPARE(DailyBackup::claim(Monday).value(), false);
        // A workstation whose clock is behind does not take an earlier day.
        QCOMPARE(DailyBackup::claim(Monday.addDays(-1)).value(), false);
        QVERIFY(DailyBackup::release(Monday));
        QCOMPARE(DailyBackup::claim(Monday).value(), true);
        QCOMPARE(DailyBackup::claim(Monday.addDays(1)).value(), true);
    }

    void aFailureIsToldOnceAndTriedAgainTheNextDay()
    {
        TestFolder folder;
        QTemporaryDir scratch;
        const QString missing = scratch.filePath(QStringLiteral("unplugged"));
        setBackupSettings(missing, QStringLiteral("14"));
        ScriptedPrompter prompts;
        QStatusBar bar;
        AutoBackup automatic(&bar);

        automatic.check(Monday);
        QCOMPARE(prompts.messages().size(), 1);
        QVERIFY2(prompts.lastMessage().startsWith(
                     QStringLiteral("The daily backup could not be written to %1/%2")
                         .arg(missing, backupName(Monday))),
                 qPrintable(prompts.lastMessage()));
        QCOMPARE(automatic.panel()->text(), QStringLiteral("Last backup: none"));
        // The claim went back, so that another workstation may try the day.
        QCOMPARE(DbProbe::value("SELECT Day FROM DailyBackup"), QString());

        prompts.clear();
        automatic.check(Monday);
        QCOMPARE(prompts.messages(), QStringList());

        automatic.check(Monday.addDays(1));
        QCOMPARE(prompts.messages().size(), 1);

        prompts.clear();
        QVERIFY(QDir().mkpath(missing));
        automatic.check(Monday.addDays(2));
        QCOMPARE(prompts.messages(), QStringList());
        QVERIFY(QFile::exists(QDir(missing).filePath(backupName(Monday.addDays(2)))));
        QVERIFY(automatic.panel()->text().startsWith(QStringLiteral("Last backup: ")));
        QVERIFY(automatic.panel()->text() != QStringLiteral("Last backup: none"));
    }
};

QTEST_MAIN(TestDailyBackup)
#include "tst_dailybackup.moc"
