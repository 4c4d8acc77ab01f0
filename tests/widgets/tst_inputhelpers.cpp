#include "support/widgettesting.h"
#include "widgets/comboautocomplete.h"
#include "widgets/inputhelpers.h"
#include "widgets/singlelinetext.h"
#include "widgets/tabbedlist.h"

#include <QAbstractItemView>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QSignalSpy>
#include <QVBoxLayout>
#include <QtTest>

using namespace Qt::Literals::StringLiterals;

/** The shared typing comforts, driven through real widgets. */
class TestInputHelpers : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void upperCaseKey()
    {
        QCOMPARE(InputHelpers::upperCaseKey(97), 65);
        QCOMPARE(InputHelpers::upperCaseKey(122), 90);
        for (int code : {96, 123, int('0'), int('9'), int('A'), int('Z'), 13, 8})
            QCOMPARE(InputHelpers::upperCaseKey(code), code);

        QLineEdit box;
        InputHelpers::upperCaseInput(&box);
        QTest::keyClicks(&box, QStringLiteral("jth-12x"));
        QCOMPARE(box.text(), QStringLiteral("JTH-12X"));
    }

    void comboCompletesToFirstMatchingEntry()
    {
        QWidget window;
        auto* combo = new QComboBox(&window);
        combo->addItems(
            {QStringLiteral("ALPHA"), QStringLiteral("Alpine"), QStringLiteral("BETA")});
        ComboAutoComplete::install(combo);
        combo->setEditText(QString());
        QVERIFY(WidgetTesting::showActive(&window));
        combo->setFocus();
        QSignalSpy chosen(combo, &QComboBox::activated);
        QLineEdit* edit = combo->lineEdit();

        QTest::keyClick(combo, Qt::Key_A);
        QCOMPARE(combo->currentText(), QStringLiteral("ALPHA"));
        QCOMPARE(edit->selectedText(), QStringLiteral("LPHA"));
        QCOMPARE(chosen.count(), 1);

        QTest::keyClicks(combo, QStringLiteral("lpi"));
        QCOMPARE(combo->currentText(), QStringLiteral("Alpine"));
        QCOMPARE(edit->selectedText(), QStringLiteral("ne"));
        QCOMPARE(combo->currentIndex(), 1);

        QTest::keyClick(combo, Qt::Key_Z); // continues no entry
        QCOMPARE(combo->currentText(), QStringLiteral("Alpine"));
        QCOMPARE(edit->selectedText(), QStringLiteral("ne"));
        QTest::keyClick(combo, Qt::Key_Backspace);
        QTest::keyClick(combo, Qt::Key_Delete);
        QCOMPARE(combo->currentText(), QStringLiteral("Alpine"));

        QTest::keyClick(combo, Qt::Key_Home);
        QTest::keyClick(combo, Qt::Key_B);
        QCOMPARE(combo->currentText(), QStringLiteral("BETA"));
        QCOMPARE(combo->count(), 3);
    }

    void dropWidthUsesFirstLongestEntry()
    {
        QComboBox wide, narrow;
        wide.addItems({QStringLiteral("WWWW"), QStringLiteral("iiii"), QStringLiteral("ab")});
        narrow.addItems({QStringLiteral("iiii"), QStringLiteral("WWWW")});
        InputHelpers::setComboDropWidth(&wide);
        InputHelpers::setComboDropWidth(&narrow);
        QVERIFY(wide.view()->minimumWidth() > narrow.view()->minimumWidth());
        QVERIFY(wide.view()->minimumWidth() >
                wide.view()->fontMetrics().horizontalAdvance(QStringLiteral("WWWWA")));
        QComboBox empty;
        InputHelpers::setComboDropWidth(&empty);
    }

    void enterMovesOnAndLastBoxPresses()
    {
        QWidget window;
        auto* layout = new QVBoxLayout(&window);
        auto* first = new QLineEdit(&window);
        auto* second = new QLineEdit(&window);
        layout->addWidget(first);
        layout->addWidget(second);
        int pressed = 0;
        InputHelpers::enterAsTab(first);
        InputHelpers::enterAsTab(second, [&] { ++pressed; });
        InputHelpers::selectOnFocus({first, second});
        second->setText(QStringLiteral("secret"));
        QVERIFY(WidgetTesting::showActive(&window));
        first->setFocus();
        QTest::keyClicks(first, QStringLiteral("abc"));
        QTest::keyClick(first, Qt::Key_Return);
        QCOMPARE(first->text(), QStringLiteral("abc"));
        QVERIFY(second->hasFocus());
        QCOMPARE(second->selectedText(), QStringLiteral("secret"));
        QCOMPARE(pressed, 0);
        QTest::keyClick(second, Qt::Key_Enter);
        QCOMPARE(pressed, 1);
    }

    void singleLineBoxesKeepSingleLineText_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("entered");
        QTest::addColumn<QString>("kept");
        QTest::newRow("pasted tab") << "paste"
                                    << "John\tSmith"
                                    << "John Smith";
        QTest::newRow("pasted lines") << "paste"
                                      << "12 Main St\r\n\r\nSpringfield\n"
                                      << "12 Main St Springfield ";
        QTest::newRow("pasted NUL") << "paste" << QString(u"Kim\0Chen\x7f"_s) << "KimChen";
        QTest::newRow("pasted plain") << "paste"
                                      << "Grüße, 555-0134"
                                      << "Grüße, 555-0134";
        QTest::newRow("typed with a tab") << "type"
                                          << "a\tb"
                                          << "a b";
        QTest::newRow("from an input method") << "input method"
                                              << "x\u2028y"
                                              << "x y";
        QTest::newRow("combo's edit line") << "combo paste"
                                           << "A\tB\nC"
                                           << "A B C";
    }

    void singleLineBoxesKeepSingleLineText()
    {
        QFETCH(QString, how);
        QFETCH(QString, entered);
        QFETCH(QString, kept);
        SingleLineText::keepInEveryBox();
        QWidget window;
        auto* layout = new QVBoxLayout(&window);
        auto* combo = new QComboBox(&window);
        combo->setEditable(true);
        auto* plain = new QLineEdit(&window);
        layout->addWidget(combo);
        layout->addWidget(plain);
        QLineEdit* box = how == QLatin1String("combo paste") ? combo->lineEdit() : plain;
        QVERIFY(WidgetTesting::showActive(&window));
        box->setFocus();
        box->setText(QStringLiteral("[]"));
        box->setCursorPosition(1);
        if (how == QLatin1String("type")) {
            QKeyEvent key(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, entered);
            QApplication::sendEvent(box, &key);
        } else if (how == QLatin1String("input method")) {
            QInputMethodEvent commit;
            commit.setCommitString(entered);
            QApplication::sendEvent(box, &commit);
        } else {
            QGuiApplication::clipboard()->setText(entered);
            box->paste();
        }
        QCOMPARE(box->text(), u'[' + kept + u']');
        QCOMPARE(box->cursorPosition(), kept.size() + 1);
        // Tab is no character of the text: it still moves the focus on.
        QTest::keyClick(box, Qt::Key_Tab);
        QVERIFY(!box->hasFocus());
        QCOMPARE(box->text(), u'[' + kept + u']');
    }

    void tabbedListKeepsLinesAndReportsUserChoices()
    {
        TabbedList list;
        list.setTabStops({30, 50, 75, 165});
        const int average = list.fontMetrics().averageCharWidth();
        QCOMPARE(list.tabStopPixels().first(), 30 * average / 4);
        const QList<int> stops = list.tabStopPixels();
        QCOMPARE(list.nextStop(0), stops[0]);
        QCOMPARE(list.nextStop(stops[0]), stops[1]); // a field reaching a stop moves on
        QCOMPARE(list.nextStop(stops[3] + 1), stops[3] + (stops[3] - stops[2]));
        // A field longer than its column pushes the rest along, unless fields keep to columns.
        const QString wide = QStringLiteral("1\t") + QString(40, QLatin1Char('W')) + "\tend";
        const QFontMetrics metrics = list.fontMetrics();
        QVERIFY(list.placeFields(wide, metrics).last().x > stops[1]);
        list.setFieldsKeepColumns(true);
        const QList<TabbedList::PlacedField> kept = list.placeFields(wide, metrics);
        QCOMPARE(kept.last().x, stops[1]);
        QVERIFY(kept[1].text.endsWith(QChar(0x2026)));
        QVERIFY(kept[1].x + metrics.horizontalAdvance(kept[1].text) < stops[1]);
        QCOMPARE(kept.last().text, QStringLiteral("end"));
        list.setFieldsKeepColumns(false);
        list.setLines({QStringLiteral("12\tJTH-1\tJohn Smith\t1-High"),
                       QStringLiteral("15\tMIA-2\tMaria Garcia\t2-Med")});
        list.addLine(QStringLiteral("16\tKEN-7\tKim Chen\t3-Low"));
        QCOMPARE(list.line(1), QStringLiteral("15\tMIA-2\tMaria Garcia\t2-Med"));

        QSignalSpy clicked(&list, &TabbedList::lineClicked);
        list.setCurrentRow(2);
        QCOMPARE(list.currentRow(), 2);
        QCOMPARE(clicked.count(), 0);
        QVERIFY(WidgetTesting::showActive(&list));
        list.setFocus();
        QTest::keyClick(&list, Qt::Key_Up);
        QCOMPARE(clicked.count(), 1);
        QCOMPARE(clicked.first().first().toInt(), 1);
        list.removeLine(0);
        QCOMPARE(list.line(0), QStringLiteral("15\tMIA-2\tMaria Garcia\t2-Med"));
        list.grab(); // paints without stops beyond the fields
    }
};

QTEST_MAIN(TestInputHelpers)
#include "tst_inputhelpers.moc"
