#include "app/mdihelpdesk.h"
#include "login/login.h"
#include "masterdata/employee.h"
#include "support/scriptedprompter.h"
#include "support/testfolder.h"
#include "support/widgettesting.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

using WidgetTesting::child;
using WidgetTesting::typeInto;

/** Across windows: an employee created and given rights in the Employee window logs in and
 *  finds exactly the ticked menu entries on. */
class TestNewEmployeeLogin : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void createdEmployeeSeesExactlyTheTickedEntries()
    {
        TestFolder folder(TestFolder::Content::Demo);
        ScriptedPrompter prompts;
        const QList<int> ticked = {10, 16, 19, 24};
        QString empId;
        {
            Employee window;
            QVERIFY(WidgetTesting::showActive(&window));
            auto box = [&](int index) {
                return child<QLineEdit>(&window, QStringLiteral("Text1_%1").arg(index).toLatin1());
            };
            typeInto(box(0), QStringLiteral("Nora"));
            typeInto(box(1), QStringLiteral("O'Neil"));
            typeInto(box(2), QStringLiteral("b"));
            box(3)->setFocus();
            empId = box(13)->text();
            QCOMPARE(empId, QStringLiteral("NBO-4"));
            const QStringList rest = {"9 Elm Street", "Springfield",    "IL",
                                      "62701",        "(217) 555-0100", "nora@example.com",
                                      "111-22-3333",  "03/14/91",       "11/01/26"};
            for (int i = 0; i < rest.size(); ++i)
                typeInto(box(3 + i), rest[i]);
            child<QPushButton>(&window, "cmdSave")->click();

            auto* combo = child<QComboBox>(&window, "combEmpAccess");
            bool chosen = false;
            for (int i = 0; i < combo->count() && !chosen; ++i)
                if (combo->itemText(i).startsWith(empId + QLatin1Char(' ')))
                    chosen = WidgetTesting::choose(combo, combo->itemText(i));
            QVERIFY(chosen);
            child<QLineEdit>(&window, "txtPwd")->setText(QStringLiteral("Tr1cky'pw"));
            for (int position : ticked)
                child<QCheckBox>(&window, QStringLiteral("Check_%1").arg(position).toLatin1())
                    ->setChecked(true);
            child<QPushButton>(&window, "cmdEmpAccSave")->click();
        }
        QVERIFY2(prompts.messages().size() <= 2, qPrintable(prompts.allTexts().join('|')));

        MDIHelpDesk main;
        QVERIFY(WidgetTesting::showActive(&main));
        QPointer<Login> login = main.startLogin();
        QVERIFY(login);
        typeInto(login->txtEmpID, empId);
        typeInto(login->txtPwd, QStringLiteral("tr1cky'pw"));
        login->cmdLogin->click();
        QVERIFY(login); // the password compares with its case
        QCOMPARE(prompts.lastMessage(), QStringLiteral("Incorrect Employee ID or Password!"));
        typeInto(login->txtPwd, QStringLiteral("Tr1cky'pw"));
        login->cmdLogin->click();
        QTRY_VERIFY(!login);

        for (int position = 0; position < 25; ++position)
            for (const QString& name : main.entriesGuardedBy(position))
                QVERIFY2(main.entry(name)->isEnabled() == ticked.contains(position),
                         qPrintable(name));
    }
};

QTEST_MAIN(TestNewEmployeeLogin)
#include "tst_newemployeelogin.moc"
