#include "data/passwords.h"
#include "data/schema.h"
#include "masterdata/employee.h"
#include "masterdata/employeeaccesspage.h"
#include "masterdata/employeepictureframe.h"
#include "masterdata/employeesetuppage.h"
#include "masterdata/masterdatatesting.h"

#include <QCheckBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

using namespace MasterDataTesting;
using namespace WidgetTesting;

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

/** The Employee window shown and active; `page` and `access` are its two pages. */
struct Window : Shown<Employee> {
    using Shown::Shown;
    EmployeeSetupPage& page = *setupPage;
    EmployeeAccessPage& access = *accessPage;

    QLineEdit* box(int i) { return page.Text1[i]; }
    QString id() { return box(13)->text(); }
    /** Types the boxes from the first on, so that leaving the middle initial draws an ID. */
    void type(const QStringList& texts)
    {
        for (int i = 0; i < texts.size(); ++i)
            typeInto(box(i), texts[i]);
        box(0)->setFocus();
    }
    void typeEmployee(const char* first, const char* last, const char* middle)
    {
        type({first, last, middle, "12 O'Hare Lane", "Springfield", "IL", "62704", "(217) 555-0199",
              "a@b.example", "321-54-9876", "07/04/90", "02/01/24"});
        page.Text1Comments->setPlainText("Bench");
        page.optFemale->setChecked(true);
    }
    QString ticked()
    {
        QString bits;
        for (QCheckBox* check : access.Check)
            bits += check->isChecked() ? '1' : '0';
        return bits;
    }
};

QString fields(const QString& table, const QString& empId, const QString& columns)
{
    return MasterDataTesting::stored(table, columns, "EmpID = '" + empId + "'");
}

QString rights(const QString& empId)
{
    return fields("EmployeeAccess", empId,
                  "CAST(" + Schema::accessFlagColumns().join(" AS TEXT) || CAST(") + " AS TEXT)");
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
    void idDrawnAndBoxesCheckedWhenLeft()
    {
        Window w(TestFolder::Content::Demo, QStringList{"UPDATE EmployeeCount SET EmpNum = 32766"});
        w.type({"john", "public", "q"});
        QCOMPARE(w.id(), "JQP-32767");
        w.type({"", "public", "x"}); // no first name: no number drawn
        w.type({"john", "public", " "});
        QCOMPARE(w.id(), "JP-32768");
        // Social security number and dates are formatted, or warned about, as the box is left.
        const QString ssn = "Please you the 000-00-0000 format";
        const std::tuple<int, const char*, const char*, QString> boxes[] = {
            {9, "123456789", "123-45-6789", {}}, {9, "12345", "12345", ssn},
            {10, "010203", "01/02/03", {}},      {11, "123456", "12/34/56", BadDate},
            {11, "soon", "soon", BadDate},       {5, "il", "IL", {}}};
        for (const auto& [index, typed, left, message] : boxes) {
            typeInto(w.box(index), typed);
            w.box(0)->setFocus();
            QCOMPARE(w.box(index)->text(), left);
            QCOMPARE(w.prompts.messages(),
                     message.isEmpty() ? QStringList() : QStringList{message});
            w.prompts.clear();
        }
    }

    void saveChooseAndEditRoundTrip()
    {
        Window w;
        w.typeEmployee("Sean", "O'Neil", "p");
        const QString picture = w.folder.filePath("EmpPics/defaultPic.jpg");
        w.prompts.answerFile(picture);
        w.page.pictureFrame->cmdPicLink->click();
        w.page.cmdSave->click();
        const QString columns = "EmpFName,EmpLName,EmpMidIn,EmpAdd,EmpSSN,EmpDOB,EmpHireDate,"
                                "EmpComm,Female,Male,Inactive,EmpPic,PostDate";
        const QString today = QDate::currentDate().toString(Qt::ISODate);
        QCOMPARE(fields("Employee", "SPO-4", columns),
                 "Sean|O'Neil|P|12 O'Hare Lane|321-54-9876|1990-07-04|2024-02-01|Bench|1|0|0|" +
                     picture + "|" + today);
        QVERIFY(!w.page.optFemale->isChecked());
        QVERIFY(w.access.combEmpAccess->findText("SPO-4    Sean    O'Neil") >= 0);
        QVERIFY(DbProbe::exec("UPDATE Employee SET PostDate = '2001-02-03'"));
        QVERIFY(chooseKey(w.page.combEmpID, "SPO-4"));
        QCOMPARE(w.box(10)->text(), "07/04/90");
        QVERIFY(w.page.optFemale->isChecked());
        w.page.pictureFrame->cmdPicLink->click(); // cancelled: the picture stays
        QCOMPARE(w.page.pictureFrame->path(), picture);
        typeInto(w.box(11), "071516");
        w.box(0)->setFocus();
        w.page.chkInactive->setChecked(true);
        w.page.cmdEdit->click();
        QCOMPARE(fields("Employee", "SPO-4", "EmpFName,EmpHireDate,Inactive,EmpPic,PostDate"),
                 "Sean|2016-07-15|1|" + picture + "|" + today);
        QVERIFY(w.page.cmdEdit->isHidden());
        QCOMPARE(fields("Employee", "SLM-2", "EmpHireDate,PostDate"), "2016-06-15|2001-02-03");
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
        QTest::newRow("no id drawn")
            << 13 << "This employee has no EmpID yet: leave the Middle Initial box to make one.";
        QTest::newRow("taken id") << -1 << "This employee already exists!";
        QTest::newRow("no date of birth") << -2 << BadDate;
    }

    void saveRefusalsKeepTheBoxes()
    {
        QFETCH(int, emptied);
        QFETCH(QString, message);
        // The first number again: John Thompson's ID is Jack Thompson's.
        Window w(TestFolder::Content::Demo, QStringList{"UPDATE EmployeeCount SET EmpNum = 0"});
        const QStringList before = DbProbe::column("SELECT EmpFName FROM Employee");
        w.typeEmployee("John", "Thompson", "t");
        if (emptied >= 0)
            w.box(emptied)->clear();
        if (emptied == -2)
            w.box(10)->setText("99/99/99");
        w.page.cmdSave->click();
        QCOMPARE(w.prompts.lastMessage(), message);
        QCOMPARE(w.box(7)->text(), emptied == 7 ? QString() : "(217) 555-0199");
        QCOMPARE(DbProbe::column("SELECT EmpFName FROM Employee"), before);
    }

    void removalTakesLoginAndAccessAlong()
    {
        Window w;
        const qint64 employees = DbProbe::count("Employee");
        QCheckBox* remove = w.page.chkRemove;
        remove->setChecked(true);
        QCOMPARE(w.prompts.allTexts(), {"No employee has been chosen; nothing was removed."});
        w.box(13)->setText("ZZ-99"); // drawn, never saved
        remove->setChecked(true);
        QCOMPARE(w.prompts.lastMessage(), "Employee ZZ-99 is not in the database.");
        w.prompts.clear();
        QVERIFY(chooseKey(w.page.combEmpID, "SLM-2"));
        w.prompts.answerConfirm(false);
        remove->setChecked(true);
        QVERIFY(w.prompts.allTexts().first().contains("SLM-2 (Sarah Miller)"));
        QCOMPARE(w.prompts.messages(), {"Deletion has been cancelled"});
        remove->setChecked(true);
        QCOMPARE(w.prompts.lastMessage(), "Employee has been deleted");
        for (const char* table : {"Employee", "Login", "EmployeeAccess"})
            QCOMPARE(DbProbe::count(table, "EmpID = 'SLM-2'"), 0);
        QCOMPARE(DbProbe::count("Employee"), employees - 1);
        QCOMPARE(DbProbe::count("Login", "EmpID = 'JTT-1'"), 1);
        QCOMPARE(w.access.combEmpAccess->findText("SLM-2", Qt::MatchStartsWith), -1);
    }

    void accessSaveGivesAFirstLoginEditChangesIt()
    {
        Window w(TestFolder::Content::Demo,
                 QStringList{"INSERT INTO Employee (EmpID, EmpFName, "
                             "EmpLName) VALUES ('DC-9', 'Dana', 'Cole')"});
        EmployeeAccessPage& a = w.access;
        const QString before = storedHash("RP-3");
        a.cmdEmpAccSave->click();
        a.combEmpAccess->setEditText("typed, not chosen");
        a.cmdEmpAccSave->click();
        QVERIFY(chooseKey(a.combEmpAccess, "RP-3"));
        a.combEmpAccess->setEditText(QString());
        a.cmdEmpAccEdit->click();
        QCOMPARE(w.prompts.messages(),
                 (QStringList{"Please select an Employee", "Please select an Employee",
                              "Please select an employee"}));
        QVERIFY(chooseKey(a.combEmpAccess, "DC-9"));
        QCOMPARE(w.ticked(), Technician); // an employee without rights leaves the boxes be
        QVERIFY(!a.cmdEmpAccSave->isHidden() && a.cmdEmpAccEdit->isHidden());
        a.Check[13]->setChecked(false);
        a.Check[20]->setChecked(true);
        typeInto(a.txtPwd, "Dana's pw");
        a.cmdEmpAccSave->click();
        QCOMPARE(w.prompts.lastMessage(), "Access rites have been added to database");
        QCOMPARE(rights("DC-9"), flags({16, 17, 19, 20, 22}));
        const QString hash = storedHash("DC-9");
        QVERIFY(Passwords::verify(hash, "Dana's pw") && !Passwords::verify(hash, "dana's pw"));
        QVERIFY(a.combEmpAccess->currentText().isEmpty() && w.ticked() == flags({}));
        QVERIFY(chooseKey(a.combEmpAccess, "DC-9"));
        typeInto(a.txtPwd, "other");
        a.cmdEmpAccSave->click(); // a second Save is refused and changes nothing
        QCOMPARE(w.prompts.lastMessage(), "This employee already has access rights.");
        QCOMPARE(storedHash("DC-9"), hash);
        QCOMPARE(a.txtPwd->text(), "other");
        a.chkAdmin->click(); // every box ticked; Clear empties the page
        QCOMPARE(w.ticked(), QString(EmployeeAccessPage::FlagCount, '1'));
        a.cmdEmpAccClear->click();
        QVERIFY(w.ticked() == flags({}) && !a.chkAdmin->isChecked() && a.txtPwd->text().isEmpty());
        QCOMPARE(a.combEmpAccess->currentText(), QString());
        // Edit keeps the password while its box is empty.
        QVERIFY(chooseKey(a.combEmpAccess, "RP-3"));
        a.Check[0]->setChecked(true);
        a.Check[16]->setChecked(false);
        a.cmdEmpAccEdit->click();
        QCOMPARE(rights("RP-3"), flags({0, 13, 17, 19, 22}));
        QCOMPARE(storedHash("RP-3"), before);
        QVERIFY(!a.cmdEmpAccSave->isHidden() && w.ticked() == flags({}));
        QVERIFY(chooseKey(a.combEmpAccess, "RP-3"));
        typeInto(a.txtPwd, "NewPass");
        a.cmdEmpAccEdit->click();
        QVERIFY(Passwords::verify(storedHash("RP-3"), "NewPass"));
        QVERIFY(Passwords::verify(storedHash("JTT-1"), "tech"));
        QCOMPARE(rights("JTT-1"), Technician);
    }
};

QTEST_MAIN(TestEmployee)
#include "tst_employee.moc"
