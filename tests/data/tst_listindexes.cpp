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

    static QString plan(Database& db, const QString& sql)
    {
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
        QVERIFY2(steps.contains(QStringLiteral("COVERING INDEX ") + index), qPrintable(steps));
    }
};

QTEST_GUILESS_MAIN(TestListIndexes)
#include "tst_listindexes.moc"
