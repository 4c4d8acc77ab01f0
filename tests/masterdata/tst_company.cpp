#include "masterdata/company.h"
#include "support/dbprobe.h"
#include "support/scriptedprompter.h"
#include "support/testfolder.h"
#include "support/toolbartesting.h"
#include "support/widgettesting.h"

#include <QtTest>

using namespace WidgetTesting;
using ToolbarTesting::isShown;
using ToolbarTesting::press;

namespace {

const QStringList Shop{"Pat's PC Shop",  "9 Main Street",  "Peoria", "il",
                       "61602",          "(309) 555-0100", "",       "pat@example.com",
                       "www.pat.example"};

struct Window : Company {
    Window() { QVERIFY(showActive(this)); }
    QLineEdit* box(int i) { return child<QLineEdit>(this, QByteArray("Text1_") + char('0' + i)); }
    void fillShop()
    {
        for (int i = 0; i < Shop.size(); ++i)
            typeInto(box(i), Shop[i]);
    }
};

QStringList storedRows()
{
    return DbProbe::column("SELECT CompName || '|' || CompState || '|' || CompWeb "
                           "|| '|' || CompID || '|' || PostDate FROM COMPANY");
}

} // namespace

/** The company window: one record, added once and edited afterwards. */
class TestCompany : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void addOnceThenEdit()
    {
        TestFolder folder;
        ScriptedPrompter prompts;
        Window w;
        QVERIFY(isShown(&w, "Add") && !isShown(&w, "Edit"));
        w.fillShop();
        QVERIFY(press(&w, "Add"));
        QCOMPARE(prompts.messages(), {"Company information has been added to the Database."});
        QVERIFY(!isShown(&w, "Add") && isShown(&w, "Edit"));
        const QString today = QDate::currentDate().toString(Qt::ISODate);
        QCOMPARE(storedRows(), {"Pat's PC Shop|IL|www.pat.example|pmdx|" + today});

        // Leaving any box, not only the state box, shows the state in capitals.
        prompts.clear();
        w.box(3)->setText("ny");
        typeInto(w.box(0), "Pat's Repair");
        QVERIFY(press(&w, "Edit"));
        QCOMPARE(prompts.messages(), {"Company Information has been updated."});
        QCOMPARE(storedRows(), {"Pat's Repair|NY|www.pat.example|pmdx|" + today});
    }

    void opensOnTheStoredRecordAndKeepsItsPostDate()
    {
        TestFolder folder(TestFolder::Content::Demo);
        ScriptedPrompter prompts;
        Window w;
        QVERIFY(!isShown(&w, "Add") && isShown(&w, "Edit"));
        QCOMPARE(w.box(0)->text(), "Northgate PC Repair");
        QVERIFY(press(&w, "Edit"));
        QCOMPARE(prompts.messages(), {"Company Information has been updated."});
        const QString postDate = QDate::currentDate().addDays(-400).toString(Qt::ISODate);
        QCOMPARE(storedRows(), {"Northgate PC Repair|IL|www.northgatepc.example|pmdx|" + postDate});
    }

    void refusalsKeepTheInput_data()
    {
        QTest::addColumn<bool>("stored");
        QTest::addColumn<int>("emptied");
        QTest::addColumn<QString>("sabotage");
        QTest::addColumn<QString>("message"); // empty: the engine's own words
        const QString required =
            "Company Name, Address, City, State, Zip and Phone must be filled in!";
        for (int i = 0; i < 6; ++i) {
            QTest::addRow("add without box %d", i) << false << i << "" << required;
            QTest::addRow("edit without box %d", i) << true << i << "" << required;
        }
        QTest::newRow("add, table gone") << false << -1 << "ALTER TABLE COMPANY RENAME TO Gone"
                                         << "";
        QTest::newRow("edit, record gone") << true << -1 << "DELETE FROM COMPANY"
                                           << "No record found";
    }

    void refusalsKeepTheInput()
    {
        QFETCH(bool, stored);
        QFETCH(int, emptied);
        QFETCH(QString, sabotage);
        QFETCH(QString, message);
        TestFolder folder(stored ? TestFolder::Content::Demo : TestFolder::Content::Starting);
        ScriptedPrompter prompts;
        const QStringList before = storedRows();
        Window w;
        if (!sabotage.isEmpty())
            QVERIFY(DbProbe::exec(sabotage));
        w.fillShop();
        if (emptied >= 0)
            w.box(emptied)->clear();
        QVERIFY(press(&w, stored ? "Edit" : "Add"));
        QCOMPARE(prompts.messages().size(), 1);
        QVERIFY(message.isEmpty() ? !prompts.lastMessage().contains("has been")
                                  : prompts.lastMessage() == message);
        QVERIFY(isShown(&w, stored ? "Edit" : "Add"));
        QCOMPARE(w.box(1)->text(), emptied == 1 ? "" : "9 Main Street");
        if (sabotage.isEmpty())
            QCOMPARE(storedRows(), before);
    }
};

QTEST_MAIN(TestCompany)
#include "tst_company.moc"
