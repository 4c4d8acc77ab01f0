#include "helpdeskfixture.h"

#include <QtTest>

/** Pages "Search Knowledge Base" and "Add to Knowledge Base". */
class TestKnowledgeBase : public QObject {
    Q_OBJECT

    static QStringList search(HelpDeskFixture& f, const QString& text)
    {
        f.box("txtSearchProb")->setText(text);
        f.click("cmdGetSearch");
        return f.find<TabbedList>("lstSearchRes")->lines();
    }
    static QString knowledgeCounter()
    {
        return HelpDeskFixture::value(QStringLiteral("SELECT KnowNum FROM KnowBaseCount"));
    }

private Q_SLOTS:
    void searchFindsTextAnywhereInKnowledgeBaseEntriesOnly()
    {
        HelpDeskFixture f;
        QCOMPARE(search(f, QStringLiteral("AFTER")),
                 (QStringList{"1 - Computer slow after update",
                              "1 - Printer offline after router change"}));
        // Ticket 2 is not in the knowledge base.
        QCOMPARE(search(f, QStringLiteral("power")), QStringList{"No record found"});
        QCOMPARE(search(f, QString()).size(), 4);
    }

    void choosingAResultShowsItsOwnEntry()
    {
        HelpDeskFixture f;
        search(f, QStringLiteral("after"));
        auto* results = f.find<TabbedList>("lstSearchRes");
        HelpDeskFixture::chooseLine(results, 1);
        QCOMPARE(f.area("lstProb")->toPlainText(),
                 QStringLiteral("Network printer shows offline after the router was replaced."));
        QVERIFY(
            f.area("lstSolution")->toPlainText().startsWith(QStringLiteral("Give the printer")));
        HelpDeskFixture::chooseLine(results, 0);
        QVERIFY(f.area("lstProb")->toPlainText().startsWith(QStringLiteral("Machine takes")));

        // A solution that is null shows as empty text.
        QVERIFY(HelpDeskFixture::exec(
            QStringLiteral("INSERT INTO ProbSol (TicketNum, QuickDescp, Problem, Solution, SaveKB) "
                           "VALUES (77, 'Unsolved riddle', 'Beeps twice.', NULL, 1)")));
        search(f, QStringLiteral("riddle"));
        HelpDeskFixture::chooseLine(results, 0);
        QCOMPARE(f.area("lstProb")->toPlainText(), QStringLiteral("Beeps twice."));
        QVERIFY(f.area("lstSolution")->toPlainText().isEmpty());

        search(f, QStringLiteral("nothing like this"));
        HelpDeskFixture::chooseLine(results, 0);
        QVERIFY(f.area("lstProb")->toPlainText().isEmpty());
        QVERIFY(f.area("lstSolution")->toPlainText().isEmpty());

        f.click("cmdClearSearch");
        QVERIFY(f.box("txtSearchProb")->text().isEmpty());
        QCOMPARE(results->count(), 0);
    }

    void searchTextMatchesLiterally_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("found");
        QTest::newRow("apostrophe") << "'" << QStringList{"80 - Can't print"};
        QTest::newRow("apostrophe word") << "can't" << QStringList{"80 - Can't print"};
        QTest::newRow("percent") << "%" << QStringList{"81 - 50% slower"};
        QTest::newRow("underscore") << "_" << QStringList{"82 - file_name too long"};
        QTest::newRow("star") << "*" << QStringList{"83 - Stars * shown"};
        QTest::newRow("backslash") << "\\" << QStringList{"84 - Path C:\\temp"};
        QTest::newRow("no match") << "'%" << QStringList{"No record found"};
    }

    void searchTextMatchesLiterally()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, found);
        HelpDeskFixture f;
        QVERIFY(HelpDeskFixture::exec(
            QStringLiteral("INSERT INTO ProbSol (TicketNum, QuickDescp, Problem, Solution, SaveKB) "
                           "VALUES (80, 'Can''t print', '', '', 1), "
                           "(81, '50% slower', '', '', 1), (82, 'file_name too long', '', '', 1), "
                           "(83, 'Stars * shown', '', '', 1), (84, 'Path C:\\temp', '', '', 1)")));
        QCOMPARE(search(f, text), found);
        QVERIFY(f.prompts().messages().isEmpty());
    }

    void addChecksInOrder_data()
    {
        QTest::addColumn<int>("filled");
        QTest::addColumn<QString>("message");
        QTest::newRow("quick description") << 0 << "Please fill in the Quick Description.";
        QTest::newRow("problem") << 1 << "Please fill in the Problem.";
        QTest::newRow("solution") << 2 << "Please fill in the Solution.";
    }

    void addChecksInOrder()
    {
        QFETCH(int, filled);
        QFETCH(QString, message);
        HelpDeskFixture f;
        if (filled > 0)
            f.box("txtKQDesc")->setText(QStringLiteral("Fan noise"));
        if (filled > 1)
            f.area("txtKProb")->setPlainText(QStringLiteral("Loud fan."));
        f.click("cmdAddKBase");
        QCOMPARE(f.prompts().messages(), QStringList{message});
        QCOMPARE(knowledgeCounter(), QStringLiteral("2"));
        QCOMPARE(HelpDeskFixture::value(QStringLiteral("SELECT COUNT(*) FROM ProbSol")),
                 QStringLiteral("8"));
    }

    void addIssuesNumbersAndRespectsACounterMovedElsewhere()
    {
        HelpDeskFixture f;
        QVERIFY(WidgetTesting::showActive(&f.window()));
        f.window().SSTab1->setCurrentIndex(3);
        const auto add = [&](const QString& quick) {
            f.box("txtKQDesc")->setText(quick);
            f.area("txtKProb")->setPlainText(QStringLiteral("Problem of ") + quick);
            f.area("txtKSol")->setPlainText(QStringLiteral("Solution of ") + quick);
            f.click("cmdAddKBase");
        };
        QCOMPARE(f.box("txtKBaseNum")->text(), QStringLiteral("3"));
        add(QStringLiteral("Fan noise"));
        QVERIFY(f.prompts().messages().isEmpty());
        QCOMPARE(HelpDeskFixture::value(
                     QStringLiteral("SELECT QuickDescp || '|' || Problem || '|' || Solution || "
                                    "'|' || SaveKB FROM ProbSol WHERE TicketNum = 3 "
                                    "ORDER BY rowid DESC")),
                 QStringLiteral("Fan noise|Problem of Fan noise|Solution of Fan noise|1"));
        QCOMPARE(knowledgeCounter(), QStringLiteral("3"));
        QCOMPARE(f.box("txtKBaseNum")->text(), QStringLiteral("4"));
        QVERIFY(f.box("txtKQDesc")->text().isEmpty());
        QVERIFY(f.area("txtKProb")->toPlainText().isEmpty());
        QVERIFY(f.area("txtKSol")->toPlainText().isEmpty());
        QVERIFY(f.box("txtKQDesc")->hasFocus());

        QVERIFY(HelpDeskFixture::exec(QStringLiteral("UPDATE KnowBaseCount SET KnowNum = 10")));
        add(QStringLiteral("Dim screen"));
        QCOMPARE(HelpDeskFixture::value(QStringLiteral("SELECT QuickDescp FROM ProbSol "
                                                       "WHERE TicketNum = 11")),
                 QStringLiteral("Dim screen"));
        QCOMPARE(knowledgeCounter(), QStringLiteral("11"));
        QCOMPARE(f.box("txtKBaseNum")->text(), QStringLiteral("12"));
        QCOMPARE(search(f, QStringLiteral("dim")), QStringList{"11 - Dim screen"});
    }

    void failedAddKeepsThePage()
    {
        HelpDeskFixture f;
        QVERIFY(HelpDeskFixture::exec(
            QStringLiteral("CREATE TRIGGER RefuseCounter BEFORE UPDATE ON KnowBaseCount "
                           "BEGIN SELECT RAISE(ABORT, 'read only'); END")));
        f.box("txtKQDesc")->setText(QStringLiteral("Fan noise"));
        f.area("txtKProb")->setPlainText(QStringLiteral("Loud fan."));
        f.area("txtKSol")->setPlainText(QStringLiteral("Cleaned it."));
        f.click("cmdAddKBase");
        QCOMPARE(f.prompts().messages().size(), 1);
        QVERIFY(f.prompts().lastMessage().startsWith(
            QStringLiteral("The entry could not be added to the knowledge base.")));
        QCOMPARE(HelpDeskFixture::value(QStringLiteral("SELECT COUNT(*) FROM ProbSol "
                                                       "WHERE QuickDescp = 'Fan noise'")),
                 QStringLiteral("0"));
        QCOMPARE(f.box("txtKBaseNum")->text(), QStringLiteral("3"));
        QCOMPARE(f.box("txtKQDesc")->text(), QStringLiteral("Fan noise"));
        QCOMPARE(f.area("txtKSol")->toPlainText(), QStringLiteral("Cleaned it."));

        f.click("cmdClearKBase");
        QVERIFY(f.box("txtKQDesc")->text().isEmpty());
        QVERIFY(f.area("txtKProb")->toPlainText().isEmpty());
        QCOMPARE(f.box("txtKBaseNum")->text(), QStringLiteral("3"));
    }
};

QTEST_MAIN(TestKnowledgeBase)
#include "tst_knowledgebase.moc"
