#include "data/conversions.h"
#include "data/database.h"
#include "masterdata/employee.h"
#include "masterdata/employeesetuppage.h"
#include "support/scriptedprompter.h"
#include "support/testfolder.h"
#include "support/widgettesting.h"

#include <QCheckBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

using WidgetTesting::child;
using WidgetTesting::typeInto;

/** The "Employee Setup" page: ID drawing, box checks, Save, Edit, picture and removal. */
class TestEmployee : public QObject {
    Q_OBJECT

    struct Window {
        Employee window;
        EmployeeSetupPage* page = window.setupPage;

        QLineEdit* box(int index)
        {
            return child<QLineEdit>(&window, QStringLiteral("Text1_%1").arg(index).toLatin1());
        }
        QString id() { return box(13)->text(); }
        void leave(int index)
        {
            box(index)->setFocus();
            box(index == 0 ? 1 : 0)->setFocus();
        }
        // Types a whole new employee, leaving the middle-initial box so that an ID is drawn.
        void typeEmployee(const QString& first, const QString& middle, const QString& last)
        {
            typeInto(box(0), first);
            typeInto(box(1), last);
            typeInto(box(2), middle);
            box(3)->setFocus();
            const QStringList rest = {"12 O'Hare Lane", "Springfield",    "IL",
                                      "62704",          "(217) 555-0199", "a@b.example",
                                      "321-54-9876",    "07/04/90",       "02/01/24"};
            for (int i = 0; i < rest.size(); ++i)
                typeInto(box(3 + i), rest[i]);
            child<QPlainTextEdit>(&window, "Text1_12")->setPlainText(QStringLiteral("Bench"));
            child<QRadioButton>(&window, "optFemale")->setChecked(true);
        }
        bool chooseEmployee(const QString& empId)
        {
            auto* combo = child<QComboBox>(&window, "combEmpID");
            for (int i = 0; i < combo->count(); ++i) {
                if (combo->itemText(i).section(QLatin1Char(' '), 0, 0) == empId)
                    return WidgetTesting::choose(combo, combo->itemText(i));
            }
            return false;
        }
        QPushButton* button(const char* name) { return child<QPushButton>(&window, name); }
    };

    static void setEmployeeCounter(qint64 value)
    {
        Database db;
        QVERIFY(db.exec(QStringLiteral("UPDATE EmployeeCount SET EmpNum = ?"), value));
    }
    static qint64 employeeCounter()
    {
        Database db;
        Query q = db.query(QStringLiteral("SELECT EmpNum FROM EmployeeCount"));
        return q.next() ? q.integer(0) : -1;
    }
    static qint64 employees()
    {
        Database db;
        Query q = db.query(QStringLiteral("SELECT COUNT(*) FROM Employee"));
        return q.next() ? q.integer(0) : -1;
    }
    static int rowsFor(const char* table, const QString& empId)
    {
        Database db;
        Query q = db.query(
            QStringLiteral("SELECT COUNT(*) FROM %1 WHERE EmpID = ?").arg(QLatin1String(table)),
            empId);
        return q.next() ? static_cast<int>(q.integer(0)) : -1;
    }

private Q_SLOTS:
    void leavingMiddleInitialDrawsTheId()
    {
        TestFolder folder(TestFolder::Content::Demo);
        ScriptedPrompter prompts;
        setEmployeeCounter(4);
        Window w;
        QVERIFY(WidgetTesting::showActive(&w.window));
        typeInto(w.box(0), QStringLiteral("john"));
        typeInto(w.box(1), QStringLiteral("public"));
        typeInto(w.box(2), QStringLiteral("q"));
        w.box(3)->setFocus();
        QCOMPARE(w.id(), QStringLiteral("JQP-5"));
        QCOMPARE(w.box(2)->text(), QStringLiteral("Q"));
        QCOMPARE(child<QComboBox>(&w.window, "combEmpID")->currentText(), QStringLiteral("JQP-5"));
        QCOMPARE(employeeCounter(), 5);

        w.leave(2);
        QCOMPARE(w.id(), QStringLiteral("JQP-6"));
        typeInto(w.box(2), QString());
        w.box(3)->setFocus();
        QCOMPARE(w.id(), QStringLiteral("JP-7"));
        typeInto(w.box(2), QStringLiteral(" "));
        w.box(3)->setFocus();
        QCOMPARE(w.id(), QStringLiteral("JP-8"));
        QCOMPARE(employeeCounter(), 8);
        QCOMPARE(prompts.messages(), QStringList());
    }

    void noIdWithoutFirstNameOrForAnExistingEmployee()
    {
        TestFolder folder(TestFolder::Content::Demo);
        Window w;
        QVERIFY(WidgetTesting::showActive(&w.window));
        typeInto(w.box(1), QStringLiteral("Public"));
        w.leave(2);
        QCOMPARE(w.id(), QString());

        QVERIFY(w.chooseEmployee(QStringLiteral("RP-3")));
        typeInto(w.box(2), QStringLiteral("x"));
        w.box(3)->setFocus();
        QCOMPARE(w.id(), QStringLiteral("RP-3"));
        QCOMPARE(employeeCounter(), 3);
    }

    void counterPassesTheSixteenBitCeiling()
    {
        TestFolder folder(TestFolder::Content::Demo);
        setEmployeeCounter(32767);
        Window w;
        QVERIFY(WidgetTesting::showActive(&w.window));
        typeInto(w.box(0), QStringLiteral("Ann"));
        typeInto(w.box(1), QStringLiteral("Lee"));
        w.leave(2);
        QCOMPARE(w.id(), QStringLiteral("AL-32768"));
    }

    void boxesAreCheckedWhenLeft_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("left");
        QTest::addColumn<QString>("message");
        const QString ssn = QStringLiteral("Please you the 000-00-0000 format");
        const QString date = QStringLiteral("Please enter a valid date, mm/dd/yy format.");
        QTest::newRow("nine digits") << 9 << "123456789"
                                     << "123-45-6789"
                                     << "";
        QTest::newRow("formatted ssn") << 9 << "123-45-6789"
                                       << "123-45-6789"
                                       << "";
        QTest::newRow("short ssn") << 9 << "12345"
                                   << "12345" << ssn;
        QTest::newRow("empty ssn") << 9 << ""
                                   << ""
                                   << "";
        QTest::newRow("six digits") << 10 << "010203"
                                    << "01/02/03"
                                    << "";
        QTest::newRow("five digits") << 10 << "12345"
                                     << "12345" << date;
        QTest::newRow("short date") << 11 << "1/2/03"
                                    << "1/2/03"
                                    << "";
        QTest::newRow("six digits, no date") << 11 << "123456"
                                             << "12/34/56" << date;
        QTest::newRow("words") << 11 << "soon"
                               << "soon" << date;
        QTest::newRow("empty date") << 10 << ""
                                    << ""
                                    << "";
        QTest::newRow("state") << 5 << "il"
                               << "IL"
                               << "";
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
        QVERIFY(WidgetTesting::showActive(&w.window));
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
        QVERIFY(WidgetTesting::showActive(&w.window));
        w.typeEmployee(QStringLiteral("Sean"), QStringLiteral("p"), QStringLiteral("O'Neil"));
        QCOMPARE(w.id(), QStringLiteral("SPO-4"));
        const QString picture = folder.filePath(QStringLiteral("EmpPics/defaultPic.jpg"));
        prompts.answerFile(picture);
        w.button("cmdPicLink")->click();
        QCOMPARE(child<QLineEdit>(&w.window, "txtPicLink")->text(), picture);
        w.button("cmdSave")->click();
        QCOMPARE(prompts.messages(), QStringList());

        Database db;
        Query q = db.query(QStringLiteral("SELECT EmpFName, EmpLName, EmpMidIn, EmpAdd, EmpSSN, "
                                          "EmpDOB, EmpHireDate, EmpComm, EmpPic, Female, Male, "
                                          "Inactive, PostDate FROM Employee WHERE EmpID = ?"),
                           QStringLiteral("SPO-4"));
        QVERIFY(q.next());
        QCOMPARE(q.text(0), QStringLiteral("Sean"));
        QCOMPARE(q.text(1), QStringLiteral("O'Neil"));
        QCOMPARE(q.text(2), QStringLiteral("P"));
        QCOMPARE(q.text(3), QStringLiteral("12 O'Hare Lane"));
        QCOMPARE(q.text(4), QStringLiteral("321-54-9876"));
        QCOMPARE(q.date(5), QDate(1990, 7, 4));
        QCOMPARE(q.date(6), QDate(2024, 2, 1));
        QCOMPARE(q.text(7), QStringLiteral("Bench"));
        QCOMPARE(q.text(8), picture);
        QVERIFY(q.boolean(9) && !q.boolean(10) && !q.boolean(11));
        QCOMPARE(q.date(12), QDate::currentDate());

        QCOMPARE(w.id(), QString());
        QCOMPARE(w.box(0)->text(), QString());
        QVERIFY(!child<QRadioButton>(&w.window, "optFemale")->isChecked());
        QVERIFY(w.box(0)->hasFocus());
        auto* combo = child<QComboBox>(&w.window, "combEmpID");
        QVERIFY(combo->findText(QStringLiteral("SPO-4    Sean    O'Neil")) >= 0);
        QVERIFY(child<QComboBox>(&w.window, "combEmpAccess")
                    ->findText(QStringLiteral("SPO-4    Sean    O'Neil")) >= 0);
    }

    void saveRefusalsKeepTheBoxes_data()
    {
        QTest::addColumn<int>("emptied");
        QTest::addColumn<QString>("badDate");
        QTest::addColumn<bool>("drawId");
        QTest::addColumn<QString>("message");
        const QString missing =
            QStringLiteral("The Employees name, address, city, state, zip, phone, SS#, Date of "
                           "Birth and Hire date must be filled in!");
        for (int index : {0, 1, 3, 4, 5, 6, 7, 9, 10, 11})
            QTest::addRow("box %d empty", index) << index << "" << true << missing;
        QTest::newRow("date of birth no date")
            << -1 << "99/99/99" << true
            << QStringLiteral("Please enter a valid date, mm/dd/yy format.");
        QTest::newRow("no id drawn")
            << -1 << "" << false
            << QStringLiteral(
                   "This employee has no EmpID yet: leave the Middle Initial box to make one.");
    }

    void saveRefusalsKeepTheBoxes()
    {
        QFETCH(int, emptied);
        QFETCH(QString, badDate);
        QFETCH(bool, drawId);
        QFETCH(QString, message);
        TestFolder folder(TestFolder::Content::Demo);
        ScriptedPrompter prompts;
        const qint64 before = employees();
        Window w;
        QVERIFY(WidgetTesting::showActive(&w.window));
        w.typeEmployee(QStringLiteral("Kim"), QString(), QStringLiteral("Doe"));
        if (!drawId)
            w.box(13)->clear();
        if (emptied >= 0)
            w.box(emptied)->clear();
        if (!badDate.isEmpty())
            w.box(10)->setText(badDate);
        prompts.clear();
        w.button("cmdSave")->click();
        QCOMPARE(prompts.messages(), QStringList{message});
        QCOMPARE(w.box(7)->text(), emptied == 7 ? QString() : QStringLiteral("(217) 555-0199"));
        QCOMPARE(employees(), before);
    }

    void duplicateIdIsReportedAndKept()
    {
        TestFolder folder(TestFolder::Content::Demo);
        ScriptedPrompter prompts;
        setEmployeeCounter(0);
        Window w;
        QVERIFY(WidgetTesting::showActive(&w.window));
        w.typeEmployee(QStringLiteral("Jill"), QStringLiteral("T"), QStringLiteral("Turner"));
        QCOMPARE(w.id(), QStringLiteral("JTT-1"));
        w.button("cmdSave")->click();
        QCOMPARE(prompts.messages(), QStringList{QStringLiteral("This employee already exists!")});
        QCOMPARE(w.box(0)->text(), QStringLiteral("Jill"));
        Database db;
        Query q = db.query(QStringLiteral("SELECT EmpFName FROM Employee WHERE EmpID = 'JTT-1'"));
        QVERIFY(q.next());
        QCOMPARE(q.text(0), QStringLiteral("Jack"));
    }

    void choosingLoadsAndEditRewrites()
    {
        TestFolder folder(TestFolder::Content::Demo);
        ScriptedPrompter prompts;
        Window w;
        QVERIFY(WidgetTesting::showActive(&w.window));
        QVERIFY(w.chooseEmployee(QStringLiteral("SLM-2")));
        QVERIFY(w.button("cmdSave")->isHidden() && !w.button("cmdEdit")->isHidden());
        QCOMPARE(w.box(0)->text(), QStringLiteral("Sarah"));
        QCOMPARE(w.box(2)->text(), QStringLiteral("L"));
        QCOMPARE(w.box(10)->text(), QStringLiteral("09/30/79"));
        QCOMPARE(w.id(), QStringLiteral("SLM-2"));
        QVERIFY(child<QRadioButton>(&w.window, "optFemale")->isChecked());
        QVERIFY(!child<QLabel>(&w.window, "Picture1")->pixmap().isNull());

        typeInto(w.box(7), QStringLiteral("(217) 555-0999"));
        w.box(11)->setText(QStringLiteral("071516"));
        w.leave(11);
        child<QCheckBox>(&w.window, "chkInactive")->setChecked(true);
        w.button("cmdEdit")->click();
        QCOMPARE(prompts.messages(), QStringList());
        Database db;
        Query q = db.query(QStringLiteral("SELECT EmpPhone, EmpHireDate, Inactive, PostDate "
                                          "FROM Employee WHERE EmpID = 'SLM-2'"));
        QVERIFY(q.next());
        QCOMPARE(q.text(0), QStringLiteral("(217) 555-0999"));
        QCOMPARE(q.date(1), QDate(2016, 7, 15));
        QVERIFY(q.boolean(2));
        QCOMPARE(q.date(3), QDate::currentDate());
        QVERIFY(!w.button("cmdSave")->isHidden() && w.button("cmdEdit")->isHidden());
        QCOMPARE(w.box(0)->text(), QString());
    }

    void cancelledPictureChangesNothing()
    {
        TestFolder folder(TestFolder::Content::Demo);
        ScriptedPrompter prompts;
        Window w;
        auto* link = child<QLineEdit>(&w.window, "txtPicLink");
        link->setText(QStringLiteral("/kept.jpg"));
        w.button("cmdPicLink")->click(); // no answer queued: cancelled
        QCOMPARE(link->text(), QStringLiteral("/kept.jpg"));
        QVERIFY(!child<QLabel>(&w.window, "Picture1")->pixmap().isNull());
    }

    void removalTakesLoginAndAccessAlong()
    {
        TestFolder folder(TestFolder::Content::Demo);
        ScriptedPrompter prompts;
        Window w;
        QVERIFY(w.chooseEmployee(QStringLiteral("SLM-2")));
        auto* remove = child<QCheckBox>(&w.window, "chkRemove");
        prompts.answerConfirm(false);
        remove->setChecked(true);
        QCOMPARE(prompts.shown().first().kind, ScriptedPrompter::Shown::Kind::Confirm);
        QVERIFY(prompts.allTexts().first().contains(QStringLiteral("SLM-2 (Sarah Miller)")));
        QCOMPARE(prompts.messages(), QStringList{QStringLiteral("Deletion has been cancelled")});
        QVERIFY(!remove->isChecked());
        QCOMPARE(rowsFor("Employee", QStringLiteral("SLM-2")), 1);

        prompts.clear();
        remove->setChecked(true);
        QCOMPARE(prompts.messages(), QStringList{QStringLiteral("Employee has been deleted")});
        for (const char* table : {"Employee", "Login", "EmployeeAccess"})
            QCOMPARE(rowsFor(table, QStringLiteral("SLM-2")), 0);
        QCOMPARE(rowsFor("Login", QStringLiteral("JTT-1")), 1);
        QVERIFY(!remove->isChecked());
        QCOMPARE(w.id(), QString());
        QCOMPARE(child<QComboBox>(&w.window, "combEmpID")->count(), employees());
        QCOMPARE(child<QComboBox>(&w.window, "combEmpID")
                     ->findText(QStringLiteral("SLM-2"), Qt::MatchStartsWith),
                 -1);
    }

    void removalWithoutAnEmployeeRemovesNothing()
    {
        TestFolder folder(TestFolder::Content::Demo);
        ScriptedPrompter prompts;
        const qint64 before = employees();
        Window w;
        auto* remove = child<QCheckBox>(&w.window, "chkRemove");
        remove->setChecked(true);
        QCOMPARE(prompts.allTexts(),
                 QStringList{QStringLiteral("No employee has been chosen; nothing was removed.")});
        QVERIFY(!remove->isChecked());

        prompts.clear();
        w.box(13)->setText(QStringLiteral("ZZ-99")); // drawn, never saved
        remove->setChecked(true);
        QCOMPARE(prompts.messages(),
                 QStringList{QStringLiteral("Employee ZZ-99 is not in the database.")});
        QCOMPARE(employees(), before);
    }
};

QTEST_MAIN(TestEmployee)
#include "tst_employee.moc"
