#include "data/database.h"
#include "data/privatefile.h"
#include "data/programfolder.h"
#include "login/loginstore.h"
#include "reportengine/reportcommand.h"
#include "support/filecontents.h"
#include "support/scriptedprompter.h"
#include "support/secondconnection.h"
#include "support/testfolder.h"
#include "support/widgettesting.h"
#include "upkeep/backup.h"
#include "upkeep/backupfile.h"
#include "upkeep/backuprecord.h"
#include "upkeep/compactdatabase.h"
#include "upkeep/dailybackup.h"
#include "upkeep/upkeepmenu.h"
#include "widgets/tabbedlist.h"

#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>
#include <functional>
#include <sys/stat.h>

namespace {

const QString PermissionMessage = QStringLiteral(
    "You can not save the database in the same directory as this program,\nplease select a "
    "different directory to backup the database!");

/** The message with the line that names the shop's file as the database worked on. */
QString onShopFile(const QString& message)
{
    return message + QStringLiteral("\n\nDatabase: the shop file ") +
           ProgramFolder::filePath(QString::fromLatin1(Database::FileName));
}

qint64 ticketsIn(const QString& path)
{
    Database db(path);
    Query query = db.query(QStringLiteral("SELECT count(*) FROM CallLog"));
    return query.next() ? query.integer(0) : -1;
}

enum class Outcome { Made, Failed };

/** Opens the window from the menu, types the target and presses Backup: a backup made closes
 *  the window, a failed one keeps it open with the path as typed. */
void backUpTo(const QString& target, Outcome expected = Outcome::Made)
{
    UpkeepMenu menu;
    menu.mnubackup_Click();
    QPointer<Backup> window = menu.backupWindow();
    QVERIFY(window);
    auto* path = WidgetTesting::child<QLineEdit>(window, "txtDrivePath");
    WidgetTesting::typeInto(path, target);
    WidgetTesting::child<QPushButton>(window, "cmdBackup")->click();
    if (expected == Outcome::Made) {
        QTRY_VERIFY(!window);
        return;
    }
    QTest::qWait(0);
    QVERIFY(window && window->isVisible());
    QCOMPARE(path->text(), target);
    QVERIFY(!path->isReadOnly() && window->cmdBackup->isEnabled());
    window->close();
}

/** Writes files or folders for the shop in its program folder and names them. */
using Writer = std::function<QStringList(const QString& programFolder)>;

/** The process's file-creation mask for one test, the usual 022 of a desktop session. */
class UsualMask {
public:
    UsualMask() : m_before(::umask(022)) {}
    ~UsualMask() { ::umask(m_before); }
    UsualMask(const UsualMask&) = delete;
    UsualMask& operator=(const UsualMask&) = delete;
    static mode_t now()
    {
        const mode_t mask = ::umask(022);
        ::umask(mask);
        return mask;
    }

private:
    /** The mask the test found, put back when it ends. */
    mode_t m_before;
};

} // namespace

Q_DECLARE_METATYPE(Writer)

/** The backup window: a checked, keyed copy of the database in a file the user names. */
class TestBackup : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void windowStaysOnTopAndKeepsOpenWithoutATarget()
    {
        TestFolder folder;
        ScriptedPrompter prompts;
        UpkeepMenu menu;
        menu.mnubackup_Click();
        QPointer<Backup> window = menu.backupWindow();
        QVERIFY(window && window->isVisible());
        QVERIFY(window->windowFlags() & Qt::WindowStaysOnTopHint);
        menu.mnubackup_Click();
        QCOMPARE(menu.backupWindow(), window.data());

        window->cmdBackup->click();
        QCOMPARE(prompts.messages(), QStringList{QStringLiteral(
                                         "Please enter a directory to backup the Database to!")});
        QTest::qWait(0);
        QVERIFY(window && window->isVisible());

        // Browse fills the box, unless cancelled.
        window->txtDrivePath->setText(QStringLiteral("/kept"));
        window->cmdBrowes->click();
        QCOMPARE(window->txtDrivePath->text(), QStringLiteral("/kept"));
        prompts.answerFile(QStringLiteral("/media/usb/helpdesk.mdb"));
        window->cmdBrowes->click();
        QCOMPARE(window->txtDrivePath->text(), QStringLiteral("/media/usb/helpdesk.mdb"));
        window->close();
    }

    void enterMakesAKeyedCopyInPlaceOfAnOldFile()
    {
        TestFolder folder(TestFolder::Content::Demo);
        QTemporaryDir target;
        const QString path = target.filePath(QStringLiteral("helpdesk.mdb"));
        QVERIFY(writeFile(path, "an older file that is no database"));
        ScriptedPrompter prompts;
        QPointer<Backup> window = new Backup;
        QVERIFY(WidgetTesting::showActive(window));
        WidgetTesting::typeInto(window->txtDrivePath, path);
        QTest::keyClick(window->txtDrivePath, Qt::Key_Return);
        const QString done = QStringLiteral("Database has been backedup to: ") + path;
        QTRY_VERIFY(!window);
        if (TestFolder::onServer()) {
            // The server's archive, and the message names the server.
            QVERIFY2(prompts.lastMessage().startsWith(
                         done + QStringLiteral("\n\nDatabase: the database server PostgreSQL ")),
                     qPrintable(prompts.lastMessage()));
            QVERIFY(contentsOf(path).startsWith("PGDMP"));
            return;
        }
        QCOMPARE(prompts.messages(), QStringList{onShopFile(done)});
        QVERIFY(!contentsOf(path).startsWith("SQLite format 3"));
        QCOMPARE(ticketsIn(path), 6);
        QCOMPARE(QDir(target.path()).entryList(QDir::Files), QStringList{"helpdesk.mdb"});
    }

    void copyIsConsistentWhileAnotherWorkstationReadsOrWrites()
    {
        SKIP_ON_SERVER();
        TestFolder folder(TestFolder::Content::Demo);
        QTemporaryDir target;
        ScriptedPrompter prompts;
        SecondConnection reader;
        QVERIFY(reader.db().exec(QStringLiteral("BEGIN")));
        Query reading = reader.db().query(QStringLiteral("SELECT TicketNum FROM CallLog"));
        QVERIFY(reading.next());

        const QString whileReading = target.filePath(QStringLiteral("reading.mdb"));
        backUpTo(whileReading);
        QCOMPARE(ticketsIn(whileReading), 6);
        reading = Query(reader.db().query(QStringLiteral("COMMIT")));
        QVERIFY(reading.exec());

        SecondConnection writer;
        Transaction writing(writer.db());
        QVERIFY(writer.db().exec(QStringLiteral("INSERT INTO CallLog (TicketNum) VALUES (7)")));
        const QString whileWriting = target.filePath(QStringLiteral("writing.mdb"));
        backUpTo(whileWriting);
        // The copy holds what was committed; the writer finishes undisturbed.
        QCOMPARE(ticketsIn(whileWriting), 6);
        QVERIFY(writing.commit());
        QCOMPARE(ticketsIn(folder.databasePath()), 7);
        QCOMPARE(prompts.messages().size(), 2);
        QVERIFY(prompts.lastMessage().startsWith(QStringLiteral("Database has been backedup")));
    }

    void leftoversOfRunsThatWereCutOffGo()
    {
        SKIP_ON_SERVER();
        TestFolder folder(TestFolder::Content::Demo);
        QTemporaryDir scratch;
        // The folder's name holds what text formatting would take for a placeholder.
        const QDir backups(scratch.filePath(QStringLiteral("50%1 off")));
        QVERIFY(backups.mkpath(QStringLiteral(".")));
        const QString target = backups.filePath(QStringLiteral("helpdesk.mdb"));
        for (int run = 0; run < 100; ++run) {
            for (const char* kept : {"", "-journal"}) {
                QFile leftover(target + QStringLiteral(".partial") + QString::number(run) +
                               QLatin1String(kept));
                QVERIFY(leftover.open(QIODevice::WriteOnly));
                leftover.write(QByteArray(4096, 'x'));
            }
        }
        // Another workstation's run is still writing its copy.
        const QString running = target + QStringLiteral(".partial100");
        QVERIFY(BackupFile::createEmptyFile(running).isOk());
        Database writing(running);
        QVERIFY(writing.lockExclusively());
        ScriptedPrompter prompts;

        backUpTo(target);

        QCOMPARE(
            prompts.messages(),
            QStringList{onShopFile(QStringLiteral("Database has been backedup to: ") + target)});
        QCOMPARE(backups.entryList(QDir::Files),
                 (QStringList{"helpdesk.mdb", "helpdesk.mdb.partial100",
                              "helpdesk.mdb.partial100-journal"}));
        QCOMPARE(ticketsIn(target), 6);
    }

    void everyFileWrittenForTheShopIsOwnerOnly_data()
    {
        QTest::addColumn<Writer>("write");
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("fileOnly"); // what only a shop kept in a file writes
        QTest::newRow("--csv and --pdf") << Writer([](const QString& folder) {
            const QStringList out{folder + "/bill.pdf", folder + "/bill.csv"};
            runReportCommand(QStringLiteral("Bill"), {}, out[0], out[1]);
            return out;
        }) << 0600 << false;
        QTest::newRow("Save as CSV...") << Writer([](const QString& folder) {
            ScriptedPrompter prompts;
            prompts.answerFile(folder + "/list.csv");
            TabbedList list;
            list.setLines({QStringLiteral("1\tJTT-1")});
            list.saveAsCsv();
            return QStringList{folder + "/list.csv"};
        }) << 0600 << false;
        QTest::newRow("EmpID.dat") << Writer([](const QString& folder) {
            LastEmployee::write(QStringLiteral("JTT-1"));
            return QStringList{folder + "/EmpID.dat"};
        }) << 0600 << false;
        QTest::newRow("backup") << Writer([](const QString& folder) {
            BackupFile::copyDatabaseTo(folder + "/copy.mdb");
            return QStringList{folder + "/copy.mdb"};
        }) << 0600 << true;
        QTest::newRow("daily backup and its list") << Writer([](const QString& folder) {
            const QString name = DailyBackup::fileName(QDate(2026, 12, 7), false);
            BackupFile::copyDatabaseTo(folder + '/' + name);
            DailyBackup::recordAndPrune(folder, name, QDateTime::currentDateTime(), 3);
            return QStringList{folder + '/' + name,
                               folder + '/' + QString::fromLatin1(BackupRecord::ListName)};
        }) << 0600 << true;
        QTest::newRow("compaction") << Writer([](const QString& folder) {
            CompactDatabase::run();
            return QStringList{folder + '/' + QString::fromLatin1(Database::FileName)};
        }) << 0600 << true;
        QTest::newRow("the shop's folders") << Writer([](const QString& folder) {
            const QString shop = folder + "/new/shop";
            PrivateFile::makeFolder(shop);
            ProgramFolder::setPath(shop);
            ProgramFolder::layOutShippedFiles();
            ProgramFolder::setPath(folder);
            return QStringList{folder + "/new", shop, shop + "/Reports", shop + "/EmpPics"};
        }) << 0700 << false;
    }

    void everyFileWrittenForTheShopIsOwnerOnly()
    {
        QFETCH(Writer, write);
        QFETCH(int, mode);
        QFETCH(bool, fileOnly);
        if (fileOnly)
            SKIP_ON_SERVER();
        TestFolder folder(TestFolder::Content::Demo);
        const UsualMask usual;
        for (const QString& path : write(folder.path()))
            QVERIFY2(modeOf(path) == mode,
                     qPrintable(QStringLiteral("%1: %2").arg(path).arg(modeOf(path), 0, 8)));
        QCOMPARE(UsualMask::now(), mode_t(022));
    }

    void creationGuardsMayOverlap()
    {
        const UsualMask usual;
        auto first = std::make_unique<PrivateFile::CreationGuard>();
        auto second = std::make_unique<PrivateFile::CreationGuard>();
        first.reset();
        QCOMPARE(UsualMask::now(), mode_t(077));
        second.reset();
        QCOMPARE(UsualMask::now(), mode_t(022));
    }

    void failuresAreNamedAndLeaveNothingBehind_data()
    {
        QTest::addColumn<QString>("target"); // %1 is a scratch folder, %2 the program folder
        QTest::addColumn<QString>("message");
        const QString invalid = QStringLiteral("Please enter a valid path!");
        QTest::newRow("missing folder") << "%1/missing/helpdesk.mdb"
                                        << "Path not found\n%1/missing";
        QTest::newRow("file as folder") << "%1/file/helpdesk.mdb"
                                        << "Path not found\n%1/file";
        QTest::newRow("database itself") << "%2/helpdesk-e.mdb" << PermissionMessage;
        QTest::newRow("database by another way") << "%2/../%3/helpdesk-e.mdb" << PermissionMessage;
        QTest::newRow("a folder") << "%1" << invalid;
        QTest::newRow("no file name") << "%1/" << invalid;
        QTest::newRow("relative name") << "helpdesk.mdb" << invalid;
    }

    void failuresAreNamedAndLeaveNothingBehind()
    {
        SKIP_ON_SERVER();
        QFETCH(QString, target);
        QFETCH(QString, message);
        TestFolder folder(TestFolder::Content::Demo);
        QTemporaryDir scratch;
        QVERIFY(writeFile(scratch.filePath(QStringLiteral("file")), {}));
        const QByteArray before = contentsOf(folder.databasePath());
        const QStringList programFiles = QDir(folder.path()).entryList(QDir::Files);
        ScriptedPrompter prompts;

        target.replace(QLatin1String("%1"), scratch.path())
            .replace(QLatin1String("%2"), folder.path())
            .replace(QLatin1String("%3"), QFileInfo(folder.path()).fileName());
        message.replace(QLatin1String("%1"), scratch.path());
        backUpTo(target, Outcome::Failed);

        QCOMPARE(prompts.messages(), QStringList{onShopFile(message)});
        QCOMPARE(contentsOf(folder.databasePath()), before);
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files), programFiles);
        QCOMPARE(QDir(scratch.path()).entryList(QDir::Files), QStringList{"file"});
    }

    void readOnlyFolderIsRefused()
    {
        SKIP_ON_SERVER();
        TestFolder folder(TestFolder::Content::Demo);
        QTemporaryDir scratch;
        QString readOnly = scratch.filePath(QStringLiteral("locked"));
        QVERIFY(QDir().mkdir(readOnly));
        QFile::setPermissions(readOnly, QFile::ReadOwner | QFile::ExeOwner);
        QFile probe(readOnly + QStringLiteral("/probe"));
        if (probe.open(QIODevice::WriteOnly)) {
            // Permissions do not bind this user (an administrator): use a folder of the
            // system's own that refuses everyone.
            probe.remove();
            readOnly = QStringLiteral("/sys");
            if (!QFileInfo(readOnly).isDir())
                QSKIP("No folder refuses this user");
        }
        ScriptedPrompter prompts;
        backUpTo(readOnly + QStringLiteral("/helpdesk.mdb"), Outcome::Failed);
        QCOMPARE(prompts.messages(), QStringList{onShopFile(PermissionMessage)});
        QVERIFY(!QFileInfo::exists(readOnly + QStringLiteral("/helpdesk.mdb")));
        QFile::setPermissions(scratch.filePath(QStringLiteral("locked")),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
};

QTEST_MAIN(TestBackup)
#include "tst_backup.moc"
