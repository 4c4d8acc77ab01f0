#include "masterdata/hstype.h"
#include "masterdata/masterdatatesting.h"

#include <QPushButton>

using MasterDataTesting::Shown;
using WidgetTesting::child;

namespace {

/** The controls and table of one half of the window. */
struct Half {
    const char *input, *add, *combo, *remove, *table;
};
const Half Hardware{"txtHardware", "cmdAddHard", "combHW", "cmdRemoveHW", "TypeHardware"};
const Half Software{"txtSoftware", "cmdAddSoft", "combSW", "cmdRemoveSW", "TypeSoftware"};

/** A removal from one list: what is chosen, the answer, and how many rows go. */
struct Removal {
    Half half;
    const char* chosen;
    bool answer;
    QStringList shown;
    int removed;
    const char* left;
};

} // namespace

Q_DECLARE_METATYPE(Removal)

/** The hardware and software type lists: adding, removing, and both lists kept current. */
class TestHSType : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void addingListsAtOnceDuplicatesIncluded()
    {
        Shown<HSType> w;
        auto* hardware = child<QComboBox>(&w, "combHW");
        QCOMPARE(hardware->itemText(1) + "|" + hardware->itemText(5), "Hard Drive|Router");
        QCOMPARE(child<QComboBox>(&w, "combSW")->itemText(0), "Accounting");
        for (const Half& half : {Hardware, Software}) {
            const qint64 before = DbProbe::count(half.table);
            auto* combo = child<QComboBox>(&w, half.combo);
            // Twice the same type, and an empty box that adds no blank type.
            for (const char* text : {"Owner's Scanner", "Owner's Scanner", ""}) {
                child<QLineEdit>(&w, half.input)->setText(text);
                child<QPushButton>(&w, half.add)->click();
            }
            QCOMPARE(child<QLineEdit>(&w, half.input)->text(), QString());
            QCOMPARE(DbProbe::count(half.table), before + 2);
            QCOMPARE(combo->itemText(combo->findText("Owner's Scanner") + 1), "Owner's Scanner");
        }
    }

    void removals_data()
    {
        QTest::addColumn<Removal>("r");
        const QString ask = "Are you sure that you want to delete this item?";
        const QStringList done = {ask, "Item has been deleted"};
        auto row = [](const char* name, const Removal& r) { QTest::newRow(name) << r; };
        // The refusals go through the code both lists share; the removal itself is per list.
        row("hardware", {Hardware, "Monitor", true, done, 2, ""});
        row("software", {Software, "Monitor", true, done, 2, ""});
        row("answered no", {Software, "Monitor", false, {ask, "Deletion has been cancled"}, 0, ""});
        row("nothing chosen", {Hardware, "", true, {"No item has been chosen."}, 0, ""});
        row("no such type", {Hardware, "Toaster", true, {ask, "No record found"}, 0, "Toaster"});
    }

    void removals()
    {
        QFETCH(Removal, r);
        // Two copies of the type in each list.
        Shown<HSType> w(TestFolder::Content::Demo,
                        QStringList{"INSERT INTO TypeHardware (Typeh) VALUES ('Monitor')",
                                    "INSERT INTO TypeSoftware (TypeDetail) VALUES ('Monitor')",
                                    "INSERT INTO TypeSoftware (TypeDetail) VALUES ('Monitor')"});
        const qint64 all = DbProbe::count("TypeHardware") + DbProbe::count("TypeSoftware");
        const qint64 before = DbProbe::count(r.half.table);
        w.prompts.answerConfirm(r.answer);
        auto* combo = child<QComboBox>(&w, r.half.combo);
        const qsizetype listed = combo->count();
        combo->setEditText(r.chosen);
        child<QPushButton>(&w, r.half.remove)->click();
        QCOMPARE(w.prompts.allTexts(), r.shown);
        QCOMPARE(DbProbe::count("TypeHardware") + DbProbe::count("TypeSoftware"), all - r.removed);
        QCOMPARE(DbProbe::count(r.half.table), before - r.removed);
        QCOMPARE(combo->count(), listed - r.removed);
        QCOMPARE(combo->currentText(), r.left); // what the combo shows afterwards
    }
};

QTEST_MAIN(TestHSType)
#include "tst_hstype.moc"
