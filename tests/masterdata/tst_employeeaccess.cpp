#include "data/database.h"
#include "data/passwords.h"
#include "data/schema.h"
#include "masterdata/employee.h"
#include "masterdata/employeeaccesspage.h"
#include "support/scriptedprompter.h"
#include "support/testfolder.h"
#include "support/widgettesting.h"

#include <QCheckBox>
#include <QPushButton>
#include <QtTest>

using WidgetTesting::child;

/** The "Employee Access" page: rights shown per employee, Save for a first login, Edit. */
class TestEmployeeAccess : public QObject {
    Q_OBJECT

    struct Window {
        Employee window;
        QComboBox* combo = child<QComboBox>(&window, "combEmpAccess");
        QLineEdit* password = child<QLineEdit>(&window, "txtPwd");
        QCheckBox* admin = child<QCheckBox>(&window, "chkAdmin");
        QPushButton* save = child<QPushButton>(&window, "cmdEmpAccSave");
        QPushButton* edit = child<QPushButton>(&window, "cmdEmpAccEdit");

        QCheckBox* check(int i)
        {
            return child<QCheckBox>(&window, QStringLiteral("Check_%1").arg(i).toLatin1());
        }
        QList<int> ticked()
        {
            QList<int> positions;
            for (int i = 0; i < EmployeeAccessPage::FlagCount; ++i)
                if (check(i)->isChecked())
                    positions << i;
            return positions;
        }
        bool chooseEmployee(const QString& empId)
        {
            for (int i = 0; i < combo->count(); ++i) {
                if (combo->itemText(i).section(QLatin1Char(' '), 0, 0) == empId)
                    return WidgetTesting::choose(combo, combo->itemText(i));
            }
            return false;
        }
    };

    static QList<int> storedRights(const QString& empId)
    {
        Database db;
        Query q = db.query(QStringLiteral("SELECT * FROM EmployeeAccess WHERE EmpID = ?"), empId);
        QList<int> positions;
        if (!q.next())
            return {-1};
        for (int i = 0; i < EmployeeAccessPage::FlagCount; ++i)
            if (q.boolean(Schema::accessFlagColumns()[i]))
                positions << i;
        return positions;
    }
    static QString storedHash(const QString& empId)
    {
        Database db;
        Query q =
            db.query(QStringLiteral("SELECT Pwd, UserName FROM Login WHERE EmpID = ?"), empId);
        if (!q.next() || q.text(1) != empId)
            return {};
        return q.text(0);
    }
    // An employee record without login or rights, as a fresh Save on the other page leaves it.
    static void addBareEmployee(const QString& empId)
    {
        Database db;
        QVERIFY(db.exec(QStringLiteral("INSERT INTO Employee (EmpID, EmpFName, EmpLName) "
                                       "VALUES (?, 'Dana', 'Cole')"),
                        empId));
    }

    const QList<int> technician = {13, 16, 17, 19, 22};

private Q_SLOTS:
    void pageLayout()
    {
        TestFolder folder(TestFolder::Content::Demo);
        Window w;
        QCOMPARE(w.check(0)->text(), QStringLiteral("Backup Database"));
        QCOMPARE(w.check(3)->text(), QStringLiteral("Delete All closed Tickets"));
        QCOMPARE(w.check(12)->text(), QStringLiteral("Add Hardware/Software Type"));
        QCOMPARE(w.check(24)->text(), QStringLiteral("RePrint Invoice"));
        QCOMPARE(w.admin->text(), QStringLiteral("Give Admin Rites"));
        QCOMPARE(w.password->echoMode(), QLineEdit::Password);
        QVERIFY(!w.save->isHidden() && w.edit->isHidden());
        QVERIFY(w.combo->findText(QStringLiteral("JTT-1    Jack    Thompson")) >= 0);
    }

    void choosingShowsTheRightsAndTheButton()
    {
        TestFolder folder(TestFolder::Content::Demo);
        addBareEmployee(QStringLiteral("DC-9"));
        Window w;
        QVERIFY(w.chooseEmployee(QStringLiteral("JTT-1")));
        QCOMPARE(w.ticked(), technician);
        QVERIFY(w.save->isHidden() && !w.edit->isHidden());
        QCOMPARE(w.password->text(), QString());

        w.window.FillEmployeeLists();
        QVERIFY(w.chooseEmployee(QStringLiteral("DC-9")));
        QCOMPARE(w.ticked(), technician); // the boxes keep their state
        QVERIFY(!w.save->isHidden() && w.edit->isHidden());
    }

    void adminTicksAndUnticksEverything()
    {
        TestFolder folder(TestFolder::Content::Demo);
        Window w;
        w.check(3)->setChecked(true);
        w.admin->click();
        QCOMPARE(w.ticked().size(), EmployeeAccessPage::FlagCount);
        w.admin->click();
        QCOMPARE(w.ticked(), QList<int>());
    }

    void saveAddsRightsAndAHashedLogin()
    {
        TestFolder folder(TestFolder::Content::Demo);
        addBareEmployee(QStringLiteral("DC-9"));
        ScriptedPrompter prompts;
        Window w;
        QVERIFY(w.chooseEmployee(QStringLiteral("DC-9")));
        w.check(16)->setChecked(true);
        w.check(20)->setChecked(true);
        WidgetTesting::typeInto(w.password, QStringLiteral("Dana's pw"));
        w.save->click();
        QCOMPARE(prompts.messages(),
                 QStringList{QStringLiteral("Access rites have been added to database")});
        QCOMPARE(storedRights(QStringLiteral("DC-9")), (QList<int>{16, 20}));
        const QString hash = storedHash(QStringLiteral("DC-9"));
        QVERIFY(!hash.isEmpty() && hash != QStringLiteral("Dana's pw"));
        QVERIFY(Passwords::verify(hash, QStringLiteral("Dana's pw")));
        QVERIFY(!Passwords::verify(hash, QStringLiteral("dana's pw")));

        QCOMPARE(w.combo->currentText(), QString());
        QCOMPARE(w.password->text(), QString());
        QCOMPARE(w.ticked(), QList<int>());
    }

    void saveAndEditNeedAChosenEmployee()
    {
        TestFolder folder(TestFolder::Content::Demo);
        ScriptedPrompter prompts;
        Window w;
        w.save->click();
        w.combo->setEditText(QStringLiteral("typed, not chosen"));
        w.save->click();
        QVERIFY(w.chooseEmployee(QStringLiteral("RP-3")));
        w.combo->setEditText(QString());
        w.edit->click();
        QCOMPARE(prompts.messages(), (QStringList{QStringLiteral("Please select an Employee"),
                                                  QStringLiteral("Please select an Employee"),
                                                  QStringLiteral("Please select an employee")}));
        QCOMPARE(storedRights(QStringLiteral("RP-3")), technician);
    }

    void editKeepsThePasswordWhenTheBoxIsEmpty()
    {
        TestFolder folder(TestFolder::Content::Demo);
        ScriptedPrompter prompts;
        Window w;
        const QString before = storedHash(QStringLiteral("RP-3"));
        QVERIFY(w.chooseEmployee(QStringLiteral("RP-3")));
        w.check(0)->setChecked(true);
        w.check(16)->setChecked(false);
        w.edit->click();
        QCOMPARE(prompts.messages(), QStringList());
        QCOMPARE(storedRights(QStringLiteral("RP-3")), (QList<int>{0, 13, 17, 19, 22}));
        QCOMPARE(storedHash(QStringLiteral("RP-3")), before);
        QVERIFY(!w.save->isHidden() && w.edit->isHidden());
        QCOMPARE(w.combo->currentText(), QString());
        QCOMPARE(w.ticked(), QList<int>());

        QVERIFY(w.chooseEmployee(QStringLiteral("RP-3")));
        WidgetTesting::typeInto(w.password, QStringLiteral("NewPass"));
        w.edit->click();
        const QString after = storedHash(QStringLiteral("RP-3"));
        QVERIFY(Passwords::verify(after, QStringLiteral("NewPass")));
        QVERIFY(!Passwords::verify(after, QStringLiteral("tech")));
        QCOMPARE(storedHash(QStringLiteral("JTT-1")).isEmpty(), false);
        QVERIFY(Passwords::verify(storedHash(QStringLiteral("JTT-1")), QStringLiteral("tech")));
    }

    void clearEmptiesThePage()
    {
        TestFolder folder(TestFolder::Content::Demo);
        Window w;
        QVERIFY(w.chooseEmployee(QStringLiteral("JTT-1")));
        w.admin->click();
        WidgetTesting::typeInto(w.password, QStringLiteral("x"));
        child<QPushButton>(&w.window, "cmdEmpAccClear")->click();
        QCOMPARE(w.ticked(), QList<int>());
        QVERIFY(!w.admin->isChecked());
        QCOMPARE(w.password->text(), QString());
        QCOMPARE(w.combo->currentText(), QString());
        QVERIFY(!w.save->isHidden() && w.edit->isHidden());
    }
};

QTEST_MAIN(TestEmployeeAccess)
#include "tst_employeeaccess.moc"
