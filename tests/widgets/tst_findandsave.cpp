#include "data/csvfile.h"
#include "data/session.h"
#include "helpdesk/helpdesk.h"
#include "masterdata/customer.h"
#include "receivables/custhistory.h"
#include "receivables/payment.h"
#include "support/filecontents.h"
#include "support/hostilefields.h"
#include "support/scriptedprompter.h"
#include "support/testfolder.h"
#include "support/ticketrows.h"
#include "support/widgettesting.h"
#include "widgets/comboautocomplete.h"
#include "widgets/linefinder.h"
#include "widgets/listheadings.h"
#include "widgets/singlelinetext.h"
#include "widgets/tabbedlist.h"

#include <QClipboard>
#include <QFile>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>
#include <memory>

using namespace WidgetTesting;

namespace {

// A window that chooses a customer, opened on the demo shop.
std::unique_ptr<QWidget> open(const QString& window)
{
    Session::setCurrentEmployeeId(QStringLiteral("JTT-1"));
    std::unique_ptr<QWidget> opened;
    if (window == QLatin1String("HelpDesk"))
        opened = std::make_unique<HelpDesk>();
    else if (window == QLatin1String("Payment"))
        opened = std::make_unique<Payment>();
    else if (window == QLatin1String("CustHistory"))
        opened = std::make_unique<CustHistory>();
    else
        opened = std::make_unique<Customer>();
    showActive(opened.get());
    return opened;
}

QComboBox* customerCombo(QWidget* window)
{
    auto* combo = window->findChild<QComboBox*>(QStringLiteral("combCustIDHD"));
    return combo ? combo : window->findChild<QComboBox*>(QStringLiteral("combCustID"));
}

// Everything the window shows in its boxes and lists, to compare two ways of choosing.
QString shown(QWidget* window)
{
    QStringList texts;
    for (auto* box : window->findChildren<QLineEdit*>())
        texts << box->text();
    for (auto* list : window->findChildren<TabbedList*>())
        if (list->objectName() != QLatin1String("lstFound"))
            texts << list->lines();
    for (auto* list : window->findChildren<QListWidget*>())
        for (int i = 0; i < list->count(); ++i)
            texts << list->item(i)->text();
    return texts.join(QLatin1Char('|'));
}

QStringList keysOf(const QStringList& lines)
{
    QStringList keys;
    for (const QString& line : lines)
        keys << LineFinder::keyOf(line);
    return keys;
}

} // namespace

/** Finding a customer by any part of the line or the phone number wherever one is chosen, and
 *  saving a list as CSV. */
class TestFindAndSave : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { m_folder.emplace(TestFolder::Content::Demo); }
    void cleanup() { m_folder.reset(); }

    // Typing in the real windows narrows the customers; the chosen line fills the window as a
    // choice from the drop-down does.
    void windowsFindCustomers_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("found");
        QTest::addColumn<int>("down");
        QTest::addColumn<QString>("chosen");
        const QStringList withEn = {"AES-3", "BEY-4", "KEN-7"};
        for (const char* window : {"HelpDesk", "Payment", "CustHistory", "Customer"}) {
            const QByteArray name(window);
            QTest::newRow(name + ": middle of the name")
                << window << "arci" << QStringList{"MIA-2"} << 0 << "MIA-2";
            QTest::newRow(name + ": phone digits")
                << window << "555 013" << QStringList{"KEN-7"} << 0 << "KEN-7";
            QTest::newRow(name + ": several, the second")
                << window << "en" << withEn << 1 << "BEY-4";
            QTest::newRow(name + ": ID prefix completes")
                << window << "ke" << QStringList{} << 0 << "KEN-7";
        }
        QTest::newRow("CustHistory: inactive not offered") << "CustHistory"
                                                           << "ross" << QStringList{} << 0 << "";
        QTest::newRow("Customer: inactive found") << "Customer"
                                                  << "ross" << QStringList{"DSS-6"} << 0 << "DSS-6";
    }
    void windowsFindCustomers()
    {
        QFETCH(QString, window);
        QFETCH(QString, typed);
        QFETCH(QStringList, found);
        QFETCH(int, down);
        QFETCH(QString, chosen);
        ScriptedPrompter prompts;
        const auto searched = open(window);
        QComboBox* combo = customerCombo(searched.get());
        QSignalSpy activated(combo, &QComboBox::activated);
        combo->setFocus();
        QTest::keyClicks(combo, typed);
        auto* list = combo->findChild<TabbedList*>(QStringLiteral("lstFound"));
        QCOMPARE(list && list->isVisible() ? keysOf(list->lines()) : QStringList(), found);
        for (int n = 0; n < down; ++n)
            QTest::keyClick(combo, Qt::Key_Down);
        QTest::keyClick(combo, Qt::Key_Return);
        if (chosen.isEmpty()) {
            QCOMPARE(activated.count(), 0);
            return;
        }
        QCOMPARE(LineFinder::keyOf(combo->currentText()), chosen);
        QVERIFY(activated.count() >= 1);
        QCOMPARE(activated.last().first().toInt(), combo->currentIndex());

        const auto picked = open(window);
        QVERIFY(choose(customerCombo(picked.get()), combo->currentText()));
        QCOMPARE(shown(searched.get()), shown(picked.get()));
    }

    // Typed text that no entry starts with withdraws what an earlier key completed to, in every
    // window with a customer box: leaving the box chooses no customer, and the window shows
    // none, as a window just opened with that text in the box.
    void textNamingNoCustomerChoosesNone_data()
    {
        QTest::addColumn<QString>("window");
        for (const char* window : {"HelpDesk", "Payment", "CustHistory", "Customer"})
            QTest::newRow(window) << window;
    }
    void textNamingNoCustomerChoosesNone()
    {
        QFETCH(QString, window);
        ScriptedPrompter prompts;
        const auto typedIn = open(window);
        QComboBox* combo = customerCombo(typedIn.get());
        QSignalSpy activated(combo, &QComboBox::activated);
        combo->setFocus();
        QTest::keyClicks(combo, "m");
        QVERIFY(combo->currentIndex() >= 0); // completed to the first customer with an M
        QTest::keyClicks(combo, "ull");
        QTest::keyClick(combo, Qt::Key_Tab);
        QCOMPARE(combo->currentText(), "Mull"); // the M as completed
        QCOMPARE(combo->currentIndex(), -1);
        QCOMPARE(activated.last().first().toInt(), -1);

        const auto fresh = open(window);
        customerCombo(fresh.get())->setEditText(QStringLiteral("Mull"));
        QCOMPARE(shown(typedIn.get()), shown(fresh.get()));
        if (window == QLatin1String("HelpDesk")) {
            child<QPushButton>(typedIn.get(), "cmdLogCall")->click();
            QCOMPARE(prompts.lastMessage(), "Please select a Customer.");
        }
    }

    // Text that is no entry can be edited; Escape puts back what the box showed and had chosen
    // before the typing, leaving the box keeps the typed text.
    void typedTextIsEditedAndAbandoned()
    {
        QWidget window;
        auto* combo = new QComboBox(&window);
        auto* other = new QLineEdit(&window);
        combo->addItems({"AB-1 - Ann Brown", "CD-2 - Carl Dean", "EF-3 - Eve Fern"});
        combo->setCurrentIndex(-1);
        ComboAutoComplete::install(combo);
        ComboAutoComplete::findAnywhere(combo, [] {
            return QHash<QString, QString>{{"EF-3", "(555) 010-9999"}};
        });
        QVERIFY(showActive(&window));
        combo->setFocus();
        QSignalSpy activated(combo, &QComboBox::activated);
        auto* list = combo->findChild<TabbedList*>(QStringLiteral("lstFound"));
        const auto lastChoice = [&] { return activated.last().first().toInt(); };

        QTest::keyClicks(combo, "c");
        QCOMPARE(combo->currentText(), "CD-2 - Carl Dean");
        QCOMPARE(lastChoice(), 1);
        QVERIFY(!list->isVisible()); // the line completed to is the only one found
        QTest::keyClicks(combo, "x");
        QCOMPARE(combo->currentText(), "Cx");
        QCOMPARE(combo->currentIndex(), -1);
        QCOMPARE(lastChoice(), -1);
        QTest::keyClick(combo, Qt::Key_Backspace);
        QTest::keyClick(combo, Qt::Key_Backspace);
        QTest::keyClicks(combo, "rn");
        QCOMPARE(list->lines(), QStringList{"EF-3 - Eve Fern\t(555) 010-9999"});
        QTest::keyClick(combo, Qt::Key_Escape);
        QCOMPARE(combo->currentText(), QString());
        QVERIFY(!list->isVisible());

        QTest::keyClicks(combo, "9999");
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualRect(list->model()->index(0, 0)).center());
        QCOMPARE(combo->currentIndex(), 2);
        QCOMPARE(lastChoice(), 2);

        QTest::keyClick(combo, Qt::Key_Home);
        QTest::keyClicks(combo, "n");
        QCOMPARE(lastChoice(), -1);
        QTest::keyClick(combo, Qt::Key_Escape);
        QCOMPARE(combo->currentText(), "EF-3 - Eve Fern");
        QCOMPARE(lastChoice(), 2);

        for (const QString& typed : {QString("n"), QString()}) {
            combo->setFocus();
            QTest::keyClick(combo, Qt::Key_Home);
            QTest::keyClicks(combo, "n");
            if (typed.isEmpty()) // the window empties the box, as its Clear does
                combo->setEditText(typed);
            other->setFocus();
            QCOMPARE(combo->currentText(), typed);
            QCOMPARE(combo->currentIndex(), -1);
            QVERIFY(!list->isVisible());
        }

        LineFinder accents;
        accents.setLines({"MUL-8 - Jürgen Müller", "REN-9 - Renée Roy"});
        QCOMPARE(accents.find("mull"), QList<int>{0});
        QCOMPARE(accents.find("RENEE"), QList<int>{1});
    }

    // The customer history, saved from its context menu and read back.
    void everyBoxOfAWindowKeepsSingleLineText()
    {
        SingleLineText::keepInEveryBox();
        ScriptedPrompter prompts;
        const auto window = open(QStringLiteral("Customer"));
        const QList<QLineEdit*> boxes = window->findChildren<QLineEdit*>();
        QVERIFY(boxes.size() > 10);
        QGuiApplication::clipboard()->setText(QStringLiteral("a\tb\nc"));
        for (QLineEdit* box : boxes) {
            if (box->isReadOnly())
                continue;
            box->clear();
            box->paste();
            QVERIFY2(box->text() == QStringLiteral("a b c").left(box->maxLength()),
                     qPrintable(box->objectName() + QStringLiteral(": ") + box->text()));
        }
    }

    void listSavedAsCsvFromItsMenu()
    {
        ScriptedPrompter prompts;
        const QString awkward = QStringLiteral("Printer \"HP 4\", front desk\nand back room");
        QVERIFY(TicketRows::add({.number = 30, .custId = "KEN-7", .specific = awkward}));
        CustHistory window;
        QVERIFY(showActive(&window));
        QVERIFY(choose(window.combCustID, "KEN-7 - Kim Chen"));
        const QString path = m_folder->filePath("history");
        prompts.answerFile(path);
        QTimer::singleShot(0, [] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            QVERIFY(menu && menu->actions().size() == 1);
            QCOMPARE(menu->actions().first()->text(), "Save as CSV...");
            menu->actions().first()->trigger();
            menu->close();
        });
        QContextMenuEvent click(QContextMenuEvent::Mouse, {5, 5}, window.mapToGlobal(QPoint()));
        QApplication::sendEvent(window.lstHistory->viewport(), &click);

        QFile saved(path + ".csv");
        QVERIFY(saved.open(QIODevice::ReadOnly));
        const auto rows = CsvFile::parse(QString::fromUtf8(saved.readAll()));
        QCOMPARE(rows.size(), size_t(window.lstHistory->count() + 1));
        QCOMPARE(rows[0],
                 (QStringList{"Ticket #", "Call Status", "Probelm Type", "Specific Type", "Tech"}));
        QCOMPARE(rows.back(), (QStringList{"30", "Open", "Software", awkward, "JTT-1"}));
        QCOMPARE(prompts.shown().size(), 1);

        // Without headings the columns are numbered; a field a spreadsheet would run comes out
        // as text; a file that cannot be written is told.
        TabbedList plain;
        plain.setLines({"1\ta", "2\tb\tc"});
        QCOMPARE(plain.csvHeadings(), (QStringList{"Column 1", "Column 2", "Column 3"}));
        QStringList hostile, readBack;
        for (const auto& [field, readBackAs] : hostileFields()) {
            if (!field.contains(u'\t')) {
                hostile << field;
                readBack << readBackAs;
            }
        }
        plain.setLines({hostile.join(u'\t')});
        prompts.answerFile(m_folder->filePath("hostile.csv"));
        plain.saveAsCsv();
        QCOMPARE(
            CsvFile::parse(QString::fromUtf8(contentsOf(m_folder->filePath("hostile.csv")))).back(),
            readBack);
        prompts.answerFile(m_folder->filePath("missing/folder/list.csv"));
        plain.saveAsCsv();
        QVERIFY(prompts.lastMessage().startsWith("The list could not be saved in "));
    }

private:
    std::optional<TestFolder> m_folder;
};

QTEST_MAIN(TestFindAndSave)
#include "tst_findandsave.moc"
