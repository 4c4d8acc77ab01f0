#include "masterdata/customer.h"
#include "support/dbprobe.h"
#include "support/scriptedprompter.h"
#include "support/testfolder.h"
#include "support/toolbartesting.h"
#include "support/widgettesting.h"

#include <QCheckBox>
#include <QPlainTextEdit>
#include <QtTest>

using namespace WidgetTesting;
using ToolbarTesting::isShown;
using ToolbarTesting::press;

namespace {

struct Window : Customer {
    QComboBox* list = child<QComboBox>(this, "combCustID");
    QCheckBox* inactive = child<QCheckBox>(this, "chkInactive");
    QCheckBox* remove = child<QCheckBox>(this, "chkRemove");
    QPlainTextEdit* comment = child<QPlainTextEdit>(this, "txtComm");
    Window() { QVERIFY(showActive(this)); }

    QLineEdit* box(const char* name) { return child<QLineEdit>(this, name); }
    QString id() { return box("txtID")->text(); }
    /** Types the name and leaves the box with Tab, as a user does. */
    void enterName(const QString& name)
    {
        typeInto(box("Text1"), name);
        QTest::keyClick(box("Text1"), Qt::Key_Tab);
    }
    void fillDetails()
    {
        const char* boxes[] = {"Text2", "Text3", "Text4", "Text5", "Text6"};
        const QStringList texts = {"1 Elm Street", "Decatur", "il", "62521", "(217) 555-0100"};
        for (int i = 0; i < 5; ++i)
            typeInto(box(boxes[i]), texts[i]);
    }
};

/** A customer's stored fields, joined by bars. */
QString stored(const QString& id, const QString& columns)
{
    return DbProbe::value(
        "SELECT " + columns.split(',').join(" || '|' || ") + " FROM Customer WHERE CustID = ?", id);
}

} // namespace

/** The customer window: ID drawing, create, edit, the removal mode and its questions. */
class TestCustomer : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void idTrimsTheLettersItTakes()
    {
        QCOMPARE(CustomerStore::formId("z", 4), "ZZ-4");
        QCOMPARE(CustomerStore::formId("Ann ", 5), "AN-5");
        QCOMPARE(CustomerStore::formId(" Bob", 6), "OB-6");
    }

    void leavingTheNameDrawsANumberEachTime()
    {
        TestFolder folder;
        ScriptedPrompter prompts;
        QVERIFY(DbProbe::exec("UPDATE CUSTCOUNT SET CustNum = 32766"));
        Window w;
        w.enterName("John Smith");
        QCOMPARE(w.id(), "JTH-32767");
        QCOMPARE(QApplication::focusWidget(), w.box("Text2"));
        w.enterName("John Smith");
        QCOMPARE(w.id(), "JTH-32768");
        w.enterName(QString()); // an emptied name empties the ID and draws nothing
        QCOMPARE(w.id(), QString());

        // Another window taking the focus away is not a move to another box.
        typeInto(w.box("Text1"), "Al");
        QWidget other;
        QVERIFY(showActive(&other));
        QVERIFY(showActive(&w));
        QCOMPARE(DbProbe::value("SELECT CustNum FROM CUSTCOUNT"), "32768");
        QTest::keyClick(w.box("Text1"), Qt::Key_Tab);
        QCOMPARE(w.id(), "AAL-32769");
    }

    void createRefusalsKeepTheInput_data()
    {
        QTest::addColumn<QByteArray>("emptied");
        QTest::addColumn<QString>("message");
        for (const char* name : {"Text1", "Text2", "Text3", "Text4", "Text5", "Text6"})
            QTest::newRow(name) << QByteArray(name)
                                << "The Customer Name, Address, City, State, Zip and Phone must "
                                   "be filled in!";
        QTest::newRow("name never left") << QByteArray("txtID") << "No customer to Add";
        QTest::newRow("taken ID") << QByteArray() << "This customer already exists!";
    }

    void createRefusalsKeepTheInput()
    {
        QFETCH(QByteArray, emptied);
        QFETCH(QString, message);
        TestFolder folder(TestFolder::Content::Demo);
        ScriptedPrompter prompts;
        QVERIFY(DbProbe::exec("UPDATE CUSTCOUNT SET CustNum = 0"));
        Window w;
        w.enterName("Joseph Smith");
        w.fillDetails();
        if (!emptied.isEmpty())
            w.box(emptied)->clear();
        QVERIFY(press(&w, "Create"));
        QCOMPARE(prompts.messages(), {message});
        QCOMPARE(DbProbe::count("Customer"), 7);
        QCOMPARE(stored("JTH-1", "CustName"), "John Smith");
        QCOMPARE(w.box("Text1")->text(), emptied == "Text1" ? "" : "Joseph Smith");
        QCOMPARE(w.box("Text3")->text(), emptied == "Text3" ? "" : "Decatur");
    }

    void createStoresEveryFieldAndStartsAnew()
    {
        TestFolder folder;
        ScriptedPrompter prompts;
        Window w;
        w.enterName("Pat O'Brien");
        w.fillDetails();
        typeInto(w.box("Text8"), "pat@example.com");
        w.comment->setPlainText("Owes us 'one'");
        w.inactive->setChecked(true);
        QVERIFY(press(&w, "Create"));
        QCOMPARE(stored("PEN-1", "CustName,CustAdd,CustCity,CustState,CustZip,CustPhone,"
                                 "CustFax,CustEmail,Comm,Inactive,CompID,PostDate"),
                 "Pat O'Brien|1 Elm Street|Decatur|IL|62521|(217) 555-0100||pat@example.com|"
                 "Owes us 'one'|1|pmdx|" +
                     QDate::currentDate().toString(Qt::ISODate));
        QVERIFY(w.list->findText("PEN-1   Pat O'Brien") >= 0);
        QCOMPARE(w.box("Text1")->text(), QString());
        QCOMPARE(w.id(), QString());
        QVERIFY(!w.inactive->isChecked());
        QCOMPARE(QApplication::focusWidget(), w.box("Text1"));
    }

    void choosingLoadsEditRewritesClearStartsAnew()
    {
        TestFolder folder(TestFolder::Content::Demo);
        ScriptedPrompter prompts;
        QVERIFY(DbProbe::exec("UPDATE Customer SET Comm = NULL WHERE CustID = ?", "MIA-2"));
        Window w;
        QCOMPARE(w.list->itemText(0), "AES-3   Allen Dental Associates");
        QVERIFY(choose(w.list, "DSS-6   David Ross"));
        QVERIFY(isShown(&w, "Edit") && !isShown(&w, "Create"));
        QCOMPARE(w.id(), "DSS-6");
        QCOMPARE(w.box("Text3")->text(), "Sherman");
        QVERIFY(w.inactive->isChecked());
        QCOMPARE(w.comment->toPlainText(), "Moved away; account closed.");

        w.enterName("David Rossi"); // an existing customer keeps his ID
        QCOMPARE(w.id(), "DSS-6");
        w.inactive->setChecked(false);
        QVERIFY(press(&w, "Edit"));
        const QString postDate = QDate::currentDate().addDays(-200).toString(Qt::ISODate);
        QCOMPARE(stored("DSS-6", "CustName,Inactive,PostDate"), "David Rossi|0|" + postDate);
        QVERIFY(isShown(&w, "Create"));
        QCOMPARE(w.box("Text1")->text(), QString());

        // A null comment loads as an empty box, not as the comment shown before.
        QVERIFY(choose(w.list, "JTH-1   John Smith"));
        QVERIFY(choose(w.list, "MIA-2   Maria Garcia"));
        QCOMPARE(w.comment->toPlainText(), QString());
        QVERIFY(press(&w, "Clear"));
        QVERIFY(isShown(&w, "Create"));
        w.enterName("Eve Stone");
        QCOMPARE(w.id(), "ENE-8");

        // An edit of a customer removed meanwhile is refused and keeps what was typed.
        QVERIFY(choose(w.list, "BEY-4   Brenda Bradley"));
        QVERIFY(DbProbe::exec("DELETE FROM Customer WHERE CustID = 'BEY-4'"));
        typeInto(w.box("Text2"), "6 Cherry Lane");
        QVERIFY(press(&w, "Edit"));
        QCOMPARE(prompts.messages(), {"No record found"});
        QCOMPARE(w.box("Text2")->text(), "6 Cherry Lane");
        QVERIFY(isShown(&w, "Edit"));
    }

    void removals_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QByteArray>("key");
        QTest::addColumn<bool>("paid");
        QTest::addColumn<QList<bool>>("answers");
        QTest::addColumn<QStringList>("shown");
        const QString ask = "Are you sure you want to remove this customer from the Database?";
        const QString open = "This customer still had open invoices. Do you still want to remove "
                             "this customer?";
        const QString done = "Customer has beed deleted from database";
        const QString maria = "MIA-2   Maria Garcia", allen = "AES-3   Allen Dental Associates";
        auto row = [](const char* name, const QString& line, const char* key, bool paid,
                      QList<bool> answers, QStringList shown) {
            QTest::newRow(name) << line << QByteArray(key) << paid << answers << shown;
        };
        row("nothing chosen", {}, "Create", false, {}, {"No customer has been chosen."});
        row("answered no", maria, "Edit", false, {false}, {ask, "Deletion has been cancelled"});
        row("yes, with Edit", maria, "Edit", false, {}, {ask, done});
        row("yes, with Clear", maria, "Clear", false, {}, {ask, done});
        row("open invoices, no", allen, "Edit", false, {true, false}, {ask, open});
        row("open invoices, yes", allen, "Edit", false, {}, {ask, open, done});
        row("paid invoices", allen, "Edit", true, {}, {ask, done});
    }

    void removals()
    {
        QFETCH(QString, line);
        QFETCH(QByteArray, key);
        QFETCH(bool, paid);
        QFETCH(QList<bool>, answers);
        QFETCH(QStringList, shown);
        TestFolder folder(TestFolder::Content::Demo);
        ScriptedPrompter prompts;
        if (paid)
            QVERIFY(DbProbe::exec("UPDATE ARInvoice SET InvPaid = 1"));
        for (bool answer : answers)
            prompts.answerConfirm(answer);
        const qint64 invoices = DbProbe::count("ARInvoice");
        Window w;
        if (!line.isEmpty())
            QVERIFY(choose(w.list, line));
        w.remove->setChecked(true);
        QVERIFY(press(&w, key.constData()));

        QCOMPARE(prompts.allTexts(), shown);
        const bool removed = shown.endsWith("Customer has beed deleted from database");
        QCOMPARE(DbProbe::count("Customer"), removed ? 6 : 7);
        QCOMPARE(DbProbe::count("ARInvoice"), invoices); // only the customer row goes
        QCOMPARE(w.remove->isChecked(), !removed);
        QCOMPARE(w.list->count(), removed ? 6 : 7);
        QCOMPARE(w.box("Text1")->text().isEmpty(), removed || line.isEmpty());
    }
};

QTEST_MAIN(TestCustomer)
#include "tst_customer.moc"
