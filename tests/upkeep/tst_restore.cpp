#include "data/conversions.h"
#include "data/database.h"
#include "data/shopkey.h"
#include "support/dbprobe.h"
#include "support/filecontents.h"
#include "support/scriptedprompter.h"
#include "support/secondconnection.h"
#include "support/testfolder.h"
#include "upkeep/backupfile.h"
#include "upkeep/compactdatabase.h"
#include "upkeep/upkeepmenu.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>
#include <sqlcipher/sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

/** The group of nobody's files, which the tests' account (root) may give a file. */
constexpr gid_t NoGroup = 65534;

/** A backup of the shop as it is now, written as Backup Database writes it. */
QString backUp(const QTemporaryDir& dir)
{
    const QString path = dir.filePath(QStringLiteral("monday.bak"));
    const BackupFile::Outcome outcome = BackupFile::copyDatabaseTo(path);
    if (!outcome.isOk())
        qWarning("backup failed: %s", qPrintable(outcome.detail));
    return path;
}

/** Chooses `backup` from the menu entry and answers the confirmation with Yes. */
void restoreFrom(ScriptedPrompter& prompts, const QString& backup)
{
    prompts.answerFile(backup);
    prompts.answerConfirm(true);
    UpkeepMenu menu;
    menu.mnurestore_Click();
}

/** A plain database without the shop's key. */
bool writeUnkeyedDatabase(const QString& path)
{
    sqlite3* db = nullptr;
    const bool made = sqlite3_open(QFile::encodeName(path).constData(), &db) == SQLITE_OK &&
                      sqlite3_exec(db, "CREATE TABLE CallLog (TicketNum INTEGER)", nullptr, nullptr,
                                   nullptr) == SQLITE_OK;
    sqlite3_close(db);
    return made;
}

} // namespace

/** Restore from a backup: a checked backup takes the database's place, the old one is kept. */
class TestRestore : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void restoresAfterShowingWhatTheBackupHolds()
    {
        TestFolder folder(TestFolder::Content::Demo);
        ScriptedPrompter prompts;
        if (TestFolder::onServer()) {
            UpkeepMenu menu;
            menu.mnurestore_Click();
            QVERIFY(prompts.lastMessage().contains(QStringLiteral("pg_restore")));
            return;
        }
        QTemporaryDir dir;
        const QString backup = backUp(dir);
        const QString lastInvoice = conv::formatDate(
            QDate::fromString(DbProbe::value("SELECT max(InvDate) FROM ARInvoice"), Qt::ISODate));
        QVERIFY(DbProbe::exec("INSERT INTO CallLog (TicketNum, OpenPostDate) "
                              "VALUES (7, '2031-05-06')"));
        SecondConnection otherWorkstation;
        QCOMPARE(DbProbe::count("CallLog"), 7);
        // What a run cut off while it kept the replaced database left.
        QVERIFY(writeFile(folder.filePath("helpdesk-e.mdb.before-restore-20260101-080000.partial"),
                          QByteArray(1024, 'x')));

        restoreFrom(prompts, backup);

        QStringList texts = prompts.allTexts();
        QCOMPARE(texts.size(), 3); // the file dialog, the question, the message
        // Enter answers No: replacing the database is not a step to take by mistake.
        QCOMPARE(prompts.shown()[1].defaultAnswer, Prompter::Answer::No);
        texts.removeFirst();
        QVERIFY(texts[0].contains(QStringLiteral("Last invoice: ") + lastInvoice));
        QVERIFY(texts[0].contains(QStringLiteral("Tickets: 6\n")));
        QVERIFY(texts[0].contains(QStringLiteral("Invoices: 1\n")));
        QVERIFY(!texts[0].contains(conv::formatDate(QDate(2031, 5, 6))));
        QVERIFY2(texts[1].startsWith(QStringLiteral("The database has been restored from ")),
                 qPrintable(texts[1]));
        QVERIFY(
            texts[1].endsWith(QStringLiteral("Database: the shop file ") + folder.databasePath()));
        QCOMPARE(DbProbe::count("CallLog"), 6);
        const QStringList kept =
            QDir(folder.path()).entryList({QStringLiteral("helpdesk-e.mdb.before-restore-*")});
        QCOMPARE(kept.size(), 1);
        QVERIFY(texts[1].contains(kept[0]));
        Database replaced(folder.filePath(kept[0]));
        Query count = replaced.query(QStringLiteral("SELECT count(*) FROM CallLog"));
        QVERIFY(count.next());
        QCOMPARE(count.integer(0), 7);
        // Another workstation's next handler works in the restored file.
        SecondConnection later;
        Query seen = later.db().query(QStringLiteral("SELECT count(*) FROM CallLog"));
        QVERIFY(seen.next());
        QCOMPARE(seen.integer(0), 6);
    }

    void badFilesAreRefusedAndTheDatabaseStays_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("why");
        QTest::newRow("not a database") << "text"
                                        << "cannot be opened with the shop's key";
        QTest::newRow("0 bytes") << "empty"
                                 << "the file is empty.";
        // Whole pages that no key opens: its key file is asked for, and none is chosen.
        QTest::newRow("without the key") << "unkeyed"
                                         << "it does not open with the shop's key";
        QTest::newRow("damaged") << "damaged"
                                 << "it is damaged (Page ";
        QTest::newRow("not a shop's tables") << "tables"
                                             << "it has no table SchemaVersion";
        QTest::newRow("the database itself") << "itself"
                                             << "the shop's database itself";
        QTest::newRow("the database by a hard link") << "hard link"
                                                     << "the shop's database itself";
        QTest::newRow("the database by a symbolic link") << "symbolic link"
                                                         << "the shop's database itself";
    }

    void badFilesAreRefusedAndTheDatabaseStays()
    {
        QFETCH(QString, kind);
        QFETCH(QString, why);
        SKIP_ON_SERVER();
        TestFolder folder(TestFolder::Content::Demo);
        QTemporaryDir dir;
        QString path = dir.filePath(QStringLiteral("chosen.bak"));
        if (kind == QLatin1String("text"))
            QVERIFY(writeFile(path, "Dear customer, your printer is ready for pick-up."));
        else if (kind == QLatin1String("empty"))
            QVERIFY(writeFile(path, {}));
        else if (kind == QLatin1String("unkeyed"))
            QVERIFY(writeUnkeyedDatabase(path));
        else if (kind == QLatin1String("tables")) {
            QVERIFY(Database::createFile(path));
            QVERIFY(
                Database(path).exec(QStringLiteral("CREATE TABLE CallLog (TicketNum INTEGER)")));
            Database::closeKeptConnections();
        } else if (kind == QLatin1String("damaged")) {
            path = backUp(dir);
            QByteArray bytes = contentsOf(path);
            bytes.replace(bytes.size() / 2, 64, QByteArray(64, 'x'));
            QVERIFY(writeFile(path, bytes));
        } else if (kind == QLatin1String("hard link")) {
            QVERIFY(::link(QFile::encodeName(folder.databasePath()).constData(),
                           QFile::encodeName(path).constData()) == 0);
        } else if (kind == QLatin1String("symbolic link")) {
            QVERIFY(QFile::link(folder.databasePath(), path));
        } else {
            path = folder.databasePath();
        }
        const QByteArray before = contentsOf(folder.databasePath());
        const QStringList programFiles = QDir(folder.path()).entryList(QDir::Files);
        ScriptedPrompter prompts;

        restoreFrom(prompts, path);

        // The file dialog and the message, with the key file's question and dialog before it
        // for a file that no key opens; never the Replace question.
        QCOMPARE(prompts.allTexts().size(), kind == QLatin1String("unkeyed") ? 4 : 2);
        QVERIFY2(prompts.lastMessage().startsWith(path + QStringLiteral(" cannot be restored: ")),
                 qPrintable(prompts.lastMessage()));
        QVERIFY2(prompts.lastMessage().contains(why), qPrintable(prompts.lastMessage()));
        // A damaged file's check names its first problem and counts the others.
        QVERIFY2(prompts.lastMessage().count(QLatin1String("Page ")) <= 1,
                 qPrintable(prompts.lastMessage()));
        QCOMPARE(contentsOf(folder.databasePath()), before);
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files), programFiles);
        QCOMPARE(DbProbe::count("CallLog"), 6);
    }

    void aBackupUnderAnotherKeyIsRewrittenUnderTheShopsKey_data()
    {
        QTest::addColumn<QString>("backupKey"); // "old password" or the shop's key before
        QTest::addColumn<QString>("keyFile");   // what the user chooses when asked; "" none
        QTest::addColumn<QString>("outcome");   // how the last message starts; "" restored
        QTest::newRow("old password") << "old password"
                                      << "-"
                                      << "";
        QTest::newRow("key file chosen") << "earlier key"
                                         << "earlier key"
                                         << "";
        QTest::newRow("no key file chosen") << "earlier key"
                                            << ""
                                            << "it does not open with the shop's key";
        QTest::newRow("no key in the file") << "earlier key"
                                            << "text"
                                            << "holds no shop's key";
        QTest::newRow("another shop's key file") << "earlier key"
                                                 << "another key"
                                                 << "the key file chosen does not open it";
    }

    void aBackupUnderAnotherKeyIsRewrittenUnderTheShopsKey()
    {
        QFETCH(QString, backupKey);
        QFETCH(QString, keyFile);
        QFETCH(QString, outcome);
        SKIP_ON_SERVER();
        TestFolder folder(TestFolder::Content::Demo);
        if (backupKey == QLatin1String("old password"))
            QVERIFY(folder.useOldPassword());
        const QString shopKeyFile = folder.filePath(QString::fromLatin1(ShopKey::FileName));
        const Result<ShopKey> earlier = ShopKey::readFile(shopKeyFile);
        QTemporaryDir dir;
        const QString backup = backUp(dir);
        // The shop moves to a new key after the backup: the backup opens with none of its keys.
        const ShopKey key = ShopKey::generate();
        QVERIFY(CompactDatabase::run(key));
        QVERIFY(key.writeFile(shopKeyFile));
        QVERIFY(DbProbe::exec("DELETE FROM CallLog WHERE TicketNum = 1"));
        // Shared with a group, as a shop whose workstations sign in as different accounts is.
        const QByteArray database = QFile::encodeName(folder.databasePath());
        QVERIFY(::chmod(database.constData(), 0640) == 0);
        QVERIFY(::chown(database.constData(), ::getuid(), NoGroup) == 0);
        const QString chosen = dir.filePath(QStringLiteral("monday.key"));
        if (keyFile == QLatin1String("earlier key"))
            QVERIFY(earlier->writeFile(chosen));
        else if (keyFile == QLatin1String("another key"))
            QVERIFY(ShopKey::generate().writeFile(chosen));
        else if (keyFile == QLatin1String("text"))
            QVERIFY(writeFile(chosen, "Dear customer, your printer is ready for pick-up."));
        const QByteArray before = contentsOf(folder.databasePath());
        const QStringList programFiles = QDir(folder.path()).entryList(QDir::Files);
        ScriptedPrompter prompts;
        prompts.answerFile(backup);
        if (keyFile != QLatin1String("-"))
            prompts.answerFile(keyFile.isEmpty() ? QString() : chosen);
        prompts.answerConfirm(true);

        UpkeepMenu().mnurestore_Click();

        const QList<ScriptedPrompter::Shown>& shown = prompts.shown();
        const bool askedForKey =
            shown.size() > 2 && shown[2].kind == ScriptedPrompter::Shown::Kind::OpenFile;
        QCOMPARE(askedForKey, keyFile != QLatin1String("-"));
        if (askedForKey)
            QVERIFY2(shown[1].text.contains(QLatin1String("Choose the key file")),
                     qPrintable(shown[1].text));
        QVERIFY2(prompts.lastMessage().contains(
                     outcome.isEmpty() ? QStringLiteral("has been restored from") : outcome),
                 qPrintable(prompts.lastMessage()));
        Database::closeKeptConnections();
        if (!outcome.isEmpty()) {
            QVERIFY(prompts.lastMessage().endsWith(
                QStringLiteral(" The database is left as it is.\n\nDatabase: the shop file ") +
                folder.databasePath()));
            QCOMPARE(contentsOf(folder.databasePath()), before);
            QCOMPARE(QDir(folder.path()).entryList(QDir::Files), programFiles);
            QCOMPARE(ShopKey::readFile(shopKeyFile).value(), key);
            QCOMPARE(DbProbe::count("CallLog"), 5);
            return;
        }
        // Every workstation opens the restored file with the shop's key file, and the file is
        // reached by the accounts that reached the database.
        QVERIFY(opensWithKey(folder.databasePath(), key.sqlcipherKey()));
        QCOMPARE(ShopKey::readFile(shopKeyFile).value(), key);
        QCOMPARE(DbProbe::count("CallLog"), 6);
        QCOMPARE(modeOf(folder.databasePath()), 0640);
        struct stat restored {};
        QVERIFY(::stat(database.constData(), &restored) == 0);
        QCOMPARE(restored.st_gid, NoGroup);
        const QStringList kept =
            QDir(folder.path()).entryList({QStringLiteral("helpdesk-e.mdb.before-restore-*")});
        QCOMPARE(kept.size(), 1);
        QCOMPARE(modeOf(folder.filePath(kept[0])), 0600);
    }
};

QTEST_MAIN(TestRestore)
#include "tst_restore.moc"
