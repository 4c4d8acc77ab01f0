#include "masterdata/hstype.h"
#include "support/dbprobe.h"
#include "support/scriptedprompter.h"
#include "support/testfolder.h"
#include "support/widgettesting.h"

#include <QPushButton>
#include <QtTest>

using WidgetTesting::child;

namespace {

/** The controls and table of one half of the window. */
struct Half {
    const char *input, *add, *combo, *remove, *table;
};
const Half Hardware{"txtHardware", "cmdAddHard", "combHW", "cmdRemoveHW", "TypeHardware"};
const Half Software{"txtSoftware", "cmdAddSoft", "combSW", "cmdRemoveSW", "TypeSoftware"};

QStringList entries(QComboBox* combo)
{
    QStringList texts;
    for (int i = 0; i < combo->count(); ++i)
        texts << combo->itemText(i);
    return texts;
}

} // namespace

Q_DECLARE_METATYPE(Half)

/** The hardware and software type lists: adding, removing, and both lists kept current. */
class TestHSType : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void addingListsAtOnceDuplicatesIncluded()
    {
        TestFolder folder(TestFolder::Content::Demo);
        ScriptedPrompter prompts;
        HSType w;
        QCOMPARE(entries(child<QComboBox>(&w, "combHW")),
                 (QStringList{"Desktop", "Hard Drive", "Laptop", "Monitor", "Printer", "Router"}));
        QCOMPARE(entries(child<QComboBox>(&w, "combSW")).first(), "Accounting");
        for (const Half& half : {Hardware, Software}) {
            const qint64 before = DbProbe::count(half.table);
            // Twice the same type, and an empty box that adds no blank type.
            for (const char* text : {"Owner's Scanner", "Owner's Scanner", ""}) {
                child<QLineEdit>(&w, half.input)->setText(text);
                child<QPushButton>(&w, half.add)->click();
            }
            QCOMPARE(child<QLineEdit>(&w, half.input)->text(), QString());
            QCOMPARE(DbProbe::count(half.table), before + 2);
            QCOMPARE(entries(child<QComboBox>(&w, half.combo)).count("Owner's Scanner"), 2);
        }
        QCOMPARE(DbProbe::column("SELECT Typeh FROM TypeHardware WHERE Typeh LIKE 'Owner%' "
                                 "UNION ALL SELECT TypeDetail FROM TypeSoftware "
                                 "WHERE TypeDetail LIKE 'Owner%'"),
                 QStringList(4, "Owner's Scanner"));
    }

    void removals_data()
    {
        QTest::addColumn<Half>("half");
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<bool>("answer");
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<int>("removed");
        QTest::addColumn<QString>("left"); // in the combo afterwards
        const QString ask = "Are you sure that you want to delete this item?";
        const QString type = "Monitor";
        for (const auto& [name, half] : {std::pair("hardware", Hardware), {"software", Software}}) {
            QTest::addRow("%s, every copy", name)
                << half << type << true << QStringList{ask, "Item has been deleted"} << 2 << "";
            QTest::addRow("%s, answered no", name)
                << half << type << false << QStringList{ask, "Deletion has been cancled"} << 0
                << "";
            QTest::addRow("%s, nothing chosen", name)
                << half << "" << true << QStringList{"No item has been chosen."} << 0 << "";
            QTest::addRow("%s, no such type", name)
                << half << "Toaster" << true << QStringList{ask, "No record found"} << 0
                << "Toaster";
        }
    }

    void removals()
    {
        QFETCH(Half, half);
        QFETCH(QString, chosen);
        QFETCH(bool, answer);
        QFETCH(QStringList, shown);
        QFETCH(int, removed);
        QFETCH(QString, left);
        TestFolder folder(TestFolder::Content::Demo);
        // Two copies of the type in each list.
        QVERIFY(DbProbe::exec("INSERT INTO TypeHardware (Typeh) VALUES ('Monitor')"));
        for (int copy = 0; copy < 2; ++copy)
            QVERIFY(DbProbe::exec("INSERT INTO TypeSoftware (TypeDetail) VALUES ('Monitor')"));
        const qint64 all = DbProbe::count("TypeHardware") + DbProbe::count("TypeSoftware");
        const qint64 before = DbProbe::count(half.table);
        ScriptedPrompter prompts;
        prompts.answerConfirm(answer);
        HSType w;
        auto* combo = child<QComboBox>(&w, half.combo);
        const qsizetype listed = combo->count();
        combo->setEditText(chosen);
        child<QPushButton>(&w, half.remove)->click();
        QCOMPARE(prompts.allTexts(), shown);
        QCOMPARE(DbProbe::count("TypeHardware") + DbProbe::count("TypeSoftware"), all - removed);
        QCOMPARE(DbProbe::count(half.table), before - removed);
        QCOMPARE(combo->count(), listed - removed);
        QCOMPARE(combo->currentText(), left);
    }
};

QTEST_MAIN(TestHSType)
#include "tst_hstype.moc"
