#include "masterdata/customer.h"
#include "masterdata/employee.h"
#include "masterdata/employeesetuppage.h"
#include "masterdata/inventory.h"
#include "masterdata/masterdatatesting.h"
#include "support/toolbartesting.h"
#include "widgets/changedrecord.h"

#include <QAction>
#include <QPushButton>
#include <QtTest>

using namespace MasterDataTesting;
using namespace WidgetTesting;

namespace {

/** One record window: the record chosen, a box of it to type into, and its Edit. */
struct RecordWindow {
    virtual ~RecordWindow() = default;
    virtual bool choose() = 0;
    virtual QLineEdit* box() = 0;
    virtual void edit() = 0;
};

struct CustomerWindow : RecordWindow {
    Customer w;
    CustomerWindow() { showActive(&w); }
    bool choose() override { return chooseKey(child<QComboBox>(&w, "combCustID"), "BEY-4"); }
    QLineEdit* box() override { return child<QLineEdit>(&w, "Text2"); }
    void edit() override { ToolbarTesting::press(&w, "Edit"); }
};

struct PartWindow : RecordWindow {
    inventory w;
    PartWindow() { showActive(&w); }
    bool choose() override { return chooseKey(w.combItemID, "DIAG"); }
    QLineEdit* box() override { return w.Text1[1]; }
    void edit() override { child<QAction>(&w, "Edit")->trigger(); }
};

struct EmployeeWindow : RecordWindow {
    Employee w;
    EmployeeWindow() { showActive(&w); }
    bool choose() override { return chooseKey(w.setupPage->combEmpID, "RP-3"); }
    QLineEdit* box() override { return w.setupPage->Text1[3]; }
    void edit() override { w.setupPage->cmdEdit->click(); }
};

/** Each window with the table, key and column that its box shows. */
struct Family {
    std::function<std::unique_ptr<RecordWindow>()> open;
    QString table, key, column;
};

} // namespace

Q_DECLARE_METATYPE(Family)

/** An edit over a record that another workstation changed or removed after the window loaded
 *  it: nothing overwritten unasked, and what was typed is never lost without the user's word. */
class TestStaleRows : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void editsCheckTheRecordIsStillAsLoaded_data()
    {
        QTest::addColumn<Family>("family");
        QTest::addColumn<QString>("meanwhile"); // "change", "remove" or "read"
        const QList<std::pair<const char*, Family>> families = {
            {"customer",
             {[] { return std::make_unique<CustomerWindow>(); }, "Customer", "CustID = 'BEY-4'",
              "CustAdd"}},
            {"part",
             {[] { return std::make_unique<PartWindow>(); }, "Inventory", "ItemNo = 'DIAG'",
              "ItemDescp"}},
            {"employee",
             {[] { return std::make_unique<EmployeeWindow>(); }, "Employee", "EmpID = 'RP-3'",
              "EmpAdd"}},
        };
        for (const auto& [name, family] : families)
            for (const char* meanwhile : {"change", "remove", "read"})
                QTest::addRow("%s, %s", name, meanwhile) << family << QString(meanwhile);
    }

    void editsCheckTheRecordIsStillAsLoaded()
    {
        QFETCH(Family, family);
        QFETCH(QString, meanwhile);
        Fixture fixture;
        const std::unique_ptr<RecordWindow> window = family.open();
        QVERIFY(window->choose());
        typeInto(window->box(), "Typed here");

        OtherWorkstation other;
        const QString where = QStringLiteral(" WHERE ") + family.key;
        if (meanwhile == QLatin1String("change"))
            QVERIFY(other.db().exec("UPDATE " + family.table + " SET " + family.column +
                                    " = 'Changed there'" + where));
        else if (meanwhile == QLatin1String("remove"))
            QVERIFY(other.db().exec("DELETE FROM " + family.table + where));
        else
            QVERIFY(other.db().query("SELECT * FROM " + family.table + where).next());
        window->edit();

        auto stored = [&] {
            return DbProbe::value("SELECT " + family.column + " FROM " + family.table + where);
        };
        if (meanwhile == QLatin1String("change")) {
            // Asked, with keeping the typing as the default answer; saving again writes it.
            const auto& asked = fixture.prompts.shown();
            QCOMPARE(asked.size(), 1);
            QCOMPARE(asked[0].text, ChangedRecord::question());
            QCOMPARE(asked[0].defaultAnswer, Prompter::Answer::No);
            QCOMPARE(stored(), "Changed there");
            QCOMPARE(window->box()->text(), "Typed here");
            window->edit();
            QCOMPARE(stored(), "Typed here");
        } else if (meanwhile == QLatin1String("remove")) {
            QCOMPARE(fixture.prompts.messages().size(), 1);
            QCOMPARE(stored(), "<none>");
            QCOMPARE(window->box()->text(), "Typed here");
        } else {
            QCOMPARE(stored(), "Typed here");
        }
    }

    void keepingTheTypingSavesItOverTheChange_data()
    {
        QTest::addColumn<bool>("reload");
        QTest::addColumn<bool>("removedMeanwhile"); // after the refusal, before the answer
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<int>("saveAgain"); // the Status::Kind of the next save
        QTest::addColumn<QString>("stored");
        using K = Status::Kind;
        QTest::newRow("keep") << false << false << QStringList() << int(K::Ok) << "Typed here";
        QTest::newRow("reload") << true << false << QStringList() << int(K::Changed)
                                << "Changed there";
        QTest::newRow("keep, removed")
            << false << true << QStringList{"No record found"} << int(K::NotFound) << "<none>";
    }

    void keepingTheTypingSavesItOverTheChange()
    {
        QFETCH(bool, reload);
        QFETCH(bool, removedMeanwhile);
        QFETCH(QStringList, messages);
        QFETCH(int, saveAgain);
        QFETCH(QString, stored);
        Fixture fixture;
        const QString id = QStringLiteral("BEY-4");
        const auto loaded = CustomerStore::load(id);
        QVERIFY(loaded);
        CustomerRecord typed = *loaded;
        typed.address = QStringLiteral("Typed here");
        OtherWorkstation other;
        QVERIFY(
            other.db().exec("UPDATE Customer SET CustAdd = 'Changed there' WHERE CustID = ?", id));
        QVERIFY(CustomerStore::update(typed).isChanged());
        if (removedMeanwhile)
            QVERIFY(other.db().exec("DELETE FROM Customer WHERE CustID = ?", id));

        fixture.prompts.answerConfirm(reload);
        bool reloaded = false;
        const auto choice = ChangedRecord::settle(
            typed.loaded, [&] { return ChangedRecord::loadedOf(CustomerStore::load(id)); },
            [&] { reloaded = true; });

        QCOMPARE(choice,
                 reload ? ChangedRecord::Choice::Reload : ChangedRecord::Choice::KeepTyping);
        QCOMPARE(reloaded, reload);
        QCOMPARE(fixture.prompts.messages(), messages);
        QCOMPARE(int(CustomerStore::update(typed).kind()), saveAgain);
        QCOMPARE(DbProbe::value("SELECT CustAdd FROM Customer WHERE CustID = ?", id), stored);
    }
};

QTEST_MAIN(TestStaleRows)
#include "tst_stalerows.moc"
