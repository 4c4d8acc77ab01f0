#include "data/database.h"
#include "data/programfolder.h"
#include "support/dbprobe.h"
#include "support/filecontents.h"
#include "support/scriptedprompter.h"
#include "support/testfolder.h"
#include "upkeep/autobackup.h"
#include "upkeep/backuprecord.h"
#include "upkeep/dailybackup.h"
#include "upkeep/dailybackupjob.h"

#include <QDir>
#include <QLabel>
#include <QSettings>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QDate Monday(2026, 12, 7);
const QDateTime MondayMorning(Monday, QTime(8, 5));

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

/** Runs the daily backup of `at` to its end. */
DailyBackup::Run runAt(const QDateTime& at)
{
    DailyBackupJob job;
    std::optional<DailyBackup::Run> run;
    QObject::connect(&job, &DailyBackupJob::finished,
                     [&](const DailyBackup::Run& done) { run = done; });
    job.start(at);
    if (run || !QTest::qWaitFor([&] { return run.has_value(); }, 60000))
        return {DailyBackup::Outcome::Off, QStringLiteral("did not finish once, afterwards")};
    return *run;
}

/** Writes a file that was last written `age` seconds ago. */
bool plant(const QString& path, const QByteArray& bytes, qint64 age = 0)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush() &&
           file.setFileTime(QDateTime::currentDateTime().addSecs(-age),
                            QFileDevice::FileModificationTime);
}

} // namespace

/** The daily backup: one workstation writes it, the newest few of its own stay, a failure is
 *  told once, a claim that was cut off is taken over. */
class TestDailyBackup : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void prunesOnlyTheBackupsItWrote_data()
    {
        QTest::addColumn<int>("keep");
        QTest::addColumn<QList<int>>("left"); // days before Monday whose backups stay
        QTest::newRow("keep 1") << 1 << QList<int>{0};
        QTest::newRow("keep 2") << 2 << QList<int>{1, 0};
        QTest::newRow("keep 3") << 3 << QList<int>{3, 1, 0};
    }

    void prunesOnlyTheBackupsItWrote()
    {
        QFETCH(int, keep);
        QFETCH(QList<int>, left);
        TestFolder folder(TestFolder::Content::Demo);
        QTemporaryDir backups;
        const QDir dir(backups.path());
        setBackupSettings(backups.path(), QStringLiteral("14"));
        // Earlier days' backups, one of which someone has since replaced with a file of theirs.
        for (int before : {20, 5, 3, 1})
            QCOMPARE(runAt(MondayMorning.addDays(-before)).outcome, DailyBackup::Outcome::Written);
        QVERIFY(plant(dir.filePath(backupName(Monday.addDays(-5))), "the user's own file"));
        // Files this feature never wrote, however alike their names.
        QVERIFY(plant(dir.filePath("user-file"), "kept"));
        const QStringList others = {"helpdesk-2020-01-01.bak", "helpdesk-9999-12-31.bak",
                                    "helpdesk-2020-01-01.dump", "helpdesk-notes.bak", "user-file"};
        for (const QString& name : others.mid(0, 4))
            QVERIFY(plant(dir.filePath(name), "older"));
        QVERIFY(QFile::link(dir.filePath("user-file"), dir.filePath("helpdesk-2026-11-01.bak")));
        setBackupSettings(backups.path(), QString::number(keep));

        QCOMPARE(runAt(MondayMorning).outcome, DailyBackup::Outcome::Written);

        QStringList expected =
            others + QStringList{"helpdesk-2026-11-01.bak", backupName(Monday.addDays(-5)),
                                 QString::fromLatin1(BackupRecord::ListName)};
        for (int before : left)
            expected << backupName(Monday.addDays(-before));
        expected.sort();
        QCOMPARE(dir.entryList(QDir::Files | QDir::System), expected);
        QCOMPARE(contentsOf(dir.filePath("user-file")), QByteArray("kept"));
        const QString made = dir.filePath(backupName(Monday));
        if (TestFolder::onServer()) {
            QVERIFY(contentsOf(made).startsWith("PGDMP"));
        } else {
            Database copy(made);
            Query tickets = copy.query(QStringLiteral("SELECT count(*) FROM CallLog"));
            QVERIFY(tickets.next());
            QCOMPARE(tickets.integer(0), 6);
        }
        // The newest backup still there names the last one.
        QCOMPARE(DailyBackup::lastBackup(), MondayMorning);
        QVERIFY(QFile::remove(made));
        QCOMPARE(DailyBackup::lastBackup(), keep == 1 ? QDateTime() : MondayMorning.addDays(-1));
        // The day is done: a later check (or another workstation) writes nothing more.
        QCOMPARE(runAt(MondayMorning.addSecs(3600)).outcome, DailyBackup::Outcome::NotDue);
        QVERIFY(!QFile::exists(made));
    }

    void aClaimIsTakenUnlessTheDayIsDoneOrFreshlyClaimed_data()
    {
        QTest::addColumn<QString>("held"); // the claim's Day before Monday 08:05 claims
        QTest::addColumn<int>("claim");    // DailyBackup::Claim
        const int taken = int(DailyBackup::Claim::Taken);
        const int done = int(DailyBackup::Claim::Done);
        const int busy = int(DailyBackup::Claim::Busy);
        QTest::newRow("never claimed") << "" << taken;
        QTest::newRow("yesterday done") << "2026-12-06" << taken;
        QTest::newRow("yesterday's claim") << "2026-12-06T23:59:00" << taken;
        QTest::newRow("today done") << "2026-12-07" << done;
        QTest::newRow("today claimed just now") << "2026-12-07T08:00:00" << busy;
        QTest::newRow("today's claim that was cut off") << "2026-12-07T01:00:00" << taken;
        QTest::newRow("a later day done") << "2026-12-08" << done;
        QTest::newRow("a later day claimed") << "2026-12-08T00:01:00" << done;
    }

    void aClaimIsTakenUnlessTheDayIsDoneOrFreshlyClaimed()
    {
        QFETCH(QString, held);
        QFETCH(int, claim);
        TestFolder folder;
        QVERIFY(DbProbe::exec("UPDATE DailyBackup SET Day = ?", held));
        QCOMPARE(int(DailyBackup::claim(MondayMorning).value()), claim);
        if (claim != int(DailyBackup::Claim::Taken))
            return;
        QCOMPARE(int(DailyBackup::claim(MondayMorning.addSecs(60)).value()),
                 int(DailyBackup::Claim::Busy));
        // A failure gives the claim back; a success marks the day done.
        QVERIFY(DailyBackup::release(MondayMorning));
        QCOMPARE(DbProbe::value("SELECT Day FROM DailyBackup"), held);
        QCOMPARE(DailyBackup::claim(MondayMorning).value(), DailyBackup::Claim::Taken);
        QVERIFY(DailyBackup::markDone(MondayMorning));
        QCOMPARE(DbProbe::value("SELECT Day FROM DailyBackup"), QStringLiteral("2026-12-07"));
        QCOMPARE(DailyBackup::claim(MondayMorning.addSecs(7200)).value(), DailyBackup::Claim::Done);
    }

    void aRunCutOffIsTakenOverAndItsLeftoversGo()
    {
        TestFolder folder(TestFolder::Content::Demo);
        QTemporaryDir backups;
        const QDir dir(backups.path());
        setBackupSettings(backups.path(), QStringLiteral("14"));
        // This morning's run was killed an hour ago; earlier days' runs left their parts too.
        QVERIFY(DbProbe::exec("UPDATE DailyBackup SET Day = '2026-12-07T07:00:00'"));
        const qint64 day = 24 * 3600;
        const QStringList leftovers = {
            "helpdesk-2026-12-07.bak.partial0", "helpdesk-2026-12-07.bak.partial0-journal",
            "helpdesk-2026-11-02.bak.partial3", "helpdesk-2026-11-02.dump.partial",
            "helpdesk-2026-11-03.dump.partial0"};
        for (const QString& name : leftovers)
            QVERIFY(plant(dir.filePath(name), QByteArray(1024, 'x'), day));
        // A dump that another workstation writes now, and a user's file.
        QVERIFY(plant(dir.filePath("helpdesk-2026-12-06.dump.partial0"), "PGDMP"));
        QVERIFY(plant(dir.filePath("notes.bak.partial0"), "mine", day));

        QCOMPARE(runAt(MondayMorning).outcome, DailyBackup::Outcome::Written);

        QStringList expected = {backupName(Monday), "notes.bak.partial0",
                                QString::fromLatin1(BackupRecord::ListName)};
        if (TestFolder::onServer())
            expected << "helpdesk-2026-12-06.dump.partial0";
        expected.sort();
        QCOMPARE(dir.entryList(QDir::Files), expected);
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
        const auto check = [&](const QDateTime& at) {
            automatic.check(at);
            return QTest::qWaitFor([&] { return !automatic.isRunning(); }, 60000);
        };

        QVERIFY(check(MondayMorning));
        QCOMPARE(prompts.messages().size(), 1);
        QVERIFY2(prompts.lastMessage().startsWith(
                     QStringLiteral("The daily backup could not be written to %1/%2")
                         .arg(missing, backupName(Monday))),
                 qPrintable(prompts.lastMessage()));
        QCOMPARE(automatic.panel()->text(), QStringLiteral("Last backup: none"));
        // The claim went back, so that another workstation may try the day.
        QCOMPARE(DbProbe::value("SELECT Day FROM DailyBackup"), QString());

        prompts.clear();
        QVERIFY(check(MondayMorning.addSecs(600)));
        QCOMPARE(prompts.messages(), QStringList());

        QVERIFY(check(MondayMorning.addDays(1)));
        QCOMPARE(prompts.messages().size(), 1);

        // Another workstation is making the day's backup: this one looks again later and takes
        // the day over once that claim is older than a backup can take.
        prompts.clear();
        QVERIFY(QDir().mkpath(missing));
        const QDateTime wednesday = MondayMorning.addDays(2);
        QVERIFY(DbProbe::exec("UPDATE DailyBackup SET Day = '2026-12-09T08:00:00'"));
        QVERIFY(check(wednesday));
        QVERIFY(!QFile::exists(QDir(missing).filePath(backupName(wednesday.date()))));
        QVERIFY(check(wednesday.addMSecs(DailyBackup::claimLifetimeMs())));
        QCOMPARE(prompts.messages(), QStringList());
        QVERIFY(QFile::exists(QDir(missing).filePath(backupName(wednesday.date()))));
        QVERIFY(automatic.panel()->text().startsWith(QStringLiteral("Last backup: ")));
        QVERIFY(automatic.panel()->text() != QStringLiteral("Last backup: none"));
    }
};

QTEST_MAIN(TestDailyBackup)
#include "tst_dailybackup.moc"
