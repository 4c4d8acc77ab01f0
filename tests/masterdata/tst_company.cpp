#include "data/database.h"
#include "masterdata/company.h"
#include "support/scriptedprompter.h"
#include "support/testfolder.h"
#include "support/toolbartesting.h"
#include "support/widgettesting.h"

#include <QtTest>
#include <memory>

using namespace WidgetTesting;
using ToolbarTesting::isShown;
using ToolbarTesting::press;

namespace {

const QString RequiredMessage =
    QStringLiteral("Company Name, Address, City, State, Zip and Phone must be filled in!");

QLineEdit* box(QWidget* w, int index)
{
    return child<QLineEdit>(w, QStringLiteral("Text1_%1").arg(index).toLatin1().constData());
}

void fillAll(QWidget* w, const QStringList& values)
{
    for (int i = 0; i < values.size(); ++i)
        typeInto(box(w, i), values[i]);
}

QStringList storedRows()
{
    Database db;
    Query q = db.query(QStringLiteral("SELECT CompName, CompState, CompWeb, CompID, PostDate "
                                      "FROM COMPANY"));
    QStringList rows;
    while (q.next())
        rows << QStringList{q.text(0), q.text(1), q.text(2), q.text(3), q.text(4)}.join('|');
    return rows;
}

const QStringList Shop{"Pat's PC Shop",  "9 Main Street",  "Peoria", "il",
                       "61602",          "(309) 555-0100", "",       "pat@example.com",
                       "www.pat.example"};

std::unique_ptr<Company> openWindow()
{
    auto window = std::make_unique<Company>();
    if (!showActive(window.get()))
        qWarning("The company window did not become active");
    return window;
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
        auto w = openWindow();
        QVERIFY(isShown(w.get(), "Add"));
        QVERIFY(!isShown(w.get(), "Edit"));
        for (int i = 0; i < 9; ++i)
            QCOMPARE(box(w.get(), i)->text(), QString());
        QCOMPARE(child<QLineEdit>(w.get(), "txtPostDate")->text(),
                 QDate::currentDate().toString("MM/dd/yy"));

        fillAll(w.get(), Shop);
        QVERIFY(press(w.get(), "Add"));
        QCOMPARE(prompts.messages(),
                 QStringList{"Company information has been added to the Database."});
        QVERIFY(!isShown(w.get(), "Add"));
        QVERIFY(isShown(w.get(), "Edit"));
        const QString today = QDate::currentDate().toString(Qt::ISODate);
        QCOMPARE(storedRows(), QStringList{"Pat's PC Shop|IL|www.pat.example|pmdx|" + today});

        prompts.clear();
        typeInto(box(w.get(), 0), QStringLiteral("Pat's Repair"));
        QVERIFY(press(w.get(), "Edit"));
        QCOMPARE(prompts.messages(), QStringList{"Company Information has been updated."});
        QCOMPARE(storedRows(), QStringList{"Pat's Repair|IL|www.pat.example|pmdx|" + today});
    }

    void opensOnTheStoredRecord()
    {
        TestFolder folder(TestFolder::Content::Demo);
        ScriptedPrompter prompts;
        auto w = openWindow();
        QVERIFY(!isShown(w.get(), "Add"));
        QVERIFY(isShown(w.get(), "Edit"));
        QCOMPARE(box(w.get(), 0)->text(), QStringLiteral("Northgate PC Repair"));
        QCOMPARE(box(w.get(), 8)->text(), QStringLiteral("www.northgatepc.example"));

        typeInto(box(w.get(), 6), QString());
        QVERIFY(press(w.get(), "Edit"));
        QCOMPARE(prompts.messages(), QStringList{"Company Information has been updated."});
        const QString postDate = QDate::currentDate().addDays(-400).toString(Qt::ISODate);
        QCOMPARE(storedRows(),
                 QStringList{"Northgate PC Repair|IL|www.northgatepc.example|pmdx|" + postDate});
    }

    void stateIsCapitalisedWhenAnyBoxIsLeft()
    {
        TestFolder folder;
        ScriptedPrompter prompts;
        auto w = openWindow();
        typeInto(box(w.get(), 3), QStringLiteral("ca"));
        QCOMPARE(box(w.get(), 3)->text(), QStringLiteral("ca"));
        box(w.get(), 7)->setFocus(Qt::MouseFocusReason);
        QCOMPARE(box(w.get(), 3)->text(), QStringLiteral("CA"));

        box(w.get(), 3)->setText(QStringLiteral("ny"));
        box(w.get(), 0)->setFocus(Qt::MouseFocusReason);
        QCOMPARE(box(w.get(), 3)->text(), QStringLiteral("NY"));
    }

    void requiredFieldsBlockAddAndEdit_data()
    {
        QTest::addColumn<int>("emptied");
        QTest::addColumn<bool>("stored");
        for (int i = 0; i < 6; ++i) {
            QTest::addRow("add without box %d", i) << i << false;
            QTest::addRow("edit without box %d", i) << i << true;
        }
    }

    void requiredFieldsBlockAddAndEdit()
    {
        QFETCH(int, emptied);
        QFETCH(bool, stored);
        TestFolder folder(stored ? TestFolder::Content::Demo : TestFolder::Content::Starting);
        ScriptedPrompter prompts;
        const QStringList before = storedRows();
        auto w = openWindow();
        if (!stored)
            fillAll(w.get(), Shop);
        typeInto(box(w.get(), emptied), QString());
        QVERIFY(press(w.get(), stored ? "Edit" : "Add"));
        QCOMPARE(prompts.messages(), QStringList{RequiredMessage});
        QCOMPARE(storedRows(), before);
        QVERIFY(isShown(w.get(), stored ? "Edit" : "Add"));
    }

    void failedAddKeepsTheInputAndTheAddButton()
    {
        TestFolder folder;
        ScriptedPrompter prompts;
        auto w = openWindow();
        {
            Database db;
            QVERIFY(db.exec(QStringLiteral("ALTER TABLE COMPANY RENAME TO Gone")));
        }
        fillAll(w.get(), Shop);
        QVERIFY(press(w.get(), "Add"));
        QCOMPARE(prompts.messages().size(), 1);
        QVERIFY(
            !prompts.messages().contains("Company information has been added to the Database."));
        QVERIFY(isShown(w.get(), "Add"));
        QCOMPARE(box(w.get(), 1)->text(), QStringLiteral("9 Main Street"));
    }

    void failedEditIsNotReportedAsDone()
    {
        TestFolder folder(TestFolder::Content::Demo);
        ScriptedPrompter prompts;
        auto w = openWindow();
        {
            Database db;
            QVERIFY(db.exec(QStringLiteral("DELETE FROM COMPANY")));
        }
        typeInto(box(w.get(), 0), QStringLiteral("Renamed"));
        QVERIFY(press(w.get(), "Edit"));
        QCOMPARE(prompts.messages(), QStringList{"No record found"});
        QCOMPARE(box(w.get(), 0)->text(), QStringLiteral("Renamed"));
        QVERIFY(storedRows().isEmpty());
    }
};

QTEST_MAIN(TestCompany)
#include "tst_company.moc"
