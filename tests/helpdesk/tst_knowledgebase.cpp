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
    static void fillEntry(HelpDeskFixture& f, int fields, const QString& quick)
    {
        f.box("txtKQDesc")->setText(fields > 0 ? quick : QString());
        f.area("txtKProb")->setPlainText(fields > 1 ? "Problem of " + quick : QString());
        f.area("txtKSol")->setPlainText(fields > 2 ? "Solution of " + quick : QString());
    }
    static inline const QStringList Entry = {"txtKBaseNum", "txtKQDesc", "txtKProb", "txtKSol"};

private Q_SLOTS:
    void searchMatchesTheTextLiterallyInEntriesOnly_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("found");
        addRow("case ignored", QStringLiteral("AFTER"),
               QStringList{"1 - Computer slow after update",
                           "1 - Printer offline after router change"});
        addRow("not in the knowledge base", QStringLiteral("power"),
               QStringList{"No record found"});
        addRow("wildcards", QStringLiteral("0%_"), QStringList{"81 - 50%_slower"});
        addRow("apostrophe and backslash", QStringLiteral("'t C:\\"),
               QStringList{"84 - Can't C:\\"});
    }
    void searchMatchesTheTextLiterallyInEntriesOnly()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, found);
        HelpDeskFixture f;
        QVERIFY(DbProbe::exec("INSERT INTO ProbSol (TicketNum, QuickDescp, Problem, Solution, "
                              "SaveKB) VALUES (80, '50 percent slower', '', '', 1), "
                              "(81, '50%_slower', '', '', 1), (84, 'Can''t C:\\', '', '', 1)"));
        QCOMPARE(search(f, text), found);
    }

    void choosingAResultShowsItsOwnEntry()
    {
        HelpDeskFixture f;
        QVERIFY(DbProbe::exec("INSERT INTO ProbSol (TicketNum, QuickDescp, Problem, Solution, "
                              "SaveKB) VALUES (77, 'Unsolved riddle', 'Beeps twice.', NULL, 1)"));
        search(f, QStringLiteral("after"));
        TabbedList* results = f.list("lstSearchRes");
        HelpDeskFixture::chooseLine(results, 1);
        QCOMPARE(f.texts({"lstProb", "lstSolution"}),
                 "Network printer shows offline after the router was replaced.|Give the printer a "
                 "fixed address or re-add it with its new address.");
        HelpDeskFixture::chooseLine(results, 0);
        QVERIFY(f.area("lstProb")->toPlainText().startsWith(QStringLiteral("Machine takes")));
        // A solution that is null shows as empty text; "No record found" shows nothing.
        QCOMPARE(search(f, QString()).size(), 5);
        search(f, QStringLiteral("riddle"));
        HelpDeskFixture::chooseLine(results, 0);
        QCOMPARE(f.texts({"lstProb", "lstSolution"}), "Beeps twice.|");
        search(f, QStringLiteral("nothing like this"));
        HelpDeskFixture::chooseLine(results, 0);
        QCOMPARE(f.texts({"lstProb", "lstSolution"}), "|");
        f.click("cmdClearSearch");
        QCOMPARE(f.box("txtSearchProb")->text() + QString::number(results->count()), "0");
    }

    void addChecksInOrder()
    {
        HelpDeskFixture f;
        for (int filled = 0; filled < 3; ++filled) {
            fillEntry(f, filled, QStringLiteral("Fan noise"));
            f.click("cmdAddKBase");
        }
        QCOMPARE(f.prompts().messages(),
                 (QStringList{"Please fill in the Quick Description.",
                              "Please fill in the Problem.", "Please fill in the Solution."}));
        QCOMPARE(DbProbe::value("SELECT KnowNum FROM KnowBaseCount"), "2");
        QCOMPARE(DbProbe::count(QStringLiteral("ProbSol")), 8);
    }

    void addWritesAnEntryUnderItsNumber()
    {
        HelpDeskFixture f;
        QVERIFY(WidgetTesting::showActive(&f.window()));
        f.window().SSTab1->setCurrentIndex(3);
        fillEntry(f, 3, QStringLiteral("Fan noise"));
        f.click("cmdAddKBase");
        QCOMPARE(DbProbe::value("SELECT QuickDescp || '|' || Problem || '|' || Solution || '|' "
                                "|| SaveKB FROM ProbSol WHERE TicketNum = 3 AND KBEntry = 1"),
                 "Fan noise|Problem of Fan noise|Solution of Fan noise|1");
        QCOMPARE(f.texts(Entry), "4|||");
        QVERIFY(f.box("txtKQDesc")->hasFocus());
    }
};

QTEST_MAIN(TestKnowledgeBase)
#include "tst_knowledgebase.moc"
