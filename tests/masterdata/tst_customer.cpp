#include "masterdata/customer.h"
#include "masterdata/masterdatatesting.h"
#include "support/toolbartesting.h"

#include <QCheckBox>
#include <QPlainTextEdit>

using namespace MasterDataTesting;
using namespace WidgetTesting;
using ToolbarTesting::isShown;
using ToolbarTesting::press;

namespace {

/** A removal: the line chosen, the button, whether the invoices are paid, the answers. */
struct Removal {
    const char *line, *key;
    bool paid;
    QList<bool> answers;
    QStringList shown;
};

struct Window : Shown<Customer> {
    using Shown::Shown;
    QComboBox* list = child<QComboBox>(this, "combCustID");
    QCheckBox* inactive = child<QCheckBox>(this, "chkInactive");
    QCheckBox* remove = child<QCheckBox>(this, "chkRemove");
    QPlainTextEdit* comment = child<QPlainTextEdit>(this, "txtComm");

    QLineEdit* box(const char* name) { return child<QLineEdit>(this, name); }
    QString id() { return box("txtID")->text(); }
    /** Types the name and leaves the box with Tab, as a user does; then the other details. */
    void enterName(const QString& name, bool details = false)
    {
        typeInto(box("Text1"), name);
        QTest::keyClick(box("Text1"), Qt::Key_Tab);
        const QStringList texts = {"1 Elm Street", "Decatur", "il", "62521", "(217) 555-0100"};
        for (int i = 0; details && i < 5; ++i)
            typeInto(box("Text" + QByteArray::number(i + 2)), texts[i]);
    }
};

QString stored(const char* id, const QString& columns)
{
    return MasterDataTesting::stored("Customer", columns, "CustID = '" + QString(id) + "'");
}

} // namespace

Q_DECLARE_METATYPE(Removal)

/** The customer window: ID drawing, create, edit, the removal mode and its questions. */
class TestCustomer : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void leavingTheNameDrawsANumberEachTime()
    {
        Window w(TestFolder::Content::Starting,
                 QStringList{"UPDATE CUSTCOUNT SET CustNum = 32767"});
        w.enterName("John Smith");
        QCOMPARE(w.id(), "JTH-32768");
        w.enterName(""); // an emptied name empties the ID and draws nothing
        QCOMPARE(w.id(), QString());
        // Another window taking the focus away is not a move to another box.
        typeInto(w.box("Text1"), " Al");
        QWidget other;
        QVERIFY(showActive(&other) && showActive(&w));
        QTest::keyClick(w.box("Text1"), Qt::Key_Tab);
        QCOMPARE(w.id(), "AL-32769"); // the letters are taken without blanks
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
        Window w(TestFolder::Content::Demo, QStringList{"UPDATE CUSTCOUNT SET CustNum = 0"});
        w.enterName("Joseph Smith", true);
        if (!emptied.isEmpty())
            w.box(emptied)->clear();
        QVERIFY(press(&w, "Create"));
        QCOMPARE(w.prompts.messages(), {message});
        QCOMPARE(DbProbe::count("Customer"), 7);
        QCOMPARE(stored("JTH-1", "CustName"), "John Smith");
        QCOMPARE(w.box("Text1")->text(), emptied == "Text1" ? "" : "Joseph Smith");
    }

    void createChooseAndEditRoundTrip()
    {
        Window w(TestFolder::Content::Demo,
                 QStringList{"UPDATE Customer SET Comm = NULL WHERE CustID = 'MIA-2'"});
        w.enterName("Pat O'Brien", true);
        typeInto(w.box("Text8"), "pat@example.com");
        w.comment->setPlainText("Owes us 'one'");
        w.inactive->setChecked(true);
        QVERIFY(press(&w, "Create"));
        const QString columns = "CustName,CustAdd,CustCity,CustState,CustZip,CustPhone,CustFax,"
                                "CustEmail,Comm,Inactive,CompID,PostDate";
        QCOMPARE(stored("PEN-8", columns),
                 "Pat O'Brien|1 Elm Street|Decatur|IL|62521|(217) 555-0100||pat@example.com|"
                 "Owes us 'one'|1|pmdx|" +
                     QDate::currentDate().toString(Qt::ISODate));
        QVERIFY(w.id().isEmpty() && !w.inactive->isChecked());
        // The list is sorted without regard to case; a null comment loads as an empty box.
        QVERIFY(DbProbe::exec("UPDATE Customer SET PostDate = '2001-02-03'"));
        QCOMPARE(w.list->itemText(0), "AES-3   Allen Dental Associates");
        QVERIFY(choose(w.list, "PEN-8   Pat O'Brien"));
        QVERIFY(choose(w.list, "MIA-2   Maria Garcia"));
        QCOMPARE(w.comment->toPlainText(), QString());
        QVERIFY(choose(w.list, "PEN-8   Pat O'Brien"));
        QCOMPARE(w.comment->toPlainText(), "Owes us 'one'");
        QVERIFY(w.inactive->isChecked());
        w.enterName("Pat Brien"); // an existing customer keeps the ID
        QCOMPARE(w.id(), "PEN-8");
        w.inactive->setChecked(false);
        QVERIFY(press(&w, "Edit"));
        QCOMPARE(stored("PEN-8", "CustName,CustCity,Inactive,PostDate"),
                 "Pat Brien|Decatur|0|2001-02-03");
        // An edit of a customer removed meanwhile is refused and keeps what was typed.
        QVERIFY(choose(w.list, "BEY-4   Brenda Bradley"));
        QVERIFY(DbProbe::exec("DELETE FROM Customer WHERE CustID = 'BEY-4'"));
        typeInto(w.box("Text2"), "6 Cherry Lane");
        QVERIFY(press(&w, "Edit"));
        QCOMPARE(w.prompts.messages(), {"No record found"});
        QCOMPARE(w.box("Text2")->text(), "6 Cherry Lane");
        QVERIFY(isShown(&w, "Edit"));
    }

    void removals_data()
    {
        QTest::addColumn<Removal>("r");
        const QString ask = "Are you sure you want to remove this customer from the Database?";
        const QString open = "This customer still had open invoices. Do you still want to remove "
                             "this customer?";
        const QString done = "Customer has beed deleted from database";
        const char *maria = "MIA-2   Maria Garcia", *allen = "AES-3   Allen Dental Associates";
        auto row = [](const char* name, const Removal& r) { QTest::newRow(name) << r; };
        row("nothing chosen", {"", "Create", false, {}, {"No customer has been chosen."}});
        row("answered no", {maria, "Edit", false, {false}, {ask, "Deletion has been cancelled"}});
        row("yes", {maria, "Edit", false, {}, {ask, done}});
        row("open invoices, no", {allen, "Edit", false, {true, false}, {ask, open}});
        row("open invoices, yes", {allen, "Edit", false, {}, {ask, open, done}});
        row("paid invoices, with Clear", {allen, "Clear", true, {}, {ask, done}});
    }

    void removals()
    {
        QFETCH(Removal, r);
        Window w(TestFolder::Content::Demo,
                 r.paid ? QStringList{"UPDATE ARInvoice SET InvPaid = 1"} : QStringList{});
        for (bool answer : r.answers)
            w.prompts.answerConfirm(answer);
        const qint64 invoices = DbProbe::count("ARInvoice");
        if (*r.line)
            QVERIFY(choose(w.list, r.line));
        w.remove->setChecked(true);
        QVERIFY(press(&w, r.key));
        QCOMPARE(w.prompts.allTexts(), r.shown);
        const bool removed = r.shown.endsWith("Customer has beed deleted from database");
        QCOMPARE(DbProbe::count("Customer"), removed ? 6 : 7);
        QCOMPARE(DbProbe::count("ARInvoice"), invoices); // only the customer row goes
        QCOMPARE(w.remove->isChecked(), !removed);
        QCOMPARE(w.list->count(), removed ? 6 : 7);
        QCOMPARE(w.box("Text1")->text().isEmpty(), removed || !*r.line);
    }

    // A customer cleared from the window is no longer the one a removal takes.
    void clearedCustomerIsNotRemoved()
    {
        Window w(TestFolder::Content::Demo);
        QVERIFY(choose(w.list, "MIA-2   Maria Garcia"));
        QVERIFY(press(&w, "Clear"));
        w.remove->setChecked(true);
        QVERIFY(press(&w, "Create"));
        QCOMPARE(w.prompts.allTexts(), QStringList{"No customer has been chosen."});
        QCOMPARE(DbProbe::count("Customer"), 7);
    }
};

QTEST_MAIN(TestCustomer)
#include "tst_customer.moc"
