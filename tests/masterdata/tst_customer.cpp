#include "data/database.h"
#include "masterdata/customer.h"
#include "masterdata/customerstore.h"
#include "support/scriptedprompter.h"
#include "support/testfolder.h"
#include "support/toolbartesting.h"
#include "support/widgettesting.h"

#include <QCheckBox>
#include <QPlainTextEdit>
#include <QtTest>
#include <memory>

using namespace WidgetTesting;
using ToolbarTesting::isShown;
using ToolbarTesting::press;

namespace {

const QString RequiredMessage =
    QStringLiteral("The Customer Name, Address, City, State, Zip and Phone must be filled in!");

qint64 custCount()
{
    Database db;
    Query q = db.query(QStringLiteral("SELECT CustNum FROM CUSTCOUNT"));
    return q.next() ? q.integer(0) : -1;
}

void setCustCount(qint64 n)
{
    Database db;
    QVERIFY(db.exec(QStringLiteral("UPDATE CUSTCOUNT SET CustNum = ?"), n));
}

int customerRows(const QString& id)
{
    Database db;
    Query q = db.query(QStringLiteral("SELECT COUNT(*) FROM Customer WHERE CustID = ?"), id);
    return q.next() ? int(q.integer(0)) : -1;
}

QLineEdit* box(QWidget* w, const char* name)
{
    return child<QLineEdit>(w, name);
}

/** Types the name and leaves the box with Tab, as a user does. */
void enterName(QWidget* w, const QString& name)
{
    typeInto(box(w, "Text1"), name);
    QTest::keyClick(box(w, "Text1"), Qt::Key_Tab);
}

void fillDetails(QWidget* w)
{
    typeInto(box(w, "Text2"), QStringLiteral("1 Elm Street"));
    typeInto(box(w, "Text3"), QStringLiteral("Decatur"));
    typeInto(box(w, "Text4"), QStringLiteral("il"));
    typeInto(box(w, "Text5"), QStringLiteral("62521"));
    typeInto(box(w, "Text6"), QStringLiteral("(217) 555-0100"));
}

std::unique_ptr<Customer> openWindow()
{
    auto window = std::make_unique<Customer>();
    if (!showActive(window.get()))
        qWarning("The customer window did not become active");
    return window;
}

} // namespace

/** The customer window: ID drawing, create, edit, the removal mode and its questions. */
class TestCustomer : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void idFromName_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<qint64>("number");
        QTest::addColumn<QString>("id");
        QTest::newRow("first and last two") << "John Smith" << 12LL << "JTH-12";
        QTest::newRow("two letters") << "Al" << 3LL << "AAL-3";
        QTest::newRow("one letter") << "z" << 4LL << "ZZ-4";
        QTest::newRow("trailing blank") << "Ann " << 5LL << "AN-5";
        QTest::newRow("leading blank") << " Bob" << 6LL << "OB-6";
        QTest::newRow("apostrophe") << "Pat O'" << 7LL << "PO'-7";
        QTest::newRow("past 16 bits") << "Kim Chen" << 40000LL << "KEN-40000";
    }

    void idFromName()
    {
        QFETCH(QString, name);
        QFETCH(qint64, number);
        QFETCH(QString, id);
        QCOMPARE(CustomerStore::formId(name, number), id);
    }

    void leavingTheNameDrawsANumberEachTime()
    {
        TestFolder folder;
        ScriptedPrompter prompts;
        auto w = openWindow();
        QVERIFY(isShown(w.get(), "Create"));
        QVERIFY(!isShown(w.get(), "Edit"));
        QCOMPARE(box(w.get(), "txtPostDate")->text(), QDate::currentDate().toString("MM/dd/yy"));

        enterName(w.get(), QStringLiteral("John Smith"));
        QCOMPARE(box(w.get(), "txtID")->text(), QStringLiteral("JTH-1"));
        QCOMPARE(QApplication::focusWidget(), box(w.get(), "Text2"));
        enterName(w.get(), QStringLiteral("John Smith"));
        enterName(w.get(), QStringLiteral("John Smith"));
        QCOMPARE(box(w.get(), "txtID")->text(), QStringLiteral("JTH-3"));
        QCOMPARE(custCount(), 3);

        // An emptied name empties the ID and draws nothing.
        enterName(w.get(), QString());
        QCOMPARE(box(w.get(), "txtID")->text(), QString());
        QCOMPARE(custCount(), 3);

        // Another window taking the focus away is not a move to another box.
        typeInto(box(w.get(), "Text1"), QStringLiteral("Al"));
        QWidget other;
        QVERIFY(showActive(&other));
        QVERIFY(showActive(w.get()));
        QCOMPARE(QApplication::focusWidget(), box(w.get(), "Text1"));
        QCOMPARE(custCount(), 3);
        QTest::keyClick(box(w.get(), "Text1"), Qt::Key_Tab);
        QCOMPARE(box(w.get(), "txtID")->text(), QStringLiteral("AAL-4"));
        QVERIFY(prompts.allTexts().isEmpty());
    }

    void counterHasNo16BitCeiling()
    {
        TestFolder folder;
        ScriptedPrompter prompts;
        setCustCount(32767);
        auto w = openWindow();
        enterName(w.get(), QStringLiteral("Zed"));
        QCOMPARE(box(w.get(), "txtID")->text(), QStringLiteral("ZED-32768"));
        QCOMPARE(custCount(), 32768);
    }

    void createChecksRequiredFieldsInOrder_data()
    {
        QTest::addColumn<QString>("emptied");
        for (const char* name : {"Text1", "Text2", "Text3", "Text4", "Text5", "Text6"})
            QTest::newRow(name) << name;
    }

    void createChecksRequiredFieldsInOrder()
    {
        QFETCH(QString, emptied);
        TestFolder folder;
        ScriptedPrompter prompts;
        auto w = openWindow();
        enterName(w.get(), QStringLiteral("Ann Lee"));
        fillDetails(w.get());
        typeInto(box(w.get(), emptied.toLatin1().constData()), QString());
        QVERIFY(press(w.get(), "Create"));

        QCOMPARE(prompts.messages(), QStringList{RequiredMessage});
        QCOMPARE(customerRows(QStringLiteral("AEE-1")), 0);
        QCOMPARE(box(w.get(), "txtID")->text(), QStringLiteral("AEE-1"));
        if (emptied != QLatin1String("Text2"))
            QCOMPARE(box(w.get(), "Text2")->text(), QStringLiteral("1 Elm Street"));
    }

    void createWithoutLeavingTheNameHasNoId()
    {
        TestFolder folder;
        ScriptedPrompter prompts;
        auto w = openWindow();
        fillDetails(w.get());
        typeInto(box(w.get(), "Text1"), QStringLiteral("Ann Lee"));
        QVERIFY(press(w.get(), "Create"));

        QCOMPARE(prompts.messages(), QStringList{QStringLiteral("No customer to Add")});
        QCOMPARE(box(w.get(), "Text1")->text(), QStringLiteral("Ann Lee"));
        QCOMPARE(custCount(), 0);
        Database db;
        Query q = db.query(QStringLiteral("SELECT COUNT(*) FROM Customer"));
        QVERIFY(q.next());
        QCOMPARE(q.integer(0), 0);
    }

    void createStoresEveryFieldAndStartsAnew()
    {
        TestFolder folder;
        ScriptedPrompter prompts;
        auto w = openWindow();
        enterName(w.get(), QStringLiteral("Pat O'Brien"));
        fillDetails(w.get());
        typeInto(box(w.get(), "Text8"), QStringLiteral("pat@example.com"));
        child<QPlainTextEdit>(w.get(), "txtComm")->setPlainText(QStringLiteral("Owes us 'one'"));
        child<QCheckBox>(w.get(), "chkInactive")->setChecked(true);
        QCOMPARE(box(w.get(), "Text4")->text(), QStringLiteral("IL"));
        QVERIFY(press(w.get(), "Create"));
        QVERIFY(prompts.allTexts().isEmpty());

        Database db;
        const auto stored = CustomerStore::load(QStringLiteral("PEN-1"));
        QVERIFY(stored);
        QCOMPARE(stored->name, QStringLiteral("Pat O'Brien"));
        QCOMPARE(stored->state, QStringLiteral("IL"));
        QCOMPARE(stored->comment, QStringLiteral("Owes us 'one'"));
        QCOMPARE(stored->fax, QString());
        QVERIFY(stored->inactive);
        QCOMPARE(stored->postDate, QDate::currentDate());
        Query company = db.query(QStringLiteral("SELECT CompID, CustFax IS NULL FROM Customer"));
        QVERIFY(company.next());
        QCOMPARE(company.text(0), QStringLiteral("pmdx"));
        QCOMPARE(company.integer(1), 0);

        auto* list = child<QComboBox>(w.get(), "combCustID");
        QVERIFY(list->findText(QStringLiteral("PEN-1   Pat O'Brien")) >= 0);
        QCOMPARE(box(w.get(), "Text1")->text(), QString());
        QCOMPARE(box(w.get(), "txtID")->text(), QString());
        QVERIFY(!child<QCheckBox>(w.get(), "chkInactive")->isChecked());
        QCOMPARE(QApplication::focusWidget(), box(w.get(), "Text1"));
        QVERIFY(isShown(w.get(), "Create"));
    }

    void takenIdIsRefusedAndTheInputKept()
    {
        TestFolder folder(TestFolder::Content::Demo);
        ScriptedPrompter prompts;
        setCustCount(0);
        auto w = openWindow();
        enterName(w.get(), QStringLiteral("Joseph Smith"));
        fillDetails(w.get());
        QCOMPARE(box(w.get(), "txtID")->text(), QStringLiteral("JTH-1"));
        QVERIFY(press(w.get(), "Create"));

        QCOMPARE(prompts.messages(), QStringList{QStringLiteral("This customer already exists!")});
        QCOMPARE(box(w.get(), "Text1")->text(), QStringLiteral("Joseph Smith"));
        Database db;
        QCOMPARE(CustomerStore::load(QStringLiteral("JTH-1"))->name,
                 QStringLiteral("John Smith"));
    }

    void choosingLoadsAndEditRewrites()
    {
        TestFolder folder(TestFolder::Content::Demo);
        ScriptedPrompter prompts;
        auto w = openWindow();
        auto* list = child<QComboBox>(w.get(), "combCustID");
        QCOMPARE(list->count(), 7);
        QCOMPARE(list->itemText(0), QStringLiteral("AES-3   Allen Dental Associates"));
        QVERIFY(choose(list, QStringLiteral("DSS-6   David Ross")));

        QCOMPARE(w->currentCustomerId(), QStringLiteral("DSS-6"));
        QVERIFY(isShown(w.get(), "Edit"));
        QVERIFY(!isShown(w.get(), "Create"));
        QCOMPARE(box(w.get(), "txtID")->text(), QStringLiteral("DSS-6"));
        QCOMPARE(box(w.get(), "Text3")->text(), QStringLiteral("Sherman"));
        QVERIFY(child<QCheckBox>(w.get(), "chkInactive")->isChecked());
        QCOMPARE(child<QPlainTextEdit>(w.get(), "txtComm")->toPlainText(),
                 QStringLiteral("Moved away; account closed."));

        // The existing customer keeps his ID when the name is changed.
        enterName(w.get(), QStringLiteral("David Rossi"));
        QCOMPARE(box(w.get(), "txtID")->text(), QStringLiteral("DSS-6"));
        QCOMPARE(custCount(), 7);
        child<QCheckBox>(w.get(), "chkInactive")->setChecked(false);
        QVERIFY(press(w.get(), "Edit"));

        QVERIFY(prompts.allTexts().isEmpty());
        Database db;
        const auto stored = CustomerStore::load(QStringLiteral("DSS-6"));
        QCOMPARE(stored->name, QStringLiteral("David Rossi"));
        QVERIFY(!stored->inactive);
        QCOMPARE(stored->postDate, QDate::currentDate().addDays(-200));
        QVERIFY(isShown(w.get(), "Create"));
        QCOMPARE(box(w.get(), "Text1")->text(), QString());

        // Back in the new-customer state a name draws an ID again.
        enterName(w.get(), QStringLiteral("Eve Stone"));
        QCOMPARE(box(w.get(), "txtID")->text(), QStringLiteral("ENE-8"));
    }

    void clearAfterChoosingStartsANewCustomer()
    {
        TestFolder folder(TestFolder::Content::Demo);
        ScriptedPrompter prompts;
        auto w = openWindow();
        QVERIFY(choose(child<QComboBox>(w.get(), "combCustID"), "KEN-7   Kim Chen"));
        QVERIFY(press(w.get(), "Clear"));
        QCOMPARE(box(w.get(), "Text2")->text(), QString());
        QVERIFY(isShown(w.get(), "Create"));
        enterName(w.get(), QStringLiteral("Kim Chen"));
        QCOMPARE(box(w.get(), "txtID")->text(), QStringLiteral("KEN-8"));
    }

    void nullCommentLoadsEmpty()
    {
        TestFolder folder(TestFolder::Content::Demo);
        ScriptedPrompter prompts;
        {
            Database db;
            QVERIFY(db.exec(QStringLiteral("UPDATE Customer SET Comm = NULL WHERE CustID = ?"),
                            QStringLiteral("MIA-2")));
        }
        auto w = openWindow();
        auto* list = child<QComboBox>(w.get(), "combCustID");
        QVERIFY(choose(list, "JTH-1   John Smith"));
        QVERIFY(choose(list, "MIA-2   Maria Garcia"));
        QCOMPARE(child<QPlainTextEdit>(w.get(), "txtComm")->toPlainText(), QString());
        QCOMPARE(box(w.get(), "Text1")->text(), QStringLiteral("Maria Garcia"));
    }

    void editOfAVanishedCustomerKeepsTheInput()
    {
        TestFolder folder(TestFolder::Content::Demo);
        ScriptedPrompter prompts;
        auto w = openWindow();
        QVERIFY(choose(child<QComboBox>(w.get(), "combCustID"), "BEY-4   Brenda Bradley"));
        {
            Database db;
            QVERIFY(db.exec(QStringLiteral("DELETE FROM Customer WHERE CustID = 'BEY-4'")));
        }
        typeInto(box(w.get(), "Text2"), QStringLiteral("6 Cherry Lane"));
        QVERIFY(press(w.get(), "Edit"));
        QCOMPARE(prompts.messages(), QStringList{QStringLiteral("No record found")});
        QCOMPARE(box(w.get(), "Text2")->text(), QStringLiteral("6 Cherry Lane"));
        QVERIFY(isShown(w.get(), "Edit"));
    }

    void removeModeRemovesWithAnyButton_data()
    {
        QTest::addColumn<QByteArray>("key");
        QTest::newRow("Edit") << QByteArray("Edit");
        QTest::newRow("Clear") << QByteArray("Clear");
    }

    void removeModeRemovesWithAnyButton()
    {
        QFETCH(QByteArray, key);
        TestFolder folder(TestFolder::Content::Demo);
        ScriptedPrompter prompts;
        auto w = openWindow();
        auto* list = child<QComboBox>(w.get(), "combCustID");
        auto* remove = child<QCheckBox>(w.get(), "chkRemove");
        QVERIFY(choose(list, "MIA-2   Maria Garcia"));
        remove->setChecked(true);

        prompts.answerConfirm(false);
        QVERIFY(press(w.get(), key.constData()));
        QCOMPARE(prompts.allTexts(),
                 (QStringList{"Are you sure you want to remove this customer from the Database?",
                              "Deletion has been cancelled"}));
        QCOMPARE(customerRows(QStringLiteral("MIA-2")), 1);
        QVERIFY(remove->isChecked());
        QCOMPARE(box(w.get(), "Text1")->text(), QStringLiteral("Maria Garcia"));

        prompts.clear();
        QVERIFY(press(w.get(), key.constData()));
        QCOMPARE(prompts.messages(),
                 QStringList{QStringLiteral("Customer has beed deleted from database")});
        QCOMPARE(customerRows(QStringLiteral("MIA-2")), 0);
        QVERIFY(!remove->isChecked());
        QCOMPARE(list->findText(QStringLiteral("MIA-2   Maria Garcia")), -1);
        QCOMPARE(list->count(), 6);
        QCOMPARE(box(w.get(), "Text1")->text(), QString());
        QVERIFY(isShown(w.get(), "Create"));
    }

    void removalWithNothingChosenRemovesNothing()
    {
        TestFolder folder(TestFolder::Content::Demo);
        ScriptedPrompter prompts;
        auto w = openWindow();
        child<QCheckBox>(w.get(), "chkRemove")->setChecked(true);
        QVERIFY(press(w.get(), "Create"));
        QCOMPARE(prompts.allTexts(), QStringList{QStringLiteral("No customer has been chosen.")});
        Database db;
        Query q = db.query(QStringLiteral("SELECT COUNT(*) FROM Customer"));
        QVERIFY(q.next());
        QCOMPARE(q.integer(0), 7);
        QVERIFY(child<QCheckBox>(w.get(), "chkRemove")->isChecked());
    }

    void openInvoicesAskBeforeRemoval()
    {
        TestFolder folder(TestFolder::Content::Demo);
        ScriptedPrompter prompts;
        auto w = openWindow();
        QVERIFY(choose(child<QComboBox>(w.get(), "combCustID"), "AES-3   Allen Dental Associates"));
        child<QCheckBox>(w.get(), "chkRemove")->setChecked(true);
        const QString openQuestion = QStringLiteral(
            "This customer still had open invoices. Do you still want to remove this customer?");

        prompts.answerConfirm(true);
        prompts.answerConfirm(false);
        QVERIFY(press(w.get(), "Edit"));
        QCOMPARE(prompts.allTexts().last(), openQuestion);
        QVERIFY(prompts.messages().isEmpty());
        QCOMPARE(customerRows(QStringLiteral("AES-3")), 1);

        prompts.clear();
        QVERIFY(press(w.get(), "Edit"));
        QCOMPARE(prompts.allTexts().size(), 3);
        QCOMPARE(prompts.allTexts().at(1), openQuestion);
        QCOMPARE(customerRows(QStringLiteral("AES-3")), 0);
        // Only the customer row goes; the invoice stays.
        Database db;
        Query q = db.query(QStringLiteral("SELECT COUNT(*) FROM ARInvoice WHERE CustID = 'AES-3'"));
        QVERIFY(q.next());
        QCOMPARE(q.integer(0), 1);
    }

    void paidInvoicesDoNotAsk()
    {
        TestFolder folder(TestFolder::Content::Demo);
        ScriptedPrompter prompts;
        {
            Database db;
            QVERIFY(db.exec(QStringLiteral("UPDATE ARInvoice SET InvPaid = 1")));
        }
        auto w = openWindow();
        QVERIFY(choose(child<QComboBox>(w.get(), "combCustID"), "AES-3   Allen Dental Associates"));
        child<QCheckBox>(w.get(), "chkRemove")->setChecked(true);
        QVERIFY(press(w.get(), "Edit"));
        QCOMPARE(prompts.allTexts(),
                 (QStringList{"Are you sure you want to remove this customer from the Database?",
                              "Customer has beed deleted from database"}));
        QCOMPARE(customerRows(QStringLiteral("AES-3")), 0);
    }
};

QTEST_MAIN(TestCustomer)
#include "tst_customer.moc"
