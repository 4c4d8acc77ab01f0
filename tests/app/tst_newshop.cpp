#include "app/mdihelpdesk.h"
#include "app/newshop.h"
#include "login/login.h"
#include "support/filecontents.h"
#include "support/scriptedprompter.h"
#include "support/testfolder.h"
#include "support/widgettesting.h"

#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

using WidgetTesting::typeInto;

/** The first start of a folder without a shop, and a database file that holds no shop. */
class TestNewShop : public QObject {
    Q_OBJECT

    static bool menusOn(MDIHelpDesk& main)
    {
        return main.entry(QStringLiteral("mnuFile"))->isEnabled();
    }

private Q_SLOTS:
    void firstStartCreatesTheShopThenLogsIn_data()
    {
        QTest::addColumn<bool>("demo");
        QTest::addColumn<QString>("empId");
        QTest::addColumn<QString>("password");
        QTest::newRow("new shop") << false << "ADMIN"
                                  << "counter-7";
        QTest::newRow("demo shop") << true << "JTT-1"
                                   << "tech";
    }

    void firstStartCreatesTheShopThenLogsIn()
    {
        QFETCH(bool, demo);
        QFETCH(QString, empId);
        QFETCH(QString, password);
        TestFolder folder(TestFolder::Content::NoDatabase);
        ScriptedPrompter prompts;
        MDIHelpDesk main;
        WidgetTesting::showActive(&main);
        main.start();
        QPointer<NewShop> newShop = main.findChild<NewShop*>();
        QVERIFY(newShop);
        QVERIFY(!menusOn(main));

        if (demo) {
            newShop->cmdDemo->click();
        } else {
            typeInto(newShop->txtAdminPwd, password);
            typeInto(newShop->txtAdminPwdAgain, password);
            QTest::keyClick(newShop->txtAdminPwdAgain, Qt::Key_Return);
        }
        QVERIFY(QFile::exists(folder.databasePath()));
        QTRY_VERIFY(!newShop);
        QPointer<Login> login = main.findChild<Login*>();
        QVERIFY(login);
        typeInto(login->txtEmpID, empId);
        typeInto(login->txtPwd, password);
        login->cmdLogin->click();
        QTRY_VERIFY(!login);
        QVERIFY(menusOn(main));
    }

    void newShopPasswordRules_data()
    {
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("again");
        QTest::addColumn<QString>("message");
        QTest::newRow("short") << "seven77"
                               << "seven77"
                               << "The administrator's password needs at least 8 characters.";
        QTest::newRow("differ") << "long-enough"
                                << "long-enougH"
                                << "The two passwords differ.";
    }

    void newShopPasswordRules()
    {
        QFETCH(QString, password);
        QFETCH(QString, again);
        QFETCH(QString, message);
        TestFolder folder(TestFolder::Content::NoDatabase);
        ScriptedPrompter prompts;
        NewShop window;
        typeInto(window.txtAdminPwd, password);
        typeInto(window.txtAdminPwdAgain, again);
        window.cmdCreate->click();
        QCOMPARE(prompts.messages(), QStringList{message});
        QVERIFY(!QFile::exists(folder.databasePath()));
    }

    void aFileThatHoldsNoShopIsLeftAlone_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("says");
        QTest::newRow("empty") << QByteArray() << "is empty (0 bytes)";
        QTest::newRow("another file")
            << QByteArray("Not a database at all.\n") << "is not a Quorvane database";
    }

    void aFileThatHoldsNoShopIsLeftAlone()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, says);
        TestFolder folder(TestFolder::Content::NoDatabase);
        QVERIFY(writeFile(folder.databasePath(), content));
        ScriptedPrompter prompts;
        MDIHelpDesk main;
        main.start();
        QCOMPARE(prompts.messages().size(), 1);
        QVERIFY2(prompts.lastMessage().contains(says), qPrintable(prompts.lastMessage()));
        QVERIFY(main.mdiArea()->subWindowList().isEmpty());
        QVERIFY(!menusOn(main));
        QCOMPARE(contentsOf(folder.databasePath()), content);
    }
};

QTEST_MAIN(TestNewShop)
#include "tst_newshop.moc"
