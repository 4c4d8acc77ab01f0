#include "data/conversions.h"
#include "data/database.h"
#include "masterdata/inventory.h"
#include "support/scriptedprompter.h"
#include "support/testfolder.h"
#include "support/widgettesting.h"

#include <QAction>
#include <QCheckBox>
#include <QToolBar>
#include <QtTest>

using WidgetTesting::child;
using WidgetTesting::typeInto;

/** The parts window driven through its toolbar, boxes and combos on the demo shop. */
class TestInventory : public QObject {
    Q_OBJECT

    struct Window {
        inventory window;
        QLineEdit* part = child<QLineEdit>(&window, "Text1_0");
        QLineEdit* description = child<QLineEdit>(&window, "Text1_1");
        QLineEdit* price = child<QLineEdit>(&window, "Text1_2");
        QLineEdit* taxRate = child<QLineEdit>(&window, "txtTaxRate");
        QComboBox* type = child<QComboBox>(&window, "combItemType");
        QComboBox* items = child<QComboBox>(&window, "combItemID");
        QCheckBox* taxable = child<QCheckBox>(&window, "chkTaxable");
        QCheckBox* remove = child<QCheckBox>(&window, "chkRemove");

        void press(const char* key) { child<QAction>(&window, key)->trigger(); }
        bool shows(const char* key) { return child<QAction>(&window, key)->isVisible(); }
        void fill(const QString& number, const QString& text, const QString& amount,
                  const QString& partType)
        {
            typeInto(part, number);
            typeInto(description, text);
            typeInto(price, amount);
            type->setEditText(partType);
        }
        bool chooseLineOf(const QString& number)
        {
            for (int i = 0; i < items->count(); ++i) {
                if (items->itemText(i).startsWith(number + QStringLiteral("  ")))
                    return WidgetTesting::choose(items, items->itemText(i));
            }
            return false;
        }
    };

    static int partCount(const QString& number)
    {
        Database db;
        Query q =
            db.query(QStringLiteral("SELECT COUNT(*) FROM Inventory WHERE ItemNo = ?"), number);
        return q.next() ? static_cast<int>(q.integer(0)) : -1;
    }

    static int allParts()
    {
        Database db;
        Query q = db.query(QStringLiteral("SELECT COUNT(*) FROM Inventory"));
        return q.next() ? static_cast<int>(q.integer(0)) : -1;
    }

private Q_SLOTS:
    void freshWindowOffersNewPart()
    {
        TestFolder folder(TestFolder::Content::Demo);
        Window w;
        QCOMPARE(w.window.windowTitle(), QStringLiteral("Inventory Items"));
        QCOMPARE(w.taxRate->text(), QStringLiteral("0.00"));
        QCOMPARE(child<QLineEdit>(&w.window, "txtPostDate")->text(),
                 conv::formatDate(QDate::currentDate()));
        QVERIFY(w.shows("Add") && w.shows("Clear") && !w.shows("Edit"));
        QCOMPARE(w.items->count(), 7);
        QCOMPARE(w.items->itemText(0), QStringLiteral("AV-1YR  Antivirus, one-year licence"));
        QVERIFY(w.type->count() > 0);
    }

    void requiredBoxesComeFirstInOrder()
    {
        TestFolder folder(TestFolder::Content::Demo);
        ScriptedPrompter prompts;
        Window w;
        QVERIFY(WidgetTesting::showActive(&w.window));
        typeInto(w.description, QStringLiteral("kept"));
        w.press("Clear");
        QCOMPARE(prompts.messages(), QStringList{QStringLiteral("Please enter a Part Number!")});
        QCOMPARE(w.description->text(), QStringLiteral("kept"));
        QVERIFY(w.part->hasFocus());

        const QStringList expected = {QStringLiteral("Please enter a Description!"),
                                      QStringLiteral("Please enter a Price for this Part Number!"),
                                      QStringLiteral("Please select a Part type!")};
        w.fill(QStringLiteral("NEW-1"), QString(), QString(), QString());
        w.press("Add");
        QVERIFY(w.description->hasFocus());
        typeInto(w.description, QStringLiteral("A part"));
        w.price->clear();
        w.press("Add");
        QVERIFY(w.price->hasFocus());
        w.price->setText(QStringLiteral("5"));
        w.press("Add");
        QCOMPARE(prompts.messages().mid(1), expected);
        QCOMPARE(partCount(QStringLiteral("NEW-1")), 0);

        w.type->setEditText(QStringLiteral("Hardware"));
        w.press("Clear");
        QCOMPARE(w.part->text(), QString());
        QCOMPARE(prompts.messages().size(), 4);
    }

    void priceBoxBecomesZeroWhenNotNumeric_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("left");
        QTest::newRow("letters") << "abc"
                                 << "0.00";
        QTest::newRow("empty") << ""
                               << "0.00";
        QTest::newRow("number stays as typed") << "12.5"
                                               << "12.5";
        QTest::newRow("whole number") << "7"
                                      << "7";
    }

    void priceBoxBecomesZeroWhenNotNumeric()
    {
        QFETCH(QString, typed);
        QFETCH(QString, left);
        TestFolder folder(TestFolder::Content::Demo);
        Window w;
        QVERIFY(WidgetTesting::showActive(&w.window));
        typeInto(w.price, typed);
        w.part->setFocus();
        QCOMPARE(w.price->text(), left);
    }

    void addStoresThePartWithApostrophes()
    {
        TestFolder folder(TestFolder::Content::Demo);
        ScriptedPrompter prompts;
        Window w;
        w.fill(QStringLiteral("O'B-1"), QStringLiteral("Tom's cable"), QStringLiteral("12.5"),
               QStringLiteral("Accessory"));
        w.taxable->setChecked(true);
        typeInto(w.taxRate, QStringLiteral("8.25"));
        w.press("Add");
        QCOMPARE(prompts.messages(), QStringList());

        Database db;
        Query q = db.query(QStringLiteral("SELECT ItemDescp, ItemPrice1, Taxable, TaxRate, "
                                          "ItemType, Inactive, PostDate FROM Inventory "
                                          "WHERE ItemNo = ?"),
                           QStringLiteral("O'B-1"));
        QVERIFY(q.next());
        QCOMPARE(q.text(0), QStringLiteral("Tom's cable"));
        QCOMPARE(q.money(1), Currency::fromUnits(125000));
        QVERIFY(q.boolean(2));
        QCOMPARE(q.real(3), 8.25);
        QCOMPARE(q.text(4), QStringLiteral("Accessory"));
        QVERIFY(!q.boolean(5));
        QCOMPARE(q.date(6), QDate::currentDate());

        QCOMPARE(w.part->text(), QString());
        QCOMPARE(w.taxRate->text(), QStringLiteral("0.00"));
        QVERIFY(!w.taxable->isChecked());
        QVERIFY(w.items->findText(QStringLiteral("O'B-1  Tom's cable")) >= 0);
    }

    void numbersThatAreNotNumbersAreRefused_data()
    {
        QTest::addColumn<QString>("price");
        QTest::addColumn<QString>("rate");
        QTest::newRow("tax rate") << "10"
                                  << "eight";
        QTest::newRow("empty tax rate") << "10"
                                        << "";
        QTest::newRow("price never left") << "ten"
                                          << "0.00";
    }

    void numbersThatAreNotNumbersAreRefused()
    {
        QFETCH(QString, price);
        QFETCH(QString, rate);
        TestFolder folder(TestFolder::Content::Demo);
        ScriptedPrompter prompts;
        Window w;
        w.fill(QStringLiteral("NEW-2"), QStringLiteral("Cable"), price, QStringLiteral("Hardware"));
        w.taxRate->setText(rate);
        w.press("Add");
        QCOMPARE(prompts.messages(),
                 QStringList{QStringLiteral("Please fill in all the text boxes")});
        QCOMPARE(partCount(QStringLiteral("NEW-2")), 0);
        QCOMPARE(w.part->text(), QStringLiteral("NEW-2"));
        QCOMPARE(w.taxRate->text(), rate);
    }

    void duplicatePartNumberIsReportedAndKept()
    {
        TestFolder folder(TestFolder::Content::Demo);
        ScriptedPrompter prompts;
        Window w;
        w.fill(QStringLiteral("ram-8gb"), QStringLiteral("Other memory"), QStringLiteral("1"),
               QStringLiteral("Hardware"));
        w.press("Add");
        QCOMPARE(prompts.messages(),
                 QStringList{QStringLiteral("This part number already exists!")});
        QCOMPARE(w.description->text(), QStringLiteral("Other memory"));
        QCOMPARE(allParts(), 7);
    }

    void choosingLoadsAndEditRenames()
    {
        TestFolder folder(TestFolder::Content::Demo);
        ScriptedPrompter prompts;
        Window w;
        QVERIFY(w.chooseLineOf(QStringLiteral("SSD-500")));
        QCOMPARE(w.window.currentItemNo(), QStringLiteral("SSD-500"));
        QVERIFY(w.shows("Edit") && !w.shows("Add"));
        QCOMPARE(w.part->text(), QStringLiteral("SSD-500"));
        QCOMPARE(w.description->text(), QStringLiteral("500 GB solid state drive"));
        QCOMPARE(w.price->text(), QStringLiteral("59.99"));
        QCOMPARE(w.taxRate->text(), QStringLiteral("8.25"));
        QVERIFY(w.taxable->isChecked());
        QCOMPARE(w.type->currentText(), QStringLiteral("Hardware"));

        typeInto(w.part, QStringLiteral("SSD-1TB"));
        typeInto(w.price, QStringLiteral("89.5"));
        w.press("Edit");
        QCOMPARE(prompts.messages(), QStringList());
        QCOMPARE(partCount(QStringLiteral("SSD-500")), 0);
        Database db;
        Query q = db.query(
            QStringLiteral("SELECT ItemPrice1, PostDate FROM Inventory WHERE ItemNo = 'SSD-1TB'"));
        QVERIFY(q.next());
        QCOMPARE(q.money(0), Currency::fromUnits(895000));
        QVERIFY(q.date(1) < QDate::currentDate()); // the post date stays the day of adding
        QVERIFY(w.shows("Add") && !w.shows("Edit"));
        QCOMPARE(allParts(), 7);
    }

    void typingInThePartListChoosesAsItGoes()
    {
        TestFolder folder(TestFolder::Content::Demo);
        Window w;
        QVERIFY(WidgetTesting::showActive(&w.window));
        w.items->setFocus();
        QTest::keyClicks(w.items, QStringLiteral("p"));
        QCOMPARE(w.part->text(), QStringLiteral("PSU-550"));
        QTest::keyClick(w.items, Qt::Key_Home);
        QTest::keyClicks(w.items, QStringLiteral("ssd"));
        QCOMPARE(w.items->currentText(), QStringLiteral("SSD-500  500 GB solid state drive"));
        QCOMPARE(w.items->lineEdit()->selectedText(),
                 QStringLiteral("-500  500 GB solid state drive"));
        QCOMPARE(w.part->text(), QStringLiteral("SSD-500"));
        QCOMPARE(w.items->count(), 7);
    }

    void renamingOntoAnotherPartIsRefused()
    {
        TestFolder folder(TestFolder::Content::Demo);
        ScriptedPrompter prompts;
        Window w;
        QVERIFY(w.chooseLineOf(QStringLiteral("DIAG")));
        typeInto(w.part, QStringLiteral("LAB-HR"));
        w.press("Edit");
        QCOMPARE(prompts.messages(),
                 QStringList{QStringLiteral("This part number already exists!")});
        QCOMPARE(partCount(QStringLiteral("DIAG")), 1);
        QCOMPARE(w.part->text(), QStringLiteral("LAB-HR"));
        QVERIFY(w.shows("Edit"));
    }

    void removeModeRemovesTheChosenPart()
    {
        TestFolder folder(TestFolder::Content::Demo);
        ScriptedPrompter prompts;
        Window w;
        QVERIFY(w.chooseLineOf(QStringLiteral("KB-USB")));
        w.remove->setChecked(true);
        prompts.answerConfirm(false);
        w.press("Edit");
        QCOMPARE(prompts.allTexts(),
                 (QStringList{QStringLiteral("Are you sure you want to remove this part number "
                                             "from the Database?"),
                              QStringLiteral("Deletion has been cancelled")}));
        QVERIFY(w.remove->isChecked());
        QCOMPARE(partCount(QStringLiteral("KB-USB")), 1);

        prompts.clear();
        w.press("Clear"); // any button removes while Remove is ticked
        QCOMPARE(prompts.messages(),
                 QStringList{QStringLiteral("Inventory Item has beed deleted from database")});
        QCOMPARE(partCount(QStringLiteral("KB-USB")), 0);
        QVERIFY(!w.remove->isChecked());
        QCOMPARE(w.part->text(), QString());
        QCOMPARE(w.items->count(), 6);

        prompts.clear();
        w.remove->setChecked(true);
        w.press("Add"); // the same part again: gone, and said so
        QCOMPARE(prompts.messages(),
                 QStringList{QStringLiteral("This part number is not in the database.")});
    }

    void removalWithNothingChosenRemovesNothing()
    {
        TestFolder folder(TestFolder::Content::Demo);
        ScriptedPrompter prompts;
        Window w;
        w.remove->setChecked(true);
        w.press("Add");
        QCOMPARE(prompts.allTexts(), QStringList{QStringLiteral(
                                         "No part number has been chosen; nothing was removed.")});
        QCOMPARE(allParts(), 7);
    }
};

QTEST_MAIN(TestInventory)
#include "tst_inventory.moc"
