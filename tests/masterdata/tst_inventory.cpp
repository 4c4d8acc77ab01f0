#include "data/conversions.h"
#include "masterdata/inventory.h"
#include "masterdata/masterdatatesting.h"
#include "support/dbprobe.h"
#include "support/scriptedprompter.h"
#include "support/testfolder.h"

#include <QAction>
#include <QCheckBox>
#include <QtTest>

using namespace WidgetTesting;

namespace {

struct Window : inventory {
    Window() { QVERIFY(showActive(this)); }
    void press(const char* key) { child<QAction>(this, key)->trigger(); }
    bool editing() { return child<QAction>(this, "Edit")->isVisible(); }
    void fill(const QString& number, const QString& text, const QString& price, const char* type)
    {
        typeInto(Text1[0], number);
        typeInto(Text1[1], text);
        typeInto(Text1[2], price);
        combItemType->setEditText(QString::fromLatin1(type));
    }
};

QStringList partNumbers()
{
    return DbProbe::column("SELECT ItemNo FROM Inventory ORDER BY ItemNo");
}

} // namespace

/** The parts window driven through its toolbar, boxes and combos on the demo shop. */
class TestInventory : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void requiredBoxesComeFirstInOrder()
    {
        TestFolder folder(TestFolder::Content::Demo);
        ScriptedPrompter prompts;
        Window w;
        QCOMPARE(w.txtPostDate->text(), conv::formatDate(QDate::currentDate()));
        QVERIFY(!w.editing());
        QCOMPARE(w.combItemID->itemText(0), "AV-1YR  Antivirus, one-year licence");
        typeInto(w.Text1[1], "kept");
        w.press("Clear");
        QCOMPARE(w.Text1[1]->text(), "kept");
        QVERIFY(w.Text1[0]->hasFocus());
        w.fill("NEW-1", QString(), QString(), "");
        w.press("Add");
        QVERIFY(w.Text1[1]->hasFocus());
        typeInto(w.Text1[1], "A part");
        w.Text1[2]->clear();
        w.press("Add");
        QVERIFY(w.Text1[2]->hasFocus());
        w.Text1[2]->setText("5");
        w.press("Add");
        QCOMPARE(prompts.messages(),
                 (QStringList{"Please enter a Part Number!", "Please enter a Description!",
                              "Please enter a Price for this Part Number!",
                              "Please select a Part type!"}));
        QCOMPARE(partNumbers().size(), 7);

        // A price box that is left without a number shows zero.
        for (const auto& [typed, left] :
             {std::pair("abc", "0.00"), {"", "0.00"}, {"12.5", "12.5"}}) {
            typeInto(w.Text1[2], typed);
            w.Text1[0]->setFocus();
            QCOMPARE(w.Text1[2]->text(), QString(left));
        }
    }

    void addChooseAndEditRoundTrip()
    {
        TestFolder folder(TestFolder::Content::Demo);
        ScriptedPrompter prompts;
        Window w;
        w.fill("O'B-1", "Tom's cable", "12.5", "Accessory");
        w.chkTaxable->setChecked(true);
        typeInto(w.txtTaxRate, "8.25");
        w.press("Add");
        const QString columns = "ItemDescp || '|' || ItemPrice1 || '|' || Taxable || '|' || "
                                "TaxRate || '|' || ItemType || '|' || Inactive || '|' || PostDate";
        const QString today = QDate::currentDate().toString(Qt::ISODate);
        QCOMPARE(DbProbe::value("SELECT " + columns + " FROM Inventory WHERE ItemNo = 'O''B-1'"),
                 "Tom's cable|125000|1|8.25|Accessory|0|" + today);
        QCOMPARE(w.txtTaxRate->text(), "0.00");
        QVERIFY(!w.chkTaxable->isChecked());
        QVERIFY(!w.editing());

        // Typing in the part list chooses the first part that starts so, as it goes.
        QVERIFY(DbProbe::exec("UPDATE Inventory SET PostDate = '2001-02-03'"));
        w.combItemID->setFocus();
        QTest::keyClicks(w.combItemID, "o'");
        QCOMPARE(w.combItemID->lineEdit()->selectedText(), "B-1  Tom's cable");
        QCOMPARE(w.currentItemNo(), "O'B-1");
        QVERIFY(w.editing());
        QCOMPARE(w.Text1[1]->text(), "Tom's cable");
        QCOMPARE(w.Text1[2]->text(), "12.5");
        QCOMPARE(w.txtTaxRate->text(), "8.25");
        QVERIFY(w.chkTaxable->isChecked());
        QCOMPARE(w.combItemType->currentText(), "Accessory");

        typeInto(w.Text1[0], "O'B-2");
        typeInto(w.Text1[2], "89.5");
        w.chkInactive->setChecked(true);
        w.press("Edit");
        QCOMPARE(DbProbe::value("SELECT " + columns + " FROM Inventory WHERE ItemNo = 'O''B-2'"),
                 "Tom's cable|895000|1|8.25|Accessory|1|2001-02-03");
        QCOMPARE(partNumbers().size(), 8);
        QVERIFY(!w.editing());
        QVERIFY(w.combItemID->findText("O'B-2  Tom's cable") >= 0);
    }

    void refusalsKeepTheInput_data()
    {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("number");
        QTest::addColumn<QString>("price");
        QTest::addColumn<QString>("rate");
        QTest::addColumn<QString>("message");
        const QString notNumber = "Please fill in all the text boxes";
        const QString taken = "This part number already exists!";
        auto row = [](const char* name, const char* chosen, const char* number, const char* price,
                      const char* rate, const QString& message) {
            QTest::newRow(name) << QString(chosen) << QString(number) << QString(price)
                                << QString(rate) << message;
        };
        row("tax rate", "", "NEW-2", "10", "eight", notNumber);
        row("empty tax rate", "", "NEW-2", "10", "", notNumber);
        row("price never left", "", "NEW-2", "ten", "0.00", notNumber);
        row("taken number", "", "ram-8gb", "1", "0.00", taken);
        row("renamed onto another", "DIAG", "LAB-HR", "1", "0.00", taken);
        row("renamed, gone meanwhile", "DIAG", "DIAG-2", "1", "0.00",
            "This part number is not in the database.");
    }

    void refusalsKeepTheInput()
    {
        QFETCH(QString, chosen);
        QFETCH(QString, number);
        QFETCH(QString, price);
        QFETCH(QString, rate);
        QFETCH(QString, message);
        TestFolder folder(TestFolder::Content::Demo);
        ScriptedPrompter prompts;
        Window w;
        if (!chosen.isEmpty())
            QVERIFY(MasterDataTesting::chooseKey(w.combItemID, chosen));
        if (number == "DIAG-2")
            QVERIFY(DbProbe::exec("DELETE FROM Inventory WHERE ItemNo = 'DIAG'"));
        const QStringList before = partNumbers();
        w.fill(number, "Other", price, "Hardware");
        w.txtTaxRate->setText(rate);
        w.press(chosen.isEmpty() ? "Add" : "Edit");
        QCOMPARE(prompts.messages(), {message});
        QCOMPARE(partNumbers(), before);
        QCOMPARE(w.Text1[0]->text(), number);
        QCOMPARE(w.txtTaxRate->text(), rate);
        QCOMPARE(w.editing(), !chosen.isEmpty());
    }

    void removals_data()
    {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<bool>("answer");
        QTest::addColumn<bool>("gone"); // removed elsewhere meanwhile
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<int>("left");
        const QString ask = "Are you sure you want to remove this part number from the Database?";
        auto row = [](const char* name, const char* chosen, bool answer, bool gone,
                      const QStringList& shown, int left) {
            QTest::newRow(name) << QString(chosen) << answer << gone << shown << left;
        };
        row("nothing chosen", "", true, false,
            {"No part number has been chosen; nothing was removed."}, 7);
        row("answered no", "KB-USB", false, false, {ask, "Deletion has been cancelled"}, 7);
        row("removed", "KB-USB", true, false,
            {ask, "Inventory Item has beed deleted from database"}, 6);
        row("already gone", "KB-USB", true, true, {ask, "This part number is not in the database."},
            6);
    }

    void removals()
    {
        QFETCH(QString, chosen);
        QFETCH(bool, answer);
        QFETCH(bool, gone);
        QFETCH(QStringList, shown);
        QFETCH(int, left);
        TestFolder folder(TestFolder::Content::Demo);
        ScriptedPrompter prompts;
        prompts.answerConfirm(answer);
        Window w;
        if (!chosen.isEmpty())
            QVERIFY(MasterDataTesting::chooseKey(w.combItemID, chosen));
        if (gone)
            QVERIFY(DbProbe::exec("DELETE FROM Inventory WHERE ItemNo = ?", chosen));
        w.chkRemove->setChecked(true);
        w.press("Clear"); // any button removes while Remove is ticked
        QCOMPARE(prompts.allTexts(), shown);
        QCOMPARE(partNumbers().size(), left);
        const bool removed = left == 6 && !gone;
        QCOMPARE(w.chkRemove->isChecked(), !removed);
        QCOMPARE(w.Text1[0]->text(), removed ? QString() : chosen);
        QCOMPARE(w.combItemID->count(), removed ? 6 : 7);
    }
};

QTEST_MAIN(TestInventory)
#include "tst_inventory.moc"
