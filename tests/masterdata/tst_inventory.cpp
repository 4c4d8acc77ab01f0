#include "masterdata/inventory.h"
#include "masterdata/masterdatatesting.h"

#include <QAction>
#include <QCheckBox>

using namespace MasterDataTesting;
using namespace WidgetTesting;

namespace {

/** A refused press: part chosen, what is typed, button, message, box with the focus (-1: any). */
struct Refusal {
    const char *chosen, *number, *text, *price, *type, *rate, *key;
    QString message;
    int focus;
};

/** A removal: the part chosen, the answer to the question, whether the part went meanwhile. */
struct Removal {
    const char* chosen;
    bool answer, gone;
    QStringList shown;
};

struct Window : Shown<inventory> {
    using Shown::Shown;
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

QString stored(const char* itemNo)
{
    const char* columns = "ItemDescp,ItemPrice1,Taxable,TaxRate,ItemType,Inactive,PostDate";
    return MasterDataTesting::stored("Inventory", columns, "ItemNo = '" + QString(itemNo) + "'");
}

QStringList partNumbers()
{
    return DbProbe::column("SELECT ItemNo FROM Inventory ORDER BY ItemNo");
}

} // namespace

Q_DECLARE_METATYPE(Refusal)
Q_DECLARE_METATYPE(Removal)

/** The parts window driven through its toolbar, boxes and combos on the demo shop. */
class TestInventory : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void addChooseAndEditRoundTrip()
    {
        Window w;
        w.fill("O'B-1", "Tom's cable", "12.5", "Accessory");
        w.chkTaxable->setChecked(true);
        typeInto(w.txtTaxRate, "8.25");
        w.press("Add");
        QCOMPARE(stored("O''B-1"), "Tom's cable|125000|1|8.25|Accessory|0|" +
                                       QDate::currentDate().toString(Qt::ISODate));
        QVERIFY(w.txtTaxRate->text() == "0.00" && !w.chkTaxable->isChecked() && !w.editing());
        // A price box that is left without a number shows zero.
        for (const auto& [typed, left] : {std::pair("abc", "0.00"), {"", "0.00"}, {"12", "12"}}) {
            typeInto(w.Text1[2], typed);
            w.Text1[0]->setFocus();
            QCOMPARE(w.Text1[2]->text(), QString(left));
        }
        // Typing in the part list chooses the first part that starts so, as it goes.
        QVERIFY(DbProbe::exec("UPDATE Inventory SET PostDate = '2001-02-03'"));
        w.combItemID->setFocus();
        QTest::keyClicks(w.combItemID, "o'");
        QCOMPARE(w.combItemID->lineEdit()->selectedText(), "B-1  Tom's cable");
        QVERIFY(w.currentItemNo() == "O'B-1" && w.editing() && w.chkTaxable->isChecked());
        QCOMPARE(w.Text1[1]->text() + "|" + w.Text1[2]->text() + "|" + w.txtTaxRate->text() + "|" +
                     w.combItemType->currentText(),
                 "Tom's cable|12.5|8.25|Accessory");
        typeInto(w.Text1[0], "O'B-2");
        typeInto(w.Text1[2], "89.5");
        w.chkInactive->setChecked(true);
        w.press("Edit");
        QCOMPARE(stored("O''B-2"), "Tom's cable|895000|1|8.25|Accessory|1|2001-02-03");
        QCOMPARE(partNumbers().size(), 8);
        QVERIFY(!w.editing() && w.combItemID->findText("O'B-2  Tom's cable") >= 0);
    }

    void refusalsKeepTheInput_data()
    {
        QTest::addColumn<Refusal>("r");
        const QString notNumber = "Please fill in all the text boxes";
        const QString taken = "This part number already exists!";
        auto row = [](const char* name, const Refusal& r) { QTest::newRow(name) << r; };
        row("no part number",
            {"", "", "kept", "5", "Hardware", "0.00", "Clear", "Please enter a Part Number!", 0});
        row("no description",
            {"", "NEW-1", "", "5", "Hardware", "0.00", "Add", "Please enter a Description!", 1});
        row("no price", {"", "NEW-1", "A part", "", "Hardware", "0.00", "Add",
                         "Please enter a Price for this Part Number!", 2});
        row("no part type",
            {"", "NEW-1", "A part", "5", "", "0.00", "Add", "Please select a Part type!", -1});
        row("tax rate", {"", "NEW-2", "Cable", "10", "Hardware", "eight", "Add", notNumber, -1});
        row("price never left",
            {"", "NEW-2", "Cable", "ten", "Hardware", "0.00", "Add", notNumber, -1});
        row("taken number", {"", "ram-8gb", "Cable", "1", "Hardware", "0.00", "Add", taken, -1});
        row("renamed onto another",
            {"DIAG", "LAB-HR", "Cable", "1", "Hardware", "0.00", "Edit", taken, -1});
        row("renamed, gone meanwhile", {"DIAG", "DIAG-2", "Cable", "1", "Hardware", "0.00", "Edit",
                                        "This part number is not in the database.", -1});
    }

    void refusalsKeepTheInput()
    {
        QFETCH(Refusal, r);
        Window w;
        if (*r.chosen)
            QVERIFY(chooseKey(w.combItemID, r.chosen));
        if (QByteArray(r.number) == "DIAG-2")
            QVERIFY(DbProbe::exec("DELETE FROM Inventory WHERE ItemNo = 'DIAG'"));
        const QStringList before = partNumbers();
        w.fill(r.number, r.text, r.price, r.type);
        w.txtTaxRate->setText(r.rate);
        w.press(r.key);
        QCOMPARE(w.prompts.messages(), {r.message});
        QCOMPARE(partNumbers(), before);
        QCOMPARE(w.Text1[0]->text() + w.Text1[1]->text() + w.txtTaxRate->text(),
                 QString(r.number) + r.text + r.rate);
        QVERIFY(r.focus < 0 || w.Text1[r.focus]->hasFocus());
        QCOMPARE(w.editing(), *r.chosen != 0);
    }

    void removals_data()
    {
        QTest::addColumn<Removal>("r");
        const QString ask = "Are you sure you want to remove this part number from the Database?";
        auto row = [](const char* name, const Removal& r) { QTest::newRow(name) << r; };
        row("nothing chosen",
            {"", true, false, {"No part number has been chosen; nothing was removed."}});
        row("answered no", {"KB-USB", false, false, {ask, "Deletion has been cancelled"}});
        row("removed",
            {"KB-USB", true, false, {ask, "Inventory Item has beed deleted from database"}});
        row("already gone",
            {"KB-USB", true, true, {ask, "This part number is not in the database."}});
    }

    void removals()
    {
        QFETCH(Removal, r);
        Window w;
        w.prompts.answerConfirm(r.answer);
        if (*r.chosen)
            QVERIFY(chooseKey(w.combItemID, r.chosen));
        if (r.gone)
            QVERIFY(DbProbe::exec("DELETE FROM Inventory WHERE ItemNo = ?", r.chosen));
        w.chkRemove->setChecked(true);
        w.press("Clear"); // any button removes while Remove is ticked
        QCOMPARE(w.prompts.allTexts(), r.shown);
        const bool removed = r.shown.endsWith("Inventory Item has beed deleted from database");
        QCOMPARE(partNumbers().size(), removed || r.gone ? 6 : 7);
        QCOMPARE(w.chkRemove->isChecked(), !removed);
        QCOMPARE(w.Text1[0]->text(), removed ? "" : r.chosen);
        QCOMPARE(w.combItemID->count(), removed ? 6 : 7);
    }
};

QTEST_MAIN(TestInventory)
#include "tst_inventory.moc"
