#include "helpdeskfixture.h"

#include <QtTest>

/** Pages "Search Knowledge Base" and "Add to Knowledge Base". */
class TestKnowledgeBase : public QObject {
    Q_OBJECT

    static QStringList search(HelpDeskFixture& f, const QString& text)
    {
        f.box("txtSearchProb")->setText(text);
        f.click("cmdGetSearch");
        return f.list("lstSearchRes")->lines();
    }
    static QString knowledgeCounter()
    {
        return DbProbe::value(QStringLiteral("SELECT KnowNum FROM KnowBaseCount"));
    }
    static void fillEntry(HelpDeskFixture& f, int fields, const QString& quick)
    {
        if (fields > 0)
            f.box("txtKQDesc")->setText(quick);
        if (fields > 1)
            f.area("txtKProb")->setPlainText(QStringLiteral("Problem of ") + quick);
        if (fields > 2)
            f.area("txtKSol")->setPlainText(QStringLiteral("Solution of ") + quick);
    }

private Q_SLOTS:
    void searchMatchesTheTextLiterallyInEntriesOnly_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("found");
        const QStringList none = {"No record found"};
        addRow("case ignored", QStringLiteral("AFTER"),
               QStringList{"1 - Computer slow after update",
                           "1 - Printer offline after router change"});
        addRow("not in the knowledge base", QStringLiteral("power"), none);
        addRow("apostrophe", QStringLiteral("can't"), QStringList{"80 - Can't print"});
        addRow("percent", QStringLiteral("%"), QStringList{"81 - 50% slower"});
        addRow("underscore", QStringLiteral("_"), QStringList{"82 - file_name too long"});
        addRow("backslash", QStringLiteral("\\"), QStringList{"84 - Path C:\\temp"});
        addRow("no match", QStringLiteral("'%"), none);
    }
    void searchMatchesTheTextLiterallyInEntriesOnly()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, found);
        HelpDeskFixture f;
        QVERIFY(DbProbe::exec(
            QStringLiteral("INSERT INTO ProbSol (TicketNum, QuickDescp, Problem, Solution, SaveKB) "
                           "VALUES (80, 'Can''t print', '', '', 1), "
                           "(81, '50% slower', '', '', 1), (82, 'file_name too long', '', '', 1), "
                           "(84, 'Path C:\\temp', '', '', 1)")));
        QCOMPARE(search(f, text), found);
        QCOMPARE(search(f, QString()).size(), 8);
    }

    void choosingAResultShowsItsOwnEntry()
    {
        HelpDeskFixture f;
        search(f, QStringLiteral("after"));
        TabbedList* results = f.list("lstSearchRes");
        HelpDeskFixture::chooseLine(results, 1);
        QCOMPARE(f.area("lstProb")->toPlainText(),
                 QStringLiteral("Network printer shows offline after the router was replaced."));
        QVERIFY(f.area("lstSolution")->toPlainText().startsWith("Give the printer"));
        HelpDeskFixture::chooseLine(results, 0);
        QVERIFY(f.area("lstProb")->toPlainText().startsWith(QStringLiteral("Machine takes")));

        // A solution that is null shows as empty text.
        QVERIFY(DbProbe::exec(
            QStringLiteral("INSERT INTO ProbSol (TicketNum, QuickDescp, Problem, Solution, SaveKB) "
                           "VALUES (77, 'Unsolved riddle', 'Beeps twice.', NULL, 1)")));
        search(f, QStringLiteral("riddle"));
        HelpDeskFixture::chooseLine(results, 0);
        QCOMPARE(f.texts({"lstProb", "lstSolution"}), QStringLiteral("Beeps twice.|"));
        search(f, QStringLiteral("nothing like this"));
        HelpDeskFixture::chooseLine(results, 0);
        QCOMPARE(f.texts({"lstProb", "lstSolution"}), QStringLiteral("|"));

        f.click("cmdClearSearch");
        QVERIFY(f.box("txtSearchProb")->text().isEmpty());
        QCOMPARE(results->count(), 0);
    }

    void addChecksInOrder_data()
    {
        QTest::addColumn<int>("filled");
        QTest::addColumn<QString>("message");
        addRow("quick description", 0, "Please fill in the Quick Description.");
        addRow("problem", 1, "Please fill in the Problem.");
        addRow("solution", 2, "Please fill in the Solution.");
    }
    void addChecksInOrder()
    {
        QFETCH(int, filled);
        QFETCH(QString, message);
        HelpDeskFixture f;
        fillEntry(f, filled, QStringLiteral("Fan noise"));
        f.click("cmdAddKBase");
        QCOMPARE(f.prompts().messages(), QStringList{message});
        QCOMPARE(knowledgeCounter(), QStringLiteral("2"));
        QCOMPARE(DbProbe::count(QStringLiteral("ProbSol")), 8);
    }

    void addIssuesNumbersAndRespectsACounterMovedElsewhere()
    {
        HelpDeskFixture f;
        QVERIFY(WidgetTesting::showActive(&f.window()));
        f.window().SSTab1->setCurrentIndex(3);
        QCOMPARE(f.box("txtKBaseNum")->text(), QStringLiteral("3"));
        fillEntry(f, 3, QStringLiteral("Fan noise"));
        f.click("cmdAddKBase");
        QCOMPARE(DbProbe::value(QStringLiteral("SELECT QuickDescp || '|' || Problem || '|' || "
                                               "Solution || '|' || SaveKB FROM ProbSol "
                                               "WHERE TicketNum = 3 ORDER BY rowid DESC")),
                 QStringLiteral("Fan noise|Problem of Fan noise|Solution of Fan noise|1"));
        QCOMPARE(knowledgeCounter(), QStringLiteral("3"));
        QCOMPARE(f.texts({"txtKBaseNum", "txtKQDesc", "txtKProb", "txtKSol"}), "4|||");
        QVERIFY(f.box("txtKQDesc")->hasFocus());

        QVERIFY(DbProbe::exec(QStringLiteral("UPDATE KnowBaseCount SET KnowNum = 10")));
        fillEntry(f, 3, QStringLiteral("Dim screen"));
        f.click("cmdAddKBase");
        QCOMPARE(knowledgeCounter(), QStringLiteral("11"));
        QCOMPARE(f.box("txtKBaseNum")->text(), QStringLiteral("12"));
        QCOMPARE(search(f, QStringLiteral("dim")), QStringList{"11 - Dim screen"});
    }

    void failedAddKeepsThePage()
    {
        HelpDeskFixture f;
        QVERIFY(DbProbe::exec(
            QStringLiteral("CREATE TRIGGER RefuseCounter BEFORE UPDATE ON KnowBaseCount "
                           "BEGIN SELECT RAISE(ABORT, 'read only'); END")));
        fillEntry(f, 3, QStringLiteral("Fan noise"));
        f.click("cmdAddKBase");
        QCOMPARE(f.prompts().messages(),
                 QStringList{"The entry could not be added to the knowledge base.\nread only"});
        QCOMPARE(DbProbe::count(QStringLiteral("ProbSol"), QStringLiteral("QuickDescp = ?"),
                                QStringLiteral("Fan noise")),
                 0);
        QCOMPARE(f.texts({"txtKBaseNum", "txtKQDesc", "txtKSol"}),
                 QStringLiteral("3|Fan noise|Solution of Fan noise"));

        f.click("cmdClearKBase");
        QCOMPARE(f.texts({"txtKBaseNum", "txtKQDesc", "txtKProb", "txtKSol"}), "3|||");
    }
};

QTEST_MAIN(TestKnowledgeBase)
#include "tst_knowledgebase.moc"
