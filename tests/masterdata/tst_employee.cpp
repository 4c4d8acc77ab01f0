#include "data/passwords.h"
#include "data/schema.h"
#include "masterdata/employee.h"
#include "masterdata/employeeaccesspage.h"
#include "masterdata/masterdatatesting.h"
#include "support/dbprobe.h"
#include "support/scriptedprompter.h"
#include "support/testfolder.h"

#include <QCheckBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

using namespace WidgetTesting;
using MasterDataTesting::chooseKey;

namespace {

const QString BadDate = "Please enter a valid date, mm/dd/yy format.";

/** Access flags as a row of 0 and 1, in column order, with the given ones set. */
QString flags(const QList<int>& set)
{
    QString bits(EmployeeAccessPage::FlagCount, '0');
    for (int i : set)
        bits[i] = '1';
    return bits;
}
const QString Technician = flags({13, 16, 17, 19, 22});

/** The Employee window shown and active, with the controls of both pages. */
struct Window : Employee {
    QComboBox* list = child<QComboBox>(this, "combEmpID");
    QCheckBox* remove = child<QCheckBox>(this, "chkRemove");
    QComboBox* accessList = child<QComboBox>(this, "combEmpAccess");
    QLineEdit* password = child<QLineEdit>(this, "txtPwd");
    Window() { QVERIFY(showActive(this)); }

    QLineEdit* box(int i) { return child<QLineEdit>(this, "Text1_" + QByteArray::number(i)); }
    QCheckBox* check(int i) { return child<QCheckBox>(this, "Check_" + QByteArray::number(i)); }
    QString id() { return box(13)->text(); }
    void click(const char* button) { child<QPushButton>(this, button)->click(); }
    bool shown(const char* button) { return !child<QPushButton>(this, button)->isHidden(); }
    /** Types first name, last name and middle initial, and leaves the initial's box. */
    void typeName(const QString& first, const QString& middle, const QString& last)
    {
        typeInto(box(0), first);
        typeInto(box(1), last);
        typeInto(box(2), middle);
        box(3)->setFocus();
    }
    void typeEmployee()
    {
        typeName("Sean", "p", "O'Neil");
        const QStringList rest = {"12 O'Hare Lane", "Springfield",    "IL",
                                  "62704",          "(217) 555-0199", "a@b.example",
                                  "321-54-9876",    "07/04/90",       "02/01/24"};
        for (int i = 0; i < rest.size(); ++i)
            typeInto(box(3 + i), rest[i]);
        child<QPlainTextEdit>(this, "Text1_12")->setPlainText("Bench");
        child<QRadioButton>(this, "optFemale")->setChecked(true);
    }
    QString ticked()
    {
        QString bits;
        for (int i = 0; i < EmployeeAccessPage::FlagCount; ++i)
            bits += check(i)->isChecked() ? '1' : '0';
        return bits;
    }
};

QString stored(const QString& table, const QString& empId, const QStringList& columns)
{
    return DbProbe::value(
        "SELECT " + columns.join(" || '|' || ") + " FROM " + table + " WHERE EmpID = ?", empId);
}

QString storedHash(const QString& empId)
{
    return DbProbe::value("SELECT Pwd FROM Login WHERE EmpID = ? AND UserName = ?", empId, empId);
}

} // namespace

/** The Employee window: employee records on the setup page, logins and rights on the access
 *  page. */
class TestEmployee : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void leavingMiddleInitialDrawsTheId()
    {
        TestFolder folder(TestFolder::Content::Demo);
        ScriptedPrompter prompts;
        QVERIFY(DbProbe::exec("UPDATE EmployeeCount SET EmpNum = 32766"));
        Window w;
        w.typeName("john", "q", "public");
        QCOMPARE(w.id(), "JQP-32767");
        QCOMPARE(w.box(2)->text(), "Q");
        QCOMPARE(w.list->currentText(), "JQP-32767");
        w.typeName("john", QString(), "public");
        QCOMPARE(w.id(), "JP-32768");
        w.typeName("john", " ", "public");
        QCOMPARE(w.id(), "JP-32769");

        // No first name, or an employee chosen from the list: no number is drawn.
        w.typeName(QString(), "x", "public");
        QVERIFY(chooseKey(w.list, "RP-3"));
        w.typeName("Rob", "x", "Price");
        QCOMPARE(w.id(), "RP-3");
        QCOMPARE(DbProbe::value("SELECT EmpNum FROM EmployeeCount"), "32769");
    }

    void boxesAreCheckedWhenLeft_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("left");
        QTest::addColumn<QString>("message");
        const QString ssn = "Please you the 000-00-0000 format";
        auto row = [](const char* name, int index, const char* typed, const char* left,
                      const QString& message) {
            QTest::newRow(name) << index << QString(typed) << QString(left) << message;
        };
        row("nine digits", 9, "123456789", "123-45-6789", {});
        row("formatted ssn", 9, "123-45-6789", "123-45-6789", {});
        row("short ssn", 9, "12345", "12345", ssn);
        row("six digits", 10, "010203", "01/02/03", {});
        row("short date", 11, "1/2/03", "1/2/03", {});
        row("six digits, no date", 11, "123456", "12/34/56", BadDate);
        row("words", 11, "soon", "soon", BadDate);
        row("empty date", 10, "", "", {});
        row("state", 5, "il", "IL", {});
    }

    void boxesAreCheckedWhenLeft()
    {
        QFETCH(int, index);
        QFETCH(QString, typed);
        QFETCH(QString, left);
        QFETCH(QString, message);
        TestFolder folder(TestFolder::Content::Demo);
        ScriptedPrompter prompts;
        Window w;
        typeInto(w.box(index), typed);
        w.box(0)->setFocus();
        QCOMPARE(w.box(index)->text(), left);
        QCOMPARE(prompts.messages(), message.isEmpty() ? QStringList() : QStringList{message});
    }

    void saveStoresTheEmployee()
    {
        TestFolder folder(TestFolder::Content::Demo);
        ScriptedPrompter prompts;
        Window w;
        w.typeEmployee();
        const QString picture = folder.filePath("EmpPics/defaultPic.jpg");
        prompts.answerFile(picture);
        w.click("cmdPicLink");
        w.click("cmdSave");
        QCOMPARE(
            stored("Employee", "SPO-4",
                   {"EmpFName", "EmpLName", "EmpMidIn", "EmpAdd", "EmpSSN", "EmpDOB", "EmpHireDate",
                    "EmpComm", "Female", "Male", "Inactive", "EmpPic", "PostDate"}),
            "Sean|O'Neil|P|12 O'Hare Lane|321-54-9876|1990-07-04|2024-02-01|Bench|1|0|0|" +
                picture + "|" + QDate::currentDate().toString(Qt::ISODate));
        QCOMPARE(w.id(), QString());
        QVERIFY(!child<QRadioButton>(&w, "optFemale")->isChecked());
        QVERIFY(w.box(0)->hasFocus());
        QVERIFY(w.accessList->findText("SPO-4    Sean    O'Neil") >= 0);
    }

    void saveRefusalsKeepTheBoxes_data()
    {
        QTest::addColumn<int>("emptied");
        QTest::addColumn<QString>("message");
        for (int index : {0, 1, 3, 4, 5, 6, 7, 9, 10, 11})
            QTest::addRow("box %d empty", index)
                << index
                << "The Employees name, address, city, state, zip, phone, SS#, Date of Birth "
                   "and Hire date must be filled in!";
        QTest::newRow("no date of birth") << -1 << BadDate;
        QTest::newRow("no id drawn")
            << 13 << "This employee has no EmpID yet: leave the Middle Initial box to make one.";
        QTest::newRow("taken id") << -2 << "This employee already exists!";
    }

    void saveRefusalsKeepTheBoxes()
    {
        QFETCH(int, emptied);
        QFETCH(QString, message);
        TestFolder folder(TestFolder::Content::Demo);
        ScriptedPrompter prompts;
        const QStringList before = DbProbe::column("SELECT EmpFName FROM Employee");
        Window w;
        w.typeEmployee();
        if (emptied == -2) { // Jack Thompson's ID again
            QVERIFY(DbProbe::exec("UPDATE EmployeeCount SET EmpNum = 0"));
            w.typeName("Jill", "T", "Turner");
        }
        if (emptied >= 0)
            w.box(emptied)->clear();
        if (emptied == -1)
            w.box(10)->setText("99/99/99");
        w.click("cmdSave");
        QCOMPARE(prompts.lastMessage(), message);
        QCOMPARE(w.box(7)->text(), emptied == 7 ? QString() : "(217) 555-0199");
        QCOMPARE(DbProbe::column("SELECT EmpFName FROM Employee"), before);
    }

    void choosingLoadsAndEditRewrites()
    {
        TestFolder folder(TestFolder::Content::Demo);
        ScriptedPrompter prompts;
        Window w;
        QVERIFY(chooseKey(w.list, "SLM-2"));
        QVERIFY(!w.shown("cmdSave") && w.shown("cmdEdit"));
        QCOMPARE(w.box(0)->text(), "Sarah");
        QCOMPARE(w.box(2)->text(), "L");
        QCOMPARE(w.box(10)->text(), "09/30/79");
        QCOMPARE(w.id(), "SLM-2");
        QVERIFY(child<QRadioButton>(&w, "optFemale")->isChecked());
        QVERIFY(!child<QLabel>(&w, "Picture1")->pixmap().isNull());

        typeInto(w.box(7), "(217) 555-0999");
        typeInto(w.box(11), "071516");
        w.box(0)->setFocus();
        child<QCheckBox>(&w, "chkInactive")->setChecked(true);
        w.click("cmdEdit");
        QCOMPARE(stored("Employee", "SLM-2", {"EmpPhone", "EmpHireDate", "Inactive", "PostDate"}),
                 "(217) 555-0999|2016-07-15|1|" + QDate::currentDate().toString(Qt::ISODate));
        QVERIFY(w.shown("cmdSave") && !w.shown("cmdEdit"));
        QCOMPARE(w.box(0)->text(), QString());

        // A cancelled choice of picture keeps the path.
        child<QLineEdit>(&w, "txtPicLink")->setText("/kept.jpg");
        w.click("cmdPicLink");
        QCOMPARE(child<QLineEdit>(&w, "txtPicLink")->text(), "/kept.jpg");
    }

    void removalTakesLoginAndAccessAlong()
    {
        TestFolder folder(TestFolder::Content::Demo);
        ScriptedPrompter prompts;
        const qint64 employees = DbProbe::count("Employee");
        Window w;
        w.remove->setChecked(true);
        QCOMPARE(prompts.allTexts(), {"No employee has been chosen; nothing was removed."});
        QVERIFY(!w.remove->isChecked());
        w.box(13)->setText("ZZ-99"); // drawn, never saved
        w.remove->setChecked(true);
        QCOMPARE(prompts.lastMessage(), "Employee ZZ-99 is not in the database.");

        prompts.clear();
        QVERIFY(chooseKey(w.list, "SLM-2"));
        prompts.answerConfirm(false);
        w.remove->setChecked(true);
        QVERIFY(prompts.allTexts().first().contains("SLM-2 (Sarah Miller)"));
        QCOMPARE(prompts.messages(), {"Deletion has been cancelled"});
        QVERIFY(!w.remove->isChecked());
        QCOMPARE(DbProbe::count("Employee"), employees);

        w.remove->setChecked(true);
        QCOMPARE(prompts.lastMessage(), "Employee has been deleted");
        for (const char* table : {"Employee", "Login", "EmployeeAccess"})
            QCOMPARE(DbProbe::count(table, "EmpID = 'SLM-2'"), 0);
        QCOMPARE(DbProbe::count("Employee"), employees - 1);
        QCOMPARE(DbProbe::count("Login", "EmpID = 'JTT-1'"), 1);
        QCOMPARE(w.id(), QString());
        QCOMPARE(w.accessList->findText("SLM-2", Qt::MatchStartsWith), -1);
    }

    void accessSaveGivesAFirstLoginOnly()
    {
        TestFolder folder(TestFolder::Content::Demo);
        QVERIFY(DbProbe::exec("INSERT INTO Employee (EmpID, EmpFName, EmpLName) "
                              "VALUES ('DC-9', 'Dana', 'Cole')"));
        ScriptedPrompter prompts;
        Window w;
        w.click("cmdEmpAccSave");
        w.accessList->setEditText("typed, not chosen");
        w.click("cmdEmpAccSave");
        QCOMPARE(prompts.messages(), QStringList(2, "Please select an Employee"));
        QVERIFY(chooseKey(w.accessList, "JTT-1"));
        QVERIFY(chooseKey(w.accessList, "DC-9"));
        QCOMPARE(w.ticked(), Technician); // the boxes keep their state
        QVERIFY(w.shown("cmdEmpAccSave") && !w.shown("cmdEmpAccEdit"));
        w.check(13)->setChecked(false);
        w.check(20)->setChecked(true);
        typeInto(w.password, "Dana's pw");
        w.click("cmdEmpAccSave");
        QCOMPARE(prompts.lastMessage(), "Access rites have been added to database");
        const QStringList& columns = Schema::accessFlagColumns();
        QCOMPARE(stored("EmployeeAccess", "DC-9", {columns.join(" || ")}),
                 flags({16, 17, 19, 20, 22}));
        const QString hash = storedHash("DC-9");
        QVERIFY(Passwords::verify(hash, "Dana's pw"));
        QVERIFY(!Passwords::verify(hash, "dana's pw"));
        QCOMPARE(w.accessList->currentText(), QString());
        QCOMPARE(w.ticked(), flags({}));

        // A second Save for the same employee is refused and changes nothing.
        QVERIFY(chooseKey(w.accessList, "DC-9"));
        typeInto(w.password, "other");
        w.click("cmdEmpAccSave");
        QCOMPARE(prompts.lastMessage(), "This employee already has access rights.");
        QCOMPARE(storedHash("DC-9"), hash);
        QCOMPARE(w.password->text(), "other");
    }

    void accessEditChangesThePasswordOnlyWhenTyped()
    {
        TestFolder folder(TestFolder::Content::Demo);
        ScriptedPrompter prompts;
        Window w;
        const QString before = storedHash("RP-3");
        const QString rights = Schema::accessFlagColumns().join(" || ");
        QVERIFY(chooseKey(w.accessList, "RP-3"));
        w.accessList->setEditText(QString());
        w.click("cmdEmpAccEdit");
        QCOMPARE(prompts.messages(), {"Please select an employee"});
        QVERIFY(chooseKey(w.accessList, "RP-3"));
        w.check(0)->setChecked(true);
        w.check(16)->setChecked(false);
        w.click("cmdEmpAccEdit");
        QCOMPARE(stored("EmployeeAccess", "RP-3", {rights}), flags({0, 13, 17, 19, 22}));
        QCOMPARE(storedHash("RP-3"), before);
        QVERIFY(w.shown("cmdEmpAccSave") && !w.shown("cmdEmpAccEdit"));
        QCOMPARE(w.ticked(), flags({}));

        QVERIFY(chooseKey(w.accessList, "RP-3"));
        typeInto(w.password, "NewPass");
        w.click("cmdEmpAccEdit");
        QVERIFY(Passwords::verify(storedHash("RP-3"), "NewPass"));
        QVERIFY(Passwords::verify(storedHash("JTT-1"), "tech"));
        QCOMPARE(stored("EmployeeAccess", "JTT-1", {rights}), Technician);

        // Admin ticks every box, and Clear empties the page.
        auto* admin = child<QCheckBox>(&w, "chkAdmin");
        admin->click();
        QCOMPARE(w.ticked(), QString(EmployeeAccessPage::FlagCount, '1'));
        admin->click();
        QCOMPARE(w.ticked(), flags({}));
        QVERIFY(chooseKey(w.accessList, "JTT-1"));
        admin->click();
        w.click("cmdEmpAccClear");
        QCOMPARE(w.ticked(), flags({}));
        QVERIFY(!admin->isChecked());
        QCOMPARE(w.password->text(), QString());
        QCOMPARE(w.accessList->currentText(), QString());
        QVERIFY(w.shown("cmdEmpAccSave") && !w.shown("cmdEmpAccEdit"));
    }
};

QTEST_MAIN(TestEmployee)
#include "tst_employee.moc"
