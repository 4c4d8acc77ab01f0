#include "masterdata/company.h"
#include "masterdata/masterdatatesting.h"
#include "support/toolbartesting.h"

using namespace MasterDataTesting;
using namespace WidgetTesting;
using ToolbarTesting::isShown;
using ToolbarTesting::press;

namespace {

const QStringList Shop{"Pat's PC Shop",  "9 Main Street",  "Peoria", "il",
                       "61602",          "(309) 555-0100", "",       "pat@example.com",
                       "www.pat.example"};

struct Window : Shown<Company> {
    using Shown::Shown;
    QLineEdit* box(int i) { return child<QLineEdit>(this, "Text1_" + QByteArray::number(i)); }
};

QString storedRows()
{
    return stored("COMPANY", "CompName,CompState,CompWeb,CompID,PostDate", "1 = 1");
}

} // namespace

/** The company window: one record, added once and edited afterwards. */
class TestCompany : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void addAndEditWriteOnlyWhatIsComplete_data()
    {
        QTest::addColumn<bool>("stored");
        QTest::addColumn<int>("emptied");
        QTest::addColumn<QString>("sabotage");
        QTest::addColumn<QString>("message"); // empty: the engine's own words
        QTest::addColumn<QString>("after");   // the stored row; empty: as before
        const QString today = QDate::currentDate().toString(Qt::ISODate);
        QTest::newRow("add") << false << -1 << ""
                             << "Company information has been added to the Database."
                             << "Pat's PC Shop|NY|www.pat.example|pmdx|" + today;
        // The post date stays the one of adding.
        QTest::newRow("edit") << true << -1 << ""
                              << "Company Information has been updated."
                              << "Pat's PC Shop|NY|www.pat.example|pmdx|" +
                                     QDate::currentDate().addDays(-400).toString(Qt::ISODate);
        const QString required =
            "Company Name, Address, City, State, Zip and Phone must be filled in!";
        for (int i = 0; i < 6; ++i) {
            QTest::addRow("add without box %d", i) << false << i << "" << required << "";
            QTest::addRow("edit without box %d", i) << true << i << "" << required << "";
        }
        QTest::newRow("add, table gone") << false << -1 << "ALTER TABLE COMPANY RENAME TO Gone"
                                         << ""
                                         << "";
        QTest::newRow("edit, record gone") << true << -1 << "DELETE FROM COMPANY"
                                           << "No record found"
                                           << "";
    }

    void addAndEditWriteOnlyWhatIsComplete()
    {
        QFETCH(bool, stored);
        QFETCH(int, emptied);
        QFETCH(QString, sabotage);
        QFETCH(QString, message);
        QFETCH(QString, after);
        Window w(stored ? TestFolder::Content::Demo : TestFolder::Content::Starting);
        const QString before = storedRows();
        QVERIFY(isShown(&w, stored ? "Edit" : "Add") && !isShown(&w, stored ? "Add" : "Edit"));
        QCOMPARE(w.box(0)->text(), stored ? "Northgate PC Repair" : "");
        if (!sabotage.isEmpty())
            QVERIFY(DbProbe::exec(sabotage));
        for (int i = 0; i < Shop.size(); ++i)
            typeInto(w.box(i), Shop[i]);
        // Leaving any box, not only the state box, shows the state in capitals.
        w.box(3)->setText("ny");
        w.box(0)->setFocus();
        if (emptied >= 0)
            w.box(emptied)->clear();
        QVERIFY(press(&w, stored ? "Edit" : "Add"));
        QCOMPARE(w.prompts.messages().size(), 1);
        QVERIFY(message.isEmpty() ? !w.prompts.lastMessage().contains("has been")
                                  : w.prompts.lastMessage() == message);
        QVERIFY(isShown(&w, stored || !after.isEmpty() ? "Edit" : "Add"));
        QCOMPARE(w.box(1)->text(), emptied == 1 ? "" : "9 Main Street");
        if (sabotage.isEmpty())
            QCOMPARE(storedRows(), after.isEmpty() ? before : after);
    }
};

QTEST_MAIN(TestCompany)
#include "tst_company.moc"
