#include "data/database.h"
#include "data/schema.h"
#include "support/testfolder.h"

#include <QtTest>

/** The indexes behind the long lists: a file gets them on upgrade, and the lists' statements
 *  walk them instead of the tables. */
class TestListIndexes : public QObject {
    Q_OBJECT

    static QStringList indexNames(Database& db)
    {
        QStringList names;
        Query q = db.query(QStringLiteral(
            "SELECT name FROM sqlite_master WHERE type = 'index' AND name NOT LIKE 'sqlite_%'"));
        while (q.next())
            names << q.text(0);
        return names;
    }

    /** The steps of the statement's plan; on a server, where a small table is read whole
     *  anyway, the plan that the engine makes when it is told to avoid whole-table reads. */
    static QString plan(Database& db, const QString& sql)
    {
        if (db.onServer()) {
            QStringList steps;
            const Status status = db.inTransaction([&](Database& scope) {
                Status set = scope.exec(QStringLiteral("SET LOCAL enable_seqscan = off"));
                if (set)
                    set = scope.exec(QStringLiteral("SET LOCAL enable_bitmapscan = off"));
                const QString explained = QStringLiteral("EXPLAIN (COSTS OFF) ") + sql;
                Query q = sql.contains(QLatin1Char('?'))
                              ? scope.query(explained, QStringLiteral("%x%"))
                              : scope.query(explained);
                while (q.next())
                    steps << q.text(0);
                return set ? q.status() : set;
            });
            return status ? steps.join(QLatin1Char('\n')) : status.message();
        }
        QStringList steps;
        const QString explained = QStringLiteral("EXPLAIN QUERY PLAN ") + sql;
        Query q = sql.contains(QLatin1Char('?')) ? db.query(explained, QStringLiteral("%x%"))
                                                 : db.query(explained);
        while (q.next())
            steps << q.text(3);
        return steps.join(QLatin1Char('\n'));
    }

private Q_SLOTS:
    void anOlderFileGetsTheIndexesOnUpgrade()
    {
        TestFolder folder(TestFolder::Content::NoDatabase);
        QVERIFY(Database::createFile(folder.databasePath()));
        Database db;
        QVERIFY(Schema::upgrade(db, 1));
        QCOMPARE(Schema::versionOf(db), 1);
        QVERIFY(!indexNames(db).contains(QStringLiteral("CallLogTicketLines")));

        QVERIFY(Schema::upgrade(db));
        QCOMPARE(Schema::versionOf(db), Schema::currentVersion());
        const QStringList names = indexNames(db);
        QVERIFY(names.contains(QStringLiteral("CallLogTicketLines")));
        QVERIFY(names.contains(QStringLiteral("CallLogTechnicianLines")));
        QVERIFY(names.contains(QStringLiteral("ProbSolKnowledgeBaseSearch")));
        // A second upgrade has nothing left to do.
        QVERIFY(Schema::upgrade(db));
    }

    void listsReadOnlyTheirIndex_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("index");
        QTest::newRow("ticket log")
            << "SELECT TicketNum, CustID, OpenPostDate, ClosePostDate, Tech FROM CallLog "
               "ORDER BY TicketNum"
            << "CallLogTicketLines";
        QTest::newRow("help desk open tickets")
            << "SELECT TicketNum, CustID, Priority FROM CallLog WHERE Tech = ? "
               "AND CallStatus = 'Open' ORDER BY Priority, TicketNum"
            << "CallLogTechnicianLines";
        QTest::newRow("technician's tickets")
            << "SELECT TicketNum, Priority, CallStatus, ProbType, TypeSpecific FROM CallLog "
               "WHERE Tech = ? ORDER BY Priority, TicketNum"
            << "CallLogTechnicianLines";
        QTest::newRow("knowledge-base search")
            << "SELECT rowid, TicketNum, QuickDescp FROM ProbSol WHERE QuickDescp LIKE ? "
               "AND SaveKB = 1 ORDER BY rowid"
            << "ProbSolKnowledgeBaseSearch";
    }

    void listsReadOnlyTheirIndex()
    {
        QFETCH(QString, sql);
        QFETCH(QString, index);
        TestFolder folder;
        Database db;
        const QString steps = plan(db, sql);
        const QString expected = db.onServer() ? QStringLiteral("using ") + index.toLower()
                                               : QStringLiteral("COVERING INDEX ") + index;
        QVERIFY2(steps.contains(expected), qPrintable(steps));
    }
};

QTEST_GUILESS_MAIN(TestListIndexes)
#include "tst_listindexes.moc"
