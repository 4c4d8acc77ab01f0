#include "app/mdihelpdesk.h"
#include "data/database.h"
#include "data/databasesetup.h"
#include "data/programfolder.h"
#include "data/session.h"
#include "data/shopkey.h"
#include "login/login.h"
#include "login/loginstore.h"
#include "reports/recoverysheet.h"
#include "support/reportcapture.h"
#include "support/scriptedprompter.h"
#include "support/testfolder.h"
#include "support/widgettesting.h"

#include <QFile>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

using WidgetTesting::child;

/** Start-up, login and the switching of the main window's menus. */
class TestLogin : public QObject {
    Q_OBJECT

    struct Started {
        std::unique_ptr<MDIHelpDesk> main = std::make_unique<MDIHelpDesk>();
        QPointer<Login> login;
        Started()
        {
            WidgetTesting::showActive(main.get());
            login = main->startLogin();
        }
        bool enabled(const char* name) const
        {
            QAction* action = main->entry(QString::fromLatin1(name));
            if (!action)
                qFatal("no menu entry %s", name);
            return action->isEnabled();
        }
    };

    static void addEmployee(const QString& id, const QString& password,
                            std::optional<QList<bool>> rights)
    {
        Database db;
        QVERIFY(db.exec(QStringLiteral("INSERT INTO Employee (EmpID) VALUES (?)"), id));
        QVERIFY(DatabaseSetup::addLogin(db, id, password, rights.value_or(QList<bool>(25, true))));
        if (!rights)
            QVERIFY(db.exec(QStringLiteral("DELETE FROM EmployeeAccess WHERE EmpID = ?"), id));
    }

    static void logIn(Login* login, const QString& id, const QString& password)
    {
        WidgetTesting::typeInto(login->txtEmpID, id);
        WidgetTesting::typeInto(login->txtPwd, password);
        login->cmdLogin->click();
    }

private Q_SLOTS:
    void init() { Session::setCurrentEmployeeId(QString()); }

    void firstStartTypesCapitalsAndEnterSubmits()
    {
        TestFolder folder(TestFolder::Content::Demo);
        ScriptedPrompter prompts;
        Started start;
        QVERIFY(start.login);
        QVERIFY(start.login->txtEmpID->text().isEmpty());
        for (const char* menu : {"mnuFile", "mnucomp", "mnuopt", "mnurpt", "mnuwind", "mnuHelp"})
            QVERIFY(!start.enabled(menu));

        start.login->txtEmpID->setFocus();
        QTest::keyClicks(start.login->txtEmpID, QStringLiteral("slm-2"));
        QCOMPARE(start.login->txtEmpID->text(), QStringLiteral("SLM-2"));
        QTest::keyClick(start.login->txtEmpID, Qt::Key_Return);
        QVERIFY(start.login->txtPwd->hasFocus());
        QTest::keyClicks(start.login->txtPwd, QStringLiteral("manager"));
        QTest::keyClick(start.login->txtPwd, Qt::Key_Return);

        QTRY_VERIFY(!start.login);
        QCOMPARE(start.main->currentEmployeeBox()->text(), QStringLiteral("SLM-2"));
        QCOMPARE(Session::currentEmployeeId(), QStringLiteral("SLM-2"));
        QFile remembered(folder.filePath(QStringLiteral("EmpID.dat")));
        QVERIFY(remembered.open(QIODevice::ReadOnly));
        QCOMPARE(remembered.readAll(), QByteArray("SLM-2\r\n"));
        QVERIFY(start.enabled("mnuFile") && start.enabled("mnuHelp"));
        QVERIFY(start.enabled("mnuhdsk"));
        QVERIFY(!start.enabled("mnubackup")); // the manager has no backup right

        Started next;
        QCOMPARE(next.login->txtEmpID->text(), QStringLiteral("SLM-2"));
        // The remembered ID is chosen as the window opens, so another one typed replaces it.
        QTRY_VERIFY(next.login->txtEmpID->hasFocus());
        QTest::keyClicks(next.login->txtEmpID, QStringLiteral("jtt-1"));
        QCOMPARE(next.login->txtEmpID->text(), QStringLiteral("JTT-1"));
    }

    void refusedLoginsKeepTheBoxes()
    {
        TestFolder folder(TestFolder::Content::Demo);
        ScriptedPrompter prompts;
        Started start;
        start.login->cmdLogin->click();
        QCOMPARE(prompts.lastMessage(), QStringLiteral("Please enter a user name"));
        start.login->txtPwd->setText(QStringLiteral("tech"));
        start.login->cmdLogin->click();
        QCOMPARE(prompts.lastMessage(), QStringLiteral("Please enter a user name"));
        start.login->txtPwd->clear();
        start.login->txtEmpID->setText(QStringLiteral("JTT-1"));
        start.login->cmdLogin->click();
        QCOMPARE(prompts.lastMessage(), QStringLiteral("Please enter a password"));

        for (const QString& wrong : {QStringLiteral("TECH"), QStringLiteral("' or '1'='1")}) {
            prompts.clear();
            logIn(start.login, QStringLiteral("JTT-1"), wrong);
            QCOMPARE(prompts.messages(), QStringList{"Incorrect Employee ID or Password!"});
            QVERIFY(start.login);
            QCOMPARE(start.login->txtEmpID->text(), QStringLiteral("JTT-1"));
            QCOMPARE(start.login->txtPwd->selectedText(), wrong);
            QVERIFY(!QGuiApplication::overrideCursor());
        }
        prompts.clear();
        logIn(start.login, QStringLiteral("' OR '1'='1"), QStringLiteral("' or '1'='1"));
        QCOMPARE(prompts.messages(), QStringList{"Incorrect Employee ID or Password!"});
        QVERIFY(!start.enabled("mnuFile"));
        QVERIFY(!QFile::exists(folder.filePath(QStringLiteral("EmpID.dat"))));
        // Attempts are unlimited.
        logIn(start.login, QStringLiteral("jtt-1"), QStringLiteral("tech"));
        QTRY_VERIFY(!start.login);
    }

    void accessFlagsSwitchTheirEntries()
    {
        TestFolder folder;
        ScriptedPrompter prompts;
        QList<bool> rights(25, true);
        rights[18] = false; // billing statement
        rights[19] = false; // call log statistics and open tickets
        rights[23] = false; // print all invoices
        addEmployee(QStringLiteral("ABC-1"), QStringLiteral("pw"), rights);
        addEmployee(QStringLiteral("NOA-1"), QStringLiteral("pw"), std::nullopt);
        Started start;
        logIn(start.login, QStringLiteral("ABC-1"), QStringLiteral("pw"));
        QTRY_VERIFY(!start.login);
        for (const char* off : {"mnuCallStat", "mnuopnticket", "mnuopentickets", "mnuOpnTickTech",
                                "mnuBill", "mnuPrtAllInv"})
            QVERIFY2(!start.enabled(off), off);
        const char* const alwaysOn[] = {"mnusaltax", "mnuwrkorder", "mnuChgPwd", "mnuexit",
                                        "mnutick",   "mnulst",      "mnuabout",  "mnugethelp"};
        for (const char* on : alwaysOn)
            QVERIFY2(start.enabled(on), on);
        for (const char* on : {"mnuBillDate", "mnuBillfull", "mnuKB", "mnuReprint", "mnusaltaxdate",
                               "mnusaltaxfull", "mnubackup"})
            QVERIFY2(start.enabled(on), on);

        // An employee without an access row gets no guarded entry.
        Started next;
        logIn(next.login, QStringLiteral("NOA-1"), QStringLiteral("pw"));
        QTRY_VERIFY(!next.login);
        for (int position = 0; position < 25; ++position)
            for (const QString& name : next.main->entriesGuardedBy(position))
                QVERIFY2(!next.main->entry(name)->isEnabled(), qPrintable(name));
        for (const char* on : alwaysOn)
            QVERIFY2(next.enabled(on), on);
    }

    void theShopsKeyEntriesAreTheAdministratorsAndFollowTheKey()
    {
        TestFolder folder(TestFolder::Content::Demo);
        ScriptedPrompter prompts;
        const QStringList entries = {"mnuOwnKey", "mnuSaveKey", "mnuKeySheet"};
        auto shown = [](const Started& at) {
            auto* file = at.main->findChild<QMenu*>(QStringLiteral("mnuFile"));
            Q_EMIT file->aboutToShow();
            QStringList visible;
            for (const char* name : {"mnuOwnKey", "mnuSaveKey", "mnuKeySheet"})
                if (at.main->entry(QString::fromLatin1(name))->isVisible())
                    visible << QString::fromLatin1(name);
            return visible;
        };
        QList<bool> rights(25, true);
        rights[9] = false; // Add/Edit Employee
        addEmployee(QStringLiteral("ABC-1"), QStringLiteral("pw"), rights);
        {
            Started clerk;
            logIn(clerk.login, QStringLiteral("ABC-1"), QStringLiteral("pw"));
            QTRY_VERIFY(!clerk.login);
            for (const QString& name : entries)
                QVERIFY2(!clerk.main->entry(name)->isEnabled(), qPrintable(name));
        }
        Started admin;
        logIn(admin.login, QStringLiteral("ADMIN"), TestFolder::adminPassword());
        QTRY_VERIFY(!admin.login);
        for (const QString& name : entries)
            QVERIFY2(admin.main->entry(name)->isEnabled(), qPrintable(name));
        if (TestFolder::onServer()) {
            QCOMPARE(shown(admin), QStringList());
            return;
        }
        QCOMPARE(shown(admin), QStringList({"mnuSaveKey", "mnuKeySheet"}));
        QVERIFY(folder.useOldPassword());
        QCOMPARE(shown(admin), QStringList{"mnuOwnKey"});

        prompts.answerConfirm(true);
        admin.main->entry(QStringLiteral("mnuOwnKey"))->trigger();
        QVERIFY(prompts.shown()[0].text.contains(QLatin1String("other workstation")));
        const QString keyFile = folder.filePath(QString::fromLatin1(ShopKey::FileName));
        QVERIFY2(prompts.lastMessage().contains(keyFile) &&
                     prompts.lastMessage().contains(QLatin1String(".before-own-key-")),
                 qPrintable(prompts.lastMessage()));
        const Result<ShopKey> key = ShopKey::readFile(keyFile);
        QVERIFY(key && opensWithKey(folder.databasePath(), key->sqlcipherKey()));
        QCOMPARE(shown(admin), QStringList({"mnuSaveKey", "mnuKeySheet"}));

        QTemporaryDir away;
        const QString saved = away.filePath(QStringLiteral("shop.key"));
        prompts.answerFile(saved);
        admin.main->entry(QStringLiteral("mnuSaveKey"))->trigger();
        QVERIFY(prompts.lastMessage().contains(saved));
        QCOMPARE(ShopKey::readFile(saved).value(), key.value());
        QCOMPARE(modeOf(saved), 0600);

        ReportCapture capture;
        admin.main->entry(QStringLiteral("mnuKeySheet"))->trigger();
        QCOMPARE(capture.runs().size(), 1);
        const QString text = capture.text(capture.last());
        for (const QString& line : RecoverySheet::keyLines(*key))
            QVERIFY2(text.contains(line), qPrintable(text));
        QVERIFY2(text.contains(QLatin1String("Northgate PC Repair")), qPrintable(text));
    }

    void menuWindowsOpenOnceAndAreListed()
    {
        TestFolder folder(TestFolder::Content::Demo);
        ScriptedPrompter prompts;
        Started start;
        logIn(start.login, QStringLiteral("ADMIN"), TestFolder::adminPassword());
        QTRY_VERIFY(!start.login);
        start.main->entry(QStringLiteral("mnuChgPwd"))->trigger();
        start.main->entry(QStringLiteral("mnuChgPwd"))->trigger();
        QCOMPARE(start.main->mdiArea()->subWindowList().size(), 1);
        QMenu* windows = start.main->findChild<QMenu*>(QStringLiteral("mnuwind"));
        Q_EMIT windows->aboutToShow();
        QStringList titles;
        for (QAction* action : windows->actions())
            titles << action->text();
        QVERIFY(titles.contains(QStringLiteral("&1 Change Password")));
    }

    void exitEndsTheProgramWithWindowsOpen_data()
    {
        QTest::addColumn<bool>("fromMenu");
        QTest::newRow("File, Exit") << true;
        QTest::newRow("closing the main window") << false;
    }

    void exitEndsTheProgramWithWindowsOpen()
    {
        QFETCH(bool, fromMenu);
        TestFolder folder(TestFolder::Content::Demo);
        ScriptedPrompter prompts;
        Started start;
        logIn(start.login, QStringLiteral("ADMIN"), TestFolder::adminPassword());
        QTRY_VERIFY(!start.login);
        for (const char* name : {"mnuaddcust", "mnuBillDate", "mnusaltaxdate", "mnubackup",
                                 "mnuabout", "mnugethelp", "mnuEmplst"})
            start.main->entry(QString::fromLatin1(name))->trigger();

        QTimer::singleShot(0, start.main.get(), [&] {
            if (fromMenu)
                start.main->entry(QStringLiteral("mnuexit"))->trigger();
            else
                start.main->close();
        });
        // Only a program that goes on running reaches this.
        QTimer stillRunning;
        stillRunning.setSingleShot(true);
        connect(&stillRunning, &QTimer::timeout, [] { QCoreApplication::exit(1); });
        stillRunning.start(60000);
        QCOMPARE(QApplication::exec(), 0);
        for (QWidget* window : QApplication::topLevelWidgets())
            QVERIFY2(!window->isVisible(), qPrintable(window->objectName()));
        QCOMPARE(prompts.allTexts(), QStringList());
    }
};

QTEST_MAIN(TestLogin)
#include "tst_login.moc"
