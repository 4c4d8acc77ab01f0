#include "app/mdihelpdesk.h"
#include "data/database.h"
#include "support/lockpatience.h"
#include "support/scriptedprompter.h"
#include "support/secondconnection.h"
#include "support/testfolder.h"
#include "support/widgettesting.h"
#include "widgets/lockwaitnotice.h"
#include "widgets/statusnotice.h"

#include <QCursor>
#include <QGuiApplication>
#include <QStatusBar>
#include <QtTest>

/** A write that another workstation holds up: it waits, and the main window says so; and a
 *  window's notice reaches the main window's status bar. */
class TestLockWaitNotice : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void aNoticeStaysInTheStatusBarUntilWithdrawn()
    {
        TestFolder folder(TestFolder::Content::Demo);
        ScriptedPrompter prompts;
        MDIHelpDesk main;
        QVERIFY(WidgetTesting::showActive(&main));
        StatusNotice::install(nullptr);
        const QString text = QStringLiteral("The customer list could not be read: gone");
        statusNotice().show(text);
        QCOMPARE(main.statusBar()->currentMessage(), text);
        statusNotice().withdraw(QStringLiteral("Another notice"));
        QCOMPARE(main.statusBar()->currentMessage(), text);
        statusNotice().withdraw(text);
        QCOMPARE(main.statusBar()->currentMessage(), QString());
        StatusNotice::install(&prompts);
    }

    void writeWaitsWithTheHourglassAndALineInTheStatusBar()
    {
        // The wait is for the file's write lock, which a server's row locks do not share.
        SKIP_ON_SERVER();
        TestFolder folder(TestFolder::Content::Demo);
        ScriptedPrompter prompts;
        MDIHelpDesk main;
        QVERIFY(WidgetTesting::showActive(&main));
        // Reads give up at once; the write still waits.
        const LockPatience patience(0, 60000);
        SecondConnection other;
        Transaction compacting(other.db());
        QVERIFY(compacting.isActive());

        QString shown;
        bool hourglass = false;
        const Database::LockWaitNotice mainWindowNotice = Database::setLockWaitNotice({});
        Database::setLockWaitNotice([&](bool waiting) {
            mainWindowNotice(waiting);
            if (!waiting)
                return;
            shown = main.statusBar()->currentMessage();
            hourglass = QGuiApplication::overrideCursor() &&
                        QGuiApplication::overrideCursor()->shape() == Qt::WaitCursor;
            // The other workstation finishes once this one has said that it waits.
            QVERIFY(compacting.commit());
        });
        const Status written = Database::write([](Database& db) {
            return db.exec(QStringLiteral("UPDATE TicketCount SET TicketNum = 40"));
        });
        Database::setLockWaitNotice(mainWindowNotice);

        QVERIFY2(written, qPrintable(written.message()));
        QCOMPARE(shown, QString::fromUtf8(LockWaitNotice::Text));
        QVERIFY(hourglass);
        QCOMPARE(main.statusBar()->currentMessage(), QString());
        QVERIFY(!QGuiApplication::overrideCursor());
    }
};

QTEST_MAIN(TestLockWaitNotice)
#include "tst_lockwaitnotice.moc"
