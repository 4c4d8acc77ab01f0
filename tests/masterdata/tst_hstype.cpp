#include "data/database.h"
#include "masterdata/hstype.h"
#include "support/scriptedprompter.h"
#include "support/testfolder.h"
#include "support/widgettesting.h"

#include <QPushButton>
#include <QtTest>
#include <memory>

using namespace WidgetTesting;

namespace {

/** The controls and table of one half of the window. */
struct Half {
    const char* input;
    const char* add;
    const char* combo;
    const char* remove;
    const char* table;
    const char* column;
};

const Half Hardware{"txtHardware", "cmdAddHard", "combHW", "cmdRemoveHW", "TypeHardware", "Typeh"};
const Half Software{"txtSoftware", "cmdAddSoft",   "combSW",
                    "cmdRemoveSW", "TypeSoftware", "TypeDetail"};

int rowsWith(const Half& half, const QString& text)
{
    Database db;
    Query q = db.query(QStringLiteral("SELECT COUNT(*) FROM %1 WHERE %2 = ?")
                           .arg(QLatin1String(half.table), QLatin1String(half.column)),
                       text);
    return q.next() ? int(q.integer(0)) : -1;
}

int rows(const char* table)
{
    Database db;
    Query q = db.query(QStringLiteral("SELECT COUNT(*) FROM %1").arg(QLatin1String(table)));
    return q.next() ? int(q.integer(0)) : -1;
}

QStringList entries(QComboBox* combo)
{
    QStringList texts;
    for (int i = 0; i < combo->count(); ++i)
        texts << combo->itemText(i);
    return texts;
}

std::unique_ptr<HSType> openWindow()
{
    auto window = std::make_unique<HSType>();
    if (!showActive(window.get()))
        qWarning("The type window did not become active");
    return window;
}

void addType(QWidget* w, const Half& half, const QString& text)
{
    typeInto(child<QLineEdit>(w, half.input), text);
    QTest::mouseClick(child<QPushButton>(w, half.add), Qt::LeftButton);
}

} // namespace

Q_DECLARE_METATYPE(Half)

/** The hardware and software type lists: adding, removing, and both lists kept current. */
class TestHSType : public QObject {
    Q_OBJECT

    static void halves()
    {
        QTest::addColumn<Half>("half");
        QTest::newRow("hardware") << Hardware;
        QTest::newRow("software") << Software;
    }

private Q_SLOTS:
    void listsOpenSorted()
    {
        TestFolder folder(TestFolder::Content::Demo);
        ScriptedPrompter prompts;
        auto w = openWindow();
        QCOMPARE(entries(child<QComboBox>(w.get(), "combHW")),
                 (QStringList{"Desktop", "Hard Drive", "Laptop", "Monitor", "Printer", "Router"}));
        QCOMPARE(entries(child<QComboBox>(w.get(), "combSW")).first(),
                 QStringLiteral("Accounting"));
        QCOMPARE(child<QComboBox>(w.get(), "combHW")->currentText(), QString());
    }

    void addedTypesAreListedAtOnceDuplicatesIncluded_data() { halves(); }
    void addedTypesAreListedAtOnceDuplicatesIncluded()
    {
        QFETCH(Half, half);
        TestFolder folder(TestFolder::Content::Demo);
        ScriptedPrompter prompts;
        auto w = openWindow();
        const int otherRows = rows(half.table == Hardware.table ? Software.table : Hardware.table);

        addType(w.get(), half, QStringLiteral("Owner's Scanner"));
        addType(w.get(), half, QStringLiteral("Owner's Scanner"));
        QCOMPARE(child<QLineEdit>(w.get(), half.input)->text(), QString());
        QCOMPARE(rowsWith(half, QStringLiteral("Owner's Scanner")), 2);
        QCOMPARE(entries(child<QComboBox>(w.get(), half.combo)).count("Owner's Scanner"), 2);
        QCOMPARE(rows(half.table == Hardware.table ? Software.table : Hardware.table), otherRows);

        // An empty box adds no blank type.
        const int before = rows(half.table);
        addType(w.get(), half, QString());
        QCOMPARE(rows(half.table), before);
        QVERIFY(prompts.allTexts().isEmpty());
    }

    void removalTakesEveryRowWithTheText_data() { halves(); }
    void removalTakesEveryRowWithTheText()
    {
        QFETCH(Half, half);
        TestFolder folder(TestFolder::Content::Demo);
        ScriptedPrompter prompts;
        auto w = openWindow();
        addType(w.get(), half, QStringLiteral("Owner's Scanner"));
        addType(w.get(), half, QStringLiteral("Owner's Scanner"));
        auto* combo = child<QComboBox>(w.get(), half.combo);
        const int listed = combo->count();

        QVERIFY(choose(combo, QStringLiteral("Owner's Scanner")));
        QTest::mouseClick(child<QPushButton>(w.get(), half.remove), Qt::LeftButton);
        QCOMPARE(prompts.allTexts(), (QStringList{"Are you sure that you want to delete this item?",
                                                  "Item has been deleted"}));
        QCOMPARE(rowsWith(half, QStringLiteral("Owner's Scanner")), 0);
        QCOMPARE(combo->count(), listed - 2);
        QCOMPARE(combo->currentText(), QString());
    }

    void answeringNoKeepsTheList_data() { halves(); }
    void answeringNoKeepsTheList()
    {
        QFETCH(Half, half);
        TestFolder folder(TestFolder::Content::Demo);
        ScriptedPrompter prompts;
        auto w = openWindow();
        auto* combo = child<QComboBox>(w.get(), half.combo);
        const QStringList before = entries(combo);
        const QString chosen = before.at(1);
        QVERIFY(choose(combo, chosen));
        prompts.answerConfirm(false);
        QTest::mouseClick(child<QPushButton>(w.get(), half.remove), Qt::LeftButton);
        QCOMPARE(prompts.messages(), QStringList{"Deletion has been cancled"});
        QCOMPARE(entries(combo), before);
        QCOMPARE(combo->currentText(), QString());
        QCOMPARE(rowsWith(half, chosen), 1);
    }

    void removalNeedsAChoice_data() { halves(); }
    void removalNeedsAChoice()
    {
        QFETCH(Half, half);
        TestFolder folder(TestFolder::Content::Demo);
        ScriptedPrompter prompts;
        auto w = openWindow();
        const int before = rows(half.table);
        QTest::mouseClick(child<QPushButton>(w.get(), half.remove), Qt::LeftButton);
        QCOMPARE(prompts.allTexts(), QStringList{"No item has been chosen."});

        // A typed text that is no stored type removes nothing and does not claim it did.
        prompts.clear();
        child<QComboBox>(w.get(), half.combo)->setEditText(QStringLiteral("Toaster"));
        QTest::mouseClick(child<QPushButton>(w.get(), half.remove), Qt::LeftButton);
        QCOMPARE(prompts.messages(), QStringList{"No record found"});
        QCOMPARE(rows(half.table), before);
    }
};

QTEST_MAIN(TestHSType)
#include "tst_hstype.moc"
