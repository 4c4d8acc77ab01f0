#include "login/changepass.h"
#include "login/loginstore.h"
#include "support/scriptedprompter.h"
#include "support/testfolder.h"
#include "support/widgettesting.h"

#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

/** Changing a login's password. */
class TestChangePass : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void refusals_data()
    {
        QTest::addColumn<QString>("id");
        QTest::addColumn<QString>("current");
        QTest::addColumn<QString>("next");
        QTest::addColumn<QString>("message");
        const char* missing = "You must enter your user ID, old password and new password!";
        const char* noMatch = "Old Password does not match database, please try again.";
        const char* idDiffers = "Current password does not match please try again";
        auto row = [](const char* name, const char* id, const char* current, const char* next,
                      const char* message) {
            QTest::newRow(name) << id << current << next << message;
        };
        row("no new password", "JTT-1", "tech", "", missing);
        row("no id", "", "tech", "new", missing);
        row("wrong password", "JTT-1", "nope", "new", noMatch);
        row("password in other case", "JTT-1", "TECH", "new", noMatch);
        row("unknown id", "ZZZ-9", "tech", "new", noMatch);
        row("id in other case", "jtt-1", "tech", "new", idDiffers);
        row("id with blanks", " JTT-1 ", "tech", "new", idDiffers);
        row("injection", "JTT-1' --", "x' or '1'='1", "new", noMatch);
    }

    void refusals()
    {
        QFETCH(QString, id);
        QFETCH(QString, current);
        QFETCH(QString, next);
        QFETCH(QString, message);
        TestFolder folder(TestFolder::Content::Demo);
        ScriptedPrompter prompts;
        ChangePass window;
        window.txtEmpID->setText(id);
        window.txtCurrPass->setText(current);
        window.txtNewPass->setText(next);
        window.cmdChgPass->click();
        QCOMPARE(prompts.messages(), QStringList{message});
        QVERIFY(LoginStore::check(QStringLiteral("JTT-1"), QStringLiteral("tech"))->matched);
        QVERIFY(!QFile::exists(folder.filePath(QStringLiteral("EmpID.dat"))));
    }

    void changeTakesEffectAndRemembersTheId()
    {
        TestFolder folder(TestFolder::Content::Demo);
        ScriptedPrompter prompts;
        QVERIFY(LastEmployee::write(QStringLiteral("SLM-2")));
        auto* window = new ChangePass;
        QPointer<ChangePass> alive(window);
        window->setAttribute(Qt::WA_DeleteOnClose);
        QVERIFY(WidgetTesting::showActive(window));
        QCOMPARE(window->txtEmpID->text(), QStringLiteral("SLM-2"));
        WidgetTesting::typeInto(window->txtEmpID, QStringLiteral("rp-3"));
        QCOMPARE(window->txtEmpID->text(), QStringLiteral("RP-3"));
        window->txtCurrPass->setText(QStringLiteral("tech"));
        window->txtNewPass->setFocus();
        QTest::keyClicks(window->txtNewPass, QStringLiteral("N3w secret"));
        QTest::keyClick(window->txtNewPass, Qt::Key_Return);
        QCOMPARE(prompts.messages(), QStringList{"Your password has been changed"});
        QTRY_VERIFY(!alive);
        QVERIFY(!LoginStore::check(QStringLiteral("RP-3"), QStringLiteral("tech"))->matched);
        QVERIFY(LoginStore::check(QStringLiteral("RP-3"), QStringLiteral("N3w secret"))->matched);
        QCOMPARE(LastEmployee::read(), QStringLiteral("RP-3"));
    }
};

QTEST_MAIN(TestChangePass)
#include "tst_changepass.moc"
