#include "data/database.h"
#include "data/databasesetup.h"
#include "data/passwords.h"
#include "data/schema.h"
#include "data/serversettings.h"
#include "helpdesk/mailstore.h"
#include "helpdesk/ticketstore.h"
#include "support/commitwhilewaiting.h"
#include "support/dbprobe.h"
#include "support/lockpatience.h"
#include "support/permissionsbind.h"
#include "support/secondconnection.h"
#include "support/testfolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QtTest>
#include <csignal>
#include <sqlcipher/sqlite3.h>

/** The encrypted file, the schema's fixed column orders and the data layer's guarantees. */
class TestDatabase : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void fileIsEncryptedAndOpensOnlyWithItsOwnKey()
    {
        SKIP_ON_SERVER();
        TestFolder folder;
        QFile file(folder.databasePath());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(!file.read(16).startsWith("SQLite format 3"));
        file.close();
        const QString keyFile = folder.filePath(ShopKey::FileName);
        const Result<ShopKey> key = ShopKey::readFile(keyFile);
        QVERIFY(key && !key->isOldPassword());
        QCOMPARE(modeOf(keyFile), 0600);
        QVERIFY(!opensWithKey(folder.databasePath(), "wrong"));
        QVERIFY(!opensWithKey(folder.databasePath(), ShopKey::oldPassword().sqlcipherKey()));
        QVERIFY(opensWithKey(folder.databasePath(), "x'" + key->hex() + "'"));
        {
            Database db;
            QVERIFY(db.isOpen());
            Query query = db.query(QStringLiteral("SELECT count(*) FROM Login"));
            QVERIFY(query.next());
            QCOMPARE(query.integer(0), 1);
        }
        // Without its key file the shop is locked, and the message says what is missing.
        Database::closeKeptConnections();
        QVERIFY(QFile::rename(keyFile, keyFile + ".away"));
        Database db;
        QVERIFY(!db.isOpen());
        QCOMPARE(db.openStatus().kind(), Status::Kind::WrongKey);
        QVERIFY2(db.openStatus().message().contains("its key file helpdesk-e.key is missing"),
                 qPrintable(db.openStatus().message()));
    }

    void fileOfAnOlderReleaseOpensWithTheOldPassword()
    {
        SKIP_ON_SERVER();
        TestFolder folder(TestFolder::Content::Demo);
        const qint64 customers = DbProbe::count("Customer");
        QVERIFY(folder.useOldPassword());
        QVERIFY(opensWithKey(folder.databasePath(), ShopKey::oldPassword().sqlcipherKey()));
        Database db;
        QVERIFY(db.isOpen());
        QVERIFY(db.fileKey()->isOldPassword());
        QCOMPARE(DbProbe::count("Customer"), customers);
    }

    void missingOrForeignFileIsReportedNotCreated()
    {
        TestFolder folder(TestFolder::Content::NoDatabase);
        {
            Database db;
            QVERIFY(!db.isOpen());
            QVERIFY(db.openStatus().isNotFound());
        }
        QVERIFY(!QFile::exists(folder.databasePath()));

        QFile junk(folder.databasePath());
        QVERIFY(junk.open(QIODevice::WriteOnly));
        junk.write(QByteArray(4096, 'x'));
        junk.close();
        Database db;
        QVERIFY(!db.isOpen());
        QVERIFY(!db.openStatus().message().isEmpty());
    }

    void createRefusesToOverwrite()
    {
        TestFolder folder;
        if (TestFolder::onServer()) {
            QVERIFY(!DatabaseSetup::createOnServer(ServerSettings::address(), "x", false));
            QCOMPARE(DbProbe::count("Login"), 1);
            return;
        }
        const QByteArray before = [&] {
            QFile f(folder.databasePath());
            f.open(QIODevice::ReadOnly);
            return f.readAll();
        }();
        Database::closeKeptConnections();
        QVERIFY(!DatabaseSetup::create(folder.databasePath(), QStringLiteral("x"), false));
        QFile after(folder.databasePath());
        QVERIFY(after.open(QIODevice::ReadOnly));
        QCOMPARE(after.readAll(), before);
    }

    void positionalColumnOrders_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QStringList>("leading");
        QTest::newRow("Inventory")
            << "Inventory" << QStringList{"ItemNo", "ItemDescp", "ItemPrice1"};
        QTest::newRow("Employee") << "Employee"
                                  << QStringList{"EmpID",       "EmpFName", "EmpLName", "EmpMidIn",
                                                 "EmpAdd",      "EmpCity",  "EmpState", "EmpZip",
                                                 "EmpPhone",    "EmpEmail", "EmpSSN",   "EmpDOB",
                                                 "EmpHireDate", "EmpComm",  "EmpPic",   "Inactive",
                                                 "Male",        "Female",   "PostDate"};
        QStringList access = Schema::accessFlagColumns();
        access << "EmpID";
        QTest::newRow("EmployeeAccess") << "EmployeeAccess" << access;
        QTest::newRow("COMPANY") << "COMPANY"
                                 << QStringList{"CompName", "CompAdd",   "CompCity", "CompState",
                                                "CompZip",  "CompPhone", "CompFax",  "CompEmail",
                                                "CompWeb",  "PostDate",  "CompID"};
    }

    void positionalColumnOrders()
    {
        QFETCH(QString, table);
        QFETCH(QStringList, leading);
        TestFolder folder;
        Database db;
        Query query = db.query(QStringLiteral("SELECT * FROM %1").arg(table));
        QVERIFY(query.columnCount() >= leading.size());
        for (int i = 0; i < leading.size(); ++i)
            QCOMPARE(query.columnName(i).toLower(), leading[i].toLower());
        QCOMPARE(Schema::accessFlagColumns().size(), 25);
    }

    void textMatchesWithoutCaseAndValuesTravelBound()
    {
        TestFolder folder;
        Database db;
        QVERIFY(db.exec(QStringLiteral("INSERT INTO Customer (CustID, CustName) VALUES (?, ?)"),
                        "OBN-1", "O'Brien's Bar & Grill"));
        QVERIFY(db.exec(QStringLiteral("INSERT INTO Customer (CustID, CustName) VALUES (?, ?)"),
                        "abe-2", "abe"));

        Query byId =
            db.query(QStringLiteral("SELECT CustName FROM Customer WHERE CustID = ?"), "obn-1");
        QVERIFY(byId.next());
        QCOMPARE(byId.text("custname"), QStringLiteral("O'Brien's Bar & Grill"));

        Query like = db.query(
            QStringLiteral("SELECT count(*) FROM Customer WHERE CustName LIKE ? ESCAPE '\\'"),
            likeContains(QStringLiteral("BRIEN'S")));
        QVERIFY(like.next());
        QCOMPARE(like.integer(0), 1);

        Query sorted = db.query(QStringLiteral("SELECT CustID FROM Customer ORDER BY CustID"));
        QVERIFY(sorted.next());
        QCOMPARE(sorted.text(0), QStringLiteral("abe-2"));

        // A duplicate key differing only in case is refused as a duplicate.
        Status duplicate =
            db.exec(QStringLiteral("INSERT INTO Customer (CustID) VALUES (?)"), "Obn-1");
        QVERIFY(duplicate.isDuplicate());
        QVERIFY(!duplicate.message().isEmpty());
    }

    void likeContainsMatchesWildcardsLiterally()
    {
        TestFolder folder;
        Database db;
        for (const char* text : {"100% dead", "1000 dead", "a_b", "axb", "star*", "back\\slash"})
            QVERIFY(db.exec(
                QStringLiteral("INSERT INTO ProbSol (TicketNum, QuickDescp) VALUES (1, ?)"), text));
        auto count = [&](const QString& typed) {
            Query q = db.query(
                QStringLiteral("SELECT count(*) FROM ProbSol WHERE QuickDescp LIKE ? ESCAPE '\\'"),
                likeContains(typed));
            return q.next() ? q.integer(0) : -1;
        };
        QCOMPARE(count(QStringLiteral("100%")), 1);
        QCOMPARE(count(QStringLiteral("_")), 1);
        QCOMPARE(count(QStringLiteral("*")), 1);
        QCOMPARE(count(QStringLiteral("\\")), 1);
        QCOMPARE(count(QString()), 6);
    }

    void valuesRoundTripExactly()
    {
        TestFolder folder;
        Database db;
        const QDate day(2026, 2, 28);
        const Currency amount = Currency::fromUnits(12345678); // 1234.5678
        QVERIFY(db.exec(QStringLiteral("INSERT INTO ARInvoice (InvNum, InvDate, InvTotal, InvPaid, "
                                       "PayDate) VALUES (?, ?, ?, ?, ?)"),
                        7, day, amount, true, std::optional<QDate>()));
        Query q = db.query(QStringLiteral("SELECT * FROM ARInvoice WHERE InvNum = ?"), 7);
        QVERIFY(q.next());
        QCOMPARE(q.date("InvDate"), day);
        QCOMPARE(q.money("InvTotal"), amount);
        QVERIFY(q.boolean("InvPaid"));
        QVERIFY(q.isNull("PayDate"));
        QVERIFY(!q.date("PayDate").isValid());
        QCOMPARE(q.columnIndex(QStringLiteral("nosuchcolumn")), -1);
        QCOMPARE(q.text(QStringLiteral("nosuchcolumn")), QString());
    }

    void transactionRollsBackUnlessCommitted()
    {
        TestFolder folder;
        Database db;
        {
            Transaction transaction(db);
            QVERIFY(transaction.isActive());
            QVERIFY(db.exec(QStringLiteral("UPDATE TicketCount SET TicketNum = 99")));
        }
        Query q = db.query(QStringLiteral("SELECT TicketNum FROM TicketCount"));
        QVERIFY(q.next());
        QCOMPARE(q.integer(0), 0);
        {
            Transaction transaction(db);
            QVERIFY(db.exec(QStringLiteral("UPDATE TicketCount SET TicketNum = 5")));
            QVERIFY(transaction.commit());
        }
        Query again = db.query(QStringLiteral("SELECT TicketNum FROM TicketCount"));
        QVERIFY(again.next());
        QCOMPARE(again.integer(0), 5);
    }

    void otherConnectionsSeeCommittedChangesAtOnce()
    {
        SKIP_ON_SERVER();
        TestFolder folder;
        {
            Database warm;
        }
        sqlite3* other = nullptr;
        QCOMPARE(sqlite3_open(QFile::encodeName(folder.databasePath()).constData(), &other),
                 SQLITE_OK);
        const QByteArray key =
            ShopKey::readFile(folder.filePath(ShopKey::FileName))->sqlcipherKey();
        sqlite3_key(other, key.constData(), static_cast<int>(key.size()));
        QCOMPARE(
            sqlite3_exec(other, "UPDATE TicketCount SET TicketNum = 41", nullptr, nullptr, nullptr),
            SQLITE_OK);
        {
            Database db;
            Query q = db.query(QStringLiteral("SELECT TicketNum FROM TicketCount"));
            QVERIFY(q.next());
            QCOMPARE(q.integer(0), 41);
            QVERIFY(db.exec(QStringLiteral("UPDATE TicketCount SET TicketNum = 42")));
        }
        sqlite3_stmt* statement = nullptr;
        sqlite3_prepare_v2(other, "SELECT TicketNum FROM TicketCount", -1, &statement, nullptr);
        QCOMPARE(sqlite3_step(statement), SQLITE_ROW);
        QCOMPARE(sqlite3_column_int(statement, 0), 42);
        sqlite3_finalize(statement);
        sqlite3_close(other);
    }

    void replacedFileIsReopened()
    {
        SKIP_ON_SERVER();
        TestFolder folder;
        {
            Database db;
            QVERIFY(db.exec(QStringLiteral("UPDATE TicketCount SET TicketNum = 3")));
        }
        const QString copy = folder.filePath(QStringLiteral("copy.mdb"));
        QVERIFY(QFile::copy(folder.databasePath(), copy));
        {
            Database db;
            QVERIFY(db.exec(QStringLiteral("UPDATE TicketCount SET TicketNum = 9")));
        }
        QVERIFY(QFile::remove(folder.databasePath()));
        QVERIFY(QFile::rename(copy, folder.databasePath()));
        Database db;
        Query q = db.query(QStringLiteral("SELECT TicketNum FROM TicketCount"));
        QVERIFY(q.next());
        QCOMPARE(q.integer(0), 3);
    }

    void writesGoIntoTheFileThatReplacedTheirs_data()
    {
        QTest::addColumn<bool>("inTransaction");
        QTest::newRow("a transaction") << true;
        QTest::newRow("a store's single statement") << false;
    }

    void writesGoIntoTheFileThatReplacedTheirs()
    {
        SKIP_ON_SERVER();
        QFETCH(bool, inTransaction);
        TestFolder folder(TestFolder::Content::Demo);
        const QString copy = folder.filePath(QStringLiteral("copy.mdb"));
        {
            Database warm;
            QVERIFY(QFile::copy(folder.databasePath(), copy));
        }
        Database db; // a handler's scope, opened before the compaction elsewhere
        QVERIFY(QFile::remove(folder.databasePath()));
        QVERIFY(QFile::rename(copy, folder.databasePath()));
        if (inTransaction) {
            Transaction transaction(db);
            QVERIFY(transaction.isActive());
            QVERIFY(db.exec(QStringLiteral("UPDATE CallLog SET EmailSol = 1 WHERE TicketNum = 2")));
            QVERIFY(transaction.commit());
        } else {
            const Status marked = MailStore::markSolutionEmailed(db, 2);
            QVERIFY2(marked, qPrintable(marked.message()));
        }
        Database::closeKeptConnections();
        Database again;
        Query q = again.query(QStringLiteral("SELECT EmailSol FROM CallLog WHERE TicketNum = 2"));
        QVERIFY(q.next());
        QCOMPARE(q.integer(0), 1);
    }

    void aSaveThatWaitedForAnotherSeesWhatItCommitted_data()
    {
        QTest::addColumn<bool>("callLocked");
        QTest::newRow("the call's row locked there") << true;
        QTest::newRow("only its texts changed there") << false;
    }

    void aSaveThatWaitedForAnotherSeesWhatItCommitted()
    {
        QFETCH(bool, callLocked);
        TestFolder folder(TestFolder::Content::Demo);
        const auto shown = TicketStore::ticketDetail(2);
        QVERIFY2(shown, qPrintable(shown.status().message()));
        CallUpdate update;
        update.ticket = 2;
        update.status = QStringLiteral("Open");
        update.comments = shown->comments;
        update.quickDescription = shown->quickDescription;
        update.problem = shown->problem;
        update.solution = QStringLiteral("Solved at B");
        update.loaded = shown->loaded;

        OtherWorkstation other;
        Transaction held(other.db());
        QVERIFY(held.isActive());
        if (callLocked && TestFolder::onServer())
            QVERIFY(other.db()
                        .query(QStringLiteral(
                            "SELECT Comm FROM CallLog WHERE TicketNum = 2 FOR UPDATE"))
                        .next());
        QVERIFY(other.db().exec(QStringLiteral("UPDATE ProbSol SET Solution = 'Solved at A' "
                                               "WHERE TicketNum = 2 AND KBEntry = 0")));
        CommitWhileWaiting commit(other.db(), held);
        const Status saved = commit.run([&] { return TicketStore::updateCall(update); });
        QVERIFY2(commit.committed(), qPrintable(commit.committed().message()));
        QCOMPARE(saved.message(), RowSnapshot::changedMessage());
        QCOMPARE(DbProbe::value("SELECT Solution FROM ProbSol WHERE TicketNum = 2 AND KBEntry = 0"),
                 QStringLiteral("Solved at A"));
    }

    void aLostServerSessionIsReplacedAtTheNextScope_data()
    {
        QTest::addColumn<bool>("stopped");
        QTest::newRow("ended by the server") << false;
        QTest::newRow("its server process stopped") << true;
    }

    void aLostServerSessionIsReplacedAtTheNextScope()
    {
        if (!TestFolder::onServer())
            QSKIP("This case concerns a database server");
        QFETCH(bool, stopped);
        TestFolder folder;
        QSettings(folder.filePath(QStringLiteral("quorvane.ini")), QSettings::IniFormat)
            .setValue(QStringLiteral("database/timeout"), 1);
        const QString session = QStringLiteral("SELECT pg_backend_pid()");
        const qint64 pid = DbProbe::value(session).toLongLong();
        QVERIFY(pid > 0);
        if (stopped) {
            if (::kill(static_cast<pid_t>(pid), SIGSTOP) != 0)
                QSKIP("The server's processes cannot be stopped from here (run as root)");
            QElapsedTimer waited;
            waited.start();
            const Status lost = Database::write([](Database& db) {
                return db.exec(QStringLiteral("UPDATE TicketCount SET TicketNum = 7"));
            });
            const qint64 ms = waited.elapsed();
            ::kill(static_cast<pid_t>(pid), SIGCONT);
            QCOMPARE(lost.kind(), Status::Kind::Unreachable);
            QVERIFY2(lost.message().startsWith(
                         QLatin1String("The database server did not answer within 1 second")),
                     qPrintable(lost.message()));
            QVERIFY2(ms >= 1000 && ms < 4000, qPrintable(QString::number(ms)));
        } else {
            OtherWorkstation other;
            // The server ends the session as it does when it restarts or an administrator ends it.
            Query ended = other.db().query(
                QStringLiteral("SELECT pg_terminate_backend(CAST(? AS INTEGER), 5000)"), pid);
            QVERIFY(ended.next());
            QCOMPARE(ended.text(0), QStringLiteral("1"));
        }
        QCOMPARE(DbProbe::value("SELECT TicketNum FROM TicketCount"), QStringLiteral("0"));
        QVERIFY(DbProbe::value(session).toLongLong() != pid);
    }

    void lockedFileIsInUseNotDamaged()
    {
        SKIP_ON_SERVER();
        TestFolder folder(TestFolder::Content::Demo);
        SecondConnection compacting;
        QVERIFY(compacting.db().lockExclusively());
        Database::closeKeptConnections(); // this workstation opens the file while it is locked
        const LockPatience giveUpAtOnce(0, 0);
        const QString inUse = QStringLiteral(
            "The database is in use on another workstation; please try again in a moment.");

        Database db;
        QVERIFY(db.isOpen());
        Query read = db.query(QStringLiteral("SELECT count(*) FROM CallLog"));
        QVERIFY(!read.next());
        QCOMPARE(read.status().message(), inUse);
        Transaction write(db);
        QVERIFY(!write.isActive());
        QCOMPARE(write.beginStatus().message(), inUse);
    }

    void readOnlyPlacesAreNamed_data()
    {
        QTest::addColumn<bool>("folderReadOnly");
        QTest::addColumn<QString>("message"); // %1 is the folder, %2 the database file
        QTest::newRow("folder") << true
                                << "The folder %1 is read-only, so nothing can be saved in the "
                                   "database.";
        QTest::newRow("database file")
            << false << "The database file %2 is read-only, so nothing can be saved in it.";
    }

    void readOnlyPlacesAreNamed()
    {
        SKIP_ON_SERVER();
        QFETCH(bool, folderReadOnly);
        QFETCH(QString, message);
        TestFolder folder;
        PermissionsBind permissions;
        if (!permissions.isBinding())
            QSKIP("File permissions do not bind this process");
        const QString readOnly = folderReadOnly ? folder.path() : folder.databasePath();
        const QFile::Permissions before = QFile::permissions(readOnly);
        QVERIFY(QFile::setPermissions(readOnly, QFile::ReadOwner | QFile::ExeOwner));
        Status status;
        {
            Database db;
            Transaction transaction(db);
            status = transaction.beginStatus();
            if (status)
                status = db.exec(QStringLiteral("UPDATE TicketCount SET TicketNum = 5"));
            if (status)
                status = transaction.commit();
        }
        QVERIFY(QFile::setPermissions(readOnly, before));
        QCOMPARE(
            status.message(),
            message.replace(QLatin1String("%1"), QDir::toNativeSeparators(folder.path()))
                .replace(QLatin1String("%2"), QDir::toNativeSeparators(folder.databasePath())));
    }

    void olderFileGetsTheKindsOfItsRows()
    {
        SKIP_ON_SERVER();
        TestFolder folder(TestFolder::Content::NoDatabase);
        QVERIFY(Database::createFile(folder.databasePath()));
        Database db;
        QVERIFY(Schema::upgrade(db, 2));
        // What an earlier release left: entry 7 beside ticket 7's row, and entry 8 alone.
        for (const char* statement :
             {"INSERT INTO CallLog (TicketNum) VALUES (6), (7)",
              "INSERT INTO ProbSol VALUES (6, 'call 6', '', '', 0), (7, 'call 7', '', '', 0), "
              "(7, 'entry 7', '', '', 1), (8, 'entry 8', '', '', 1)",
              "INSERT INTO AmountPaid VALUES (1, 'KEN-7', 500000, '2024-03-06', 1)"})
            QVERIFY(db.exec(QString::fromUtf8(statement)));

        QVERIFY(Schema::upgrade(db));

        QCOMPARE(Schema::versionOf(db), Schema::currentVersion());
        Query rows = db.query(QStringLiteral("SELECT group_concat(Row, ', ') FROM (SELECT "
                                             "QuickDescp || ':' || KBEntry AS Row FROM ProbSol "
                                             "ORDER BY rowid)"));
        QVERIFY(rows.next());
        QCOMPARE(rows.text(0), QStringLiteral("call 6:0, call 7:0, entry 7:1, entry 8:1"));
        Query payment = db.query(QStringLiteral("SELECT AmtPaid, CheckNo FROM AmountPaid"));
        QVERIFY(payment.next());
        QCOMPARE(payment.integer(0), 500000);
        QVERIFY(payment.isNull(1));
    }

    void startingContentAndPasswordHashes()
    {
        TestFolder folder;
        Database db;
        QCOMPARE(Schema::versionOf(db), Schema::currentVersion());
        QVERIFY(Schema::upgrade(db));
        Query login = db.query(QStringLiteral("SELECT Pwd FROM Login WHERE EmpID = 'admin'"));
        QVERIFY(login.next());
        const QString stored = login.text(0);
        QVERIFY(!stored.contains(TestFolder::adminPassword()));
        QVERIFY(Passwords::verify(stored, QStringLiteral("admin")));
        QVERIFY(!Passwords::verify(stored, QStringLiteral("ADMIN")));
        QVERIFY(!Passwords::verify(stored, QStringLiteral("' or '1'='1")));
        QVERIFY(!Passwords::verify(QString(), QStringLiteral("admin")));
        const auto again = Passwords::hash(QStringLiteral("admin"));
        QVERIFY(again && *again != stored); // salted

        Query access =
            db.query(QStringLiteral("SELECT * FROM EmployeeAccess WHERE EmpID = 'ADMIN'"));
        QVERIFY(access.next());
        for (int i = 0; i < 25; ++i)
            QVERIFY(access.boolean(i));
        Query types = db.query(QStringLiteral(
            "SELECT (SELECT count(*) FROM ProblemType), (SELECT count(*) FROM InventoryType)"));
        QVERIFY(types.next());
        QVERIFY(types.integer(0) > 0 && types.integer(1) > 0);
    }
};

QTEST_GUILESS_MAIN(TestDatabase)
#include "tst_database.moc"
