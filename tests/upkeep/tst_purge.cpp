#include "data/database.h"
#include "upkeep/upkeepmenu.h"
#include "support/lockpatience.h"
#include "support/scriptedprompter.h"
#include "support/secondconnection.h"
#include "support/testfolder.h"

#include <QtTest>

namespace {

qint64 count(const QString& sql)
{
    Database db;
    Query query = db.query(sql);
    return query.next() ? query.integer(0) : -1;
}

void invoke(UpkeepMenu& menu, const QByteArray& slot)
{
    QVERIFY(QMetaObject::invokeMethod(&menu, slot.constData()));
}

} // namespace

/** The purges of the File menu: one record by number, or all of a kind, after a Yes. */
class TestPurge : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void deleteOne_data()
    {
        QTest::addColumn<QByteArray>("slot");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("remaining"); // rows left with the number, bound as ?
        QTest::addColumn<QString>("answer");
        QTest::addColumn<bool>("yes");
        QTest::addColumn<QString>("message");
        QTest::addColumn<qint64>("rowsLeft");

        const QString tickets = QStringLiteral("SELECT count(*) FROM CallLog WHERE TicketNum = 3");
        // An invoice goes with its lines and payments.
        const QString invoices =
            QStringLiteral("SELECT (SELECT count(*) FROM ARInvoice WHERE InvNum = 1) + "
                           "(SELECT count(*) FROM InvDetail WHERE InvNum = 1) + "
                           "(SELECT count(*) FROM AmountPaid WHERE InvNum = 1)");
        const QString solutions =
            QStringLiteral("SELECT count(*) FROM ProbSol WHERE TicketNum = 3");
        QTest::newRow("ticket, yes") << QByteArray("mnudeloneticket_Click") << "Ticket" << tickets
                                     << "3" << true << "Ticket #: 3 has been deleted." << qint64(0);
        QTest::newRow("ticket, no") << QByteArray("mnudeloneticket_Click") << "Ticket" << tickets
                                    << "3" << false << "Deletion has been canclled" << qint64(1);
        QTest::newRow("ticket that does not exist")
            << QByteArray("mnudeloneticket_Click") << "Ticket" << tickets << "99" << true
            << "There is no Ticket #: 99." << qint64(1);
        QTest::newRow("invoice, yes")
            << QByteArray("mnudelinv_Click") << "Invoice" << invoices << " 1 " << true
            << "Invoice #: 1 has been deleted." << qint64(0);
        QTest::newRow("solution, yes")
            << QByteArray("mnuDelOneSol_Click") << "Solution" << solutions << "3" << true
            << "Solution #: 3 has been deleted." << qint64(0);
        // The demo's ticket 1 shares its number with a knowledge-base entry: the entry goes.
        QTest::newRow("solution number shared with a ticket")
            << QByteArray("mnuDelOneSol_Click") << "Solution"
            << "SELECT count(*) FROM ProbSol WHERE TicketNum = 1 AND KBEntry = 0"
            << "1" << true << "Solution #: 1 has been deleted." << qint64(1);
        QTest::newRow("solution that does not exist")
            << QByteArray("mnuDelOneSol_Click") << "Solution" << solutions << "-4" << true
            << "There is no Solution #: -4." << qint64(1);
    }

    void deleteOne()
    {
        QFETCH(QByteArray, slot);
        QFETCH(QString, name);
        QFETCH(QString, remaining);
        QFETCH(QString, answer);
        QFETCH(bool, yes);
        QFETCH(QString, message);
        QFETCH(qint64, rowsLeft);

        TestFolder folder(TestFolder::Content::Demo);
        ScriptedPrompter prompts;
        prompts.answerInput(answer);
        prompts.answerConfirm(yes);
        const qint64 ticketsBefore = count(QStringLiteral("SELECT count(*) FROM CallLog"));
        const qint64 solutionsBefore = count(QStringLiteral("SELECT count(*) FROM ProbSol"));

        UpkeepMenu menu;
        invoke(menu, slot);

        const QString number = answer.trimmed();
        QCOMPARE(
            prompts.allTexts(),
            QStringList(
                {QStringLiteral("Please enter the %1 number you want to delete").arg(name),
                 QStringLiteral("Are you sure that you want to delete %1 #%2?").arg(name, number),
                 message}));
        QCOMPARE(count(remaining), rowsLeft);
        // A ticket goes without its problem text, a solution without its ticket.
        if (name != QLatin1String("Solution"))
            QCOMPARE(count(QStringLiteral("SELECT count(*) FROM ProbSol")), solutionsBefore);
        if (name != QLatin1String("Ticket"))
            QCOMPARE(count(QStringLiteral("SELECT count(*) FROM CallLog")), ticketsBefore);
    }

    void answerThatIsNoNumberDeletesNothing_data()
    {
        QTest::addColumn<std::optional<QString>>("answer");
        QTest::addColumn<QString>("message");
        QTest::newRow("letters after digits")
            << std::optional<QString>(QStringLiteral("12abc")) << "Please enter only numbers!";
        QTest::newRow("empty") << std::optional<QString>(QString()) << "Please enter only numbers!";
        QTest::newRow("cancel") << std::optional<QString>() << "Please enter only numbers!";
        QTest::newRow("beyond 32 bits") << std::optional<QString>(QStringLiteral("4294967297"))
                                        << "There is no Invoice #: 4294967297.";
    }

    void answerThatIsNoNumberDeletesNothing()
    {
        QFETCH(std::optional<QString>, answer);
        QFETCH(QString, message);
        TestFolder folder(TestFolder::Content::Demo);
        ScriptedPrompter prompts;
        prompts.answerInput(answer);

        UpkeepMenu menu;
        menu.mnudelinv_Click();

        QCOMPARE(prompts.allTexts(),
                 QStringList({QStringLiteral("Please enter the Invoice number you want to delete"),
                              message}));
        QCOMPARE(count(QStringLiteral("SELECT count(*) FROM ARInvoice")), 1);
    }

    void deleteAll_data()
    {
        QTest::addColumn<QByteArray>("slot");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("question");
        QTest::addColumn<QString>("done");
        QTest::addColumn<QString>("survivors");
        QTest::addColumn<qint64>("survivorsAfterYes");
        QTest::addColumn<QString>("all");

        QTest::newRow("closed tickets")
            << QByteArray("mnuDelAllTic_Click") << "Delete All Closed Tickets?"
            << "Are you sure you want to delete all closed Tickets?"
            << "All closed Ticket numbers have been deleted."
            << "SELECT count(*) FROM CallLog WHERE CallStatus = 'Open'" << qint64(4)
            << "SELECT count(*) FROM CallLog";
        // The open demo invoice 1 keeps its two lines and its payment.
        QTest::newRow("paid invoices")
            << QByteArray("mnudelallinv_Click") << "Delete All Closed Invoices?"
            << "Are you sure you want to delete all closed Invoices?"
            << "All closed Invoice numbers have been deleted."
            << "SELECT (SELECT count(*) FROM ARInvoice WHERE InvPaid = 0) + "
               "(SELECT count(*) FROM InvDetail WHERE InvNum = 1) + "
               "(SELECT count(*) FROM AmountPaid WHERE InvNum = 1)"
            << qint64(4)
            << "SELECT (SELECT count(*) FROM ARInvoice) + (SELECT count(*) FROM InvDetail) + "
               "(SELECT count(*) FROM AmountPaid)";
        QTest::newRow("solutions")
            << QByteArray("mnuDelAllSols_Click") << "Delete All Solutions?"
            << "Are you sure you want to delete all Knowledge Base Solutions?"
            << "All Knowledge Base Solutions have been deleted."
            << "SELECT count(*) FROM ProbSol WHERE 0" << qint64(0)
            << "SELECT count(*) FROM ProbSol";
    }

    void deleteAll()
    {
        QFETCH(QByteArray, slot);
        QFETCH(QString, title);
        QFETCH(QString, question);
        QFETCH(QString, done);
        QFETCH(QString, survivors);
        QFETCH(qint64, survivorsAfterYes);
        QFETCH(QString, all);

        TestFolder folder(TestFolder::Content::Demo);
        {
            Database db;
            QVERIFY(db.exec(QStringLiteral("INSERT INTO ARInvoice (InvNum, InvPaid) "
                                           "VALUES (2, 1), (3, 1)")));
            QVERIFY(db.exec(QStringLiteral("INSERT INTO InvDetail (InvNum) VALUES (2), (3)")));
            QVERIFY(db.exec(QStringLiteral("INSERT INTO AmountPaid (InvNum) VALUES (2), (3)")));
        }
        const qint64 before = count(all);
        ScriptedPrompter prompts;
        UpkeepMenu menu;

        prompts.answerConfirm(false);
        invoke(menu, slot);
        QCOMPARE(prompts.shown().at(0).title, title);
        QCOMPARE(prompts.allTexts(),
                 QStringList({question, QStringLiteral("Delete has been canceled")}));
        QCOMPARE(count(all), before);

        prompts.clear();
        prompts.answerConfirm(true);
        invoke(menu, slot);
        QCOMPARE(prompts.allTexts(), QStringList({question, done}));
        QCOMPARE(count(all), survivorsAfterYes);
        QCOMPARE(count(survivors), survivorsAfterYes);
    }

    void purgeWhileAnotherWorkstationWritesReportsFailure()
    {
        TestFolder folder(TestFolder::Content::Demo);
        const LockPatience giveUpAtOnce(0, 0);
        SecondConnection other;
        Transaction writing(other.db());
        QVERIFY(writing.isActive());
        ScriptedPrompter prompts;
        prompts.answerConfirm(true);

        UpkeepMenu menu;
        menu.mnuDelAllSols_Click();

        QCOMPARE(prompts.lastMessage(),
                 QStringLiteral("Nothing has been deleted. The database is in use on another "
                                "workstation; please try again in a moment."));
        QVERIFY(writing.commit());
        QCOMPARE(count(QStringLiteral("SELECT count(*) FROM ProbSol")), 8);
    }
};

QTEST_MAIN(TestPurge)
#include "tst_purge.moc"
