#include "data/database.h"
#include "support/dbprobe.h"
#include "support/lockpatience.h"
#include "support/scriptedprompter.h"
#include "support/secondconnection.h"
#include "support/testfolder.h"
#include "upkeep/upkeepmenu.h"

#include <QtTest>

namespace {

void invoke(UpkeepMenu& menu, const QByteArray& slot)
{
    QVERIFY(QMetaObject::invokeMethod(&menu, slot.constData()));
}

/** An invoice with its lines and payments. */
qint64 invoiceRows(int number)
{
    return DbProbe::count("ARInvoice", "InvNum = ?", number) +
           DbProbe::count("InvDetail", "InvNum = ?", number) +
           DbProbe::count("AmountPaid", "InvNum = ?", number);
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
        QTest::addColumn<QString>("table"); // rows left with the number; empty: invoice 1's
        QTest::addColumn<QString>("where");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<bool>("yes");
        QTest::addColumn<QString>("message");
        QTest::addColumn<qint64>("rowsLeft");
        auto row = [](const char* name, const char* slot, const char* kind, const char* table,
                      const char* answer, bool yes, const char* message, qint64 left,
                      const char* where = "TicketNum = 3") {
            QTest::newRow(name) << QByteArray(slot) << kind << table << where << answer << yes
                                << message << left;
        };
        row("ticket, yes", "mnudeloneticket_Click", "Ticket", "CallLog", "3", true,
            "Ticket #: 3 has been deleted.", 0);
        row("ticket, no", "mnudeloneticket_Click", "Ticket", "CallLog", "3", false,
            "Deletion has been canclled", 1);
        row("ticket that does not exist", "mnudeloneticket_Click", "Ticket", "CallLog", "99", true,
            "There is no Ticket #: 99.", 1);
        // An invoice goes with its lines and payments.
        row("invoice, yes", "mnudelinv_Click", "Invoice", "", " 1 ", true,
            "Invoice #: 1 has been deleted.", 0);
        row("solution, yes", "mnuDelOneSol_Click", "Solution", "ProbSol", "3", true,
            "Solution #: 3 has been deleted.", 0);
        // The demo's ticket 1 shares its number with a knowledge-base entry: the entry goes and
        // the ticket's texts stay.
        row("solution number shared with a ticket", "mnuDelOneSol_Click", "Solution", "ProbSol",
            "1", true, "Solution #: 1 has been deleted.", 1, "TicketNum = 1 AND KBEntry = 0");
        row("solution that does not exist", "mnuDelOneSol_Click", "Solution", "ProbSol", "-4", true,
            "There is no Solution #: -4.", 1);
    }

    void deleteOne()
    {
        QFETCH(QByteArray, slot);
        QFETCH(QString, name);
        QFETCH(QString, table);
        QFETCH(QString, where);
        QFETCH(QString, answer);
        QFETCH(bool, yes);
        QFETCH(QString, message);
        QFETCH(qint64, rowsLeft);

        TestFolder folder(TestFolder::Content::Demo);
        ScriptedPrompter prompts;
        prompts.answerInput(answer);
        prompts.answerConfirm(yes);
        const qint64 ticketsBefore = DbProbe::count("CallLog");
        const qint64 solutionsBefore = DbProbe::count("ProbSol");

        UpkeepMenu menu;
        invoke(menu, slot);

        const QString number = answer.trimmed();
        QCOMPARE(
            prompts.allTexts(),
            QStringList(
                {QStringLiteral("Please enter the %1 number you want to delete").arg(name),
                 QStringLiteral("Are you sure that you want to delete %1 #%2?").arg(name, number),
                 message}));
        QCOMPARE(table.isEmpty() ? invoiceRows(1) : DbProbe::count(table, where), rowsLeft);
        // A ticket goes without its problem text, a solution without its ticket.
        if (name != QLatin1String("Solution"))
            QCOMPARE(DbProbe::count("ProbSol"), solutionsBefore);
        if (name != QLatin1String("Ticket"))
            QCOMPARE(DbProbe::count("CallLog"), ticketsBefore);
    }

    void answerThatIsNoNumberDeletesNothing_data()
    {
        QTest::addColumn<std::optional<QString>>("answer");
        QTest::addColumn<QString>("message");
        const QString onlyNumbers = QStringLiteral("Please enter only numbers!");
        QTest::newRow("letters after digits") << std::optional<QString>("12abc") << onlyNumbers;
        QTest::newRow("cancel") << std::optional<QString>() << onlyNumbers;
        QTest::newRow("beyond 32 bits")
            << std::optional<QString>("4294967297") << "There is no Invoice #: 4294967297.";
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
        QCOMPARE(DbProbe::count("ARInvoice"), 1);
    }

    void deleteAll_data()
    {
        QTest::addColumn<QByteArray>("slot");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("question");
        QTest::addColumn<QString>("done");
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("survivors"); // the rows of the table that stay
        auto row = [](const char* slot, const char* title, const char* question, const char* done,
                      const char* table, const char* survivors) {
            QTest::newRow(slot) << QByteArray(slot) << title << question << done << table
                                << survivors;
        };
        row("mnuDelAllTic_Click", "Delete All Closed Tickets?",
            "Are you sure you want to delete all closed Tickets?",
            "All closed Ticket numbers have been deleted.", "CallLog", "CallStatus = 'Open'");
        // The open demo invoice 1 keeps its two lines and its payment.
        row("mnudelallinv_Click", "Delete All Closed Invoices?",
            "Are you sure you want to delete all closed Invoices?",
            "All closed Invoice numbers have been deleted.", "", "");
        row("mnuDelAllSols_Click", "Delete All Solutions?",
            "Are you sure you want to delete all Knowledge Base Solutions?",
            "All Knowledge Base Solutions have been deleted.", "ProbSol", "0 = 1");
    }

    void deleteAll()
    {
        QFETCH(QByteArray, slot);
        QFETCH(QString, title);
        QFETCH(QString, question);
        QFETCH(QString, done);
        QFETCH(QString, table);
        QFETCH(QString, survivors);
        TestFolder folder(TestFolder::Content::Demo);
        QVERIFY(DbProbe::exec("INSERT INTO ARInvoice (InvNum, InvPaid) VALUES (2, 1), (3, 1)"));
        QVERIFY(DbProbe::exec("INSERT INTO InvDetail (InvNum) VALUES (2), (3)"));
        QVERIFY(DbProbe::exec("INSERT INTO AmountPaid (InvNum) VALUES (2), (3)"));
        auto rows = [&] {
            return table.isEmpty() ? invoiceRows(1) + invoiceRows(2) + invoiceRows(3)
                                   : DbProbe::count(table);
        };
        const qint64 before = rows();
        const qint64 kept = table.isEmpty() ? invoiceRows(1) : DbProbe::count(table, survivors);
        ScriptedPrompter prompts;
        UpkeepMenu menu;

        prompts.answerConfirm(false);
        invoke(menu, slot);
        QCOMPARE(prompts.shown().at(0).title, title);
        QCOMPARE(prompts.allTexts(),
                 QStringList({question, QStringLiteral("Delete has been canceled")}));
        QCOMPARE(rows(), before);

        prompts.clear();
        prompts.answerConfirm(true);
        invoke(menu, slot);
        QCOMPARE(prompts.allTexts(), QStringList({question, done}));
        QCOMPARE(rows(), kept);
    }

    void aFailedPurgeDeletesNothing()
    {
        TestFolder folder(TestFolder::Content::Demo);
        ScriptedPrompter prompts;
        prompts.answerInput(QStringLiteral("1"));
        // The invoice itself cannot go: its lines and payment stay with it.
        if (TestFolder::onServer()) {
            QVERIFY(DbProbe::exec("CREATE FUNCTION keep_invoices() RETURNS trigger LANGUAGE "
                                  "plpgsql AS $$BEGIN RAISE EXCEPTION 'kept'; END$$"));
            QVERIFY(DbProbe::exec("CREATE TRIGGER KeepInvoices BEFORE DELETE ON ARInvoice "
                                  "FOR EACH ROW EXECUTE FUNCTION keep_invoices()"));
        } else {
            QVERIFY(DbProbe::exec("CREATE TRIGGER KeepInvoices BEFORE DELETE ON ARInvoice "
                                  "BEGIN SELECT RAISE(ABORT, 'kept'); END"));
        }
        const qint64 before = invoiceRows(1);
        UpkeepMenu menu;
        menu.mnudelinv_Click();
        QVERIFY(prompts.lastMessage().startsWith("Invoice #: 1 could not be deleted."));
        QCOMPARE(invoiceRows(1), before);

        // Another workstation writing holds the purge off (the file's lock).
        if (TestFolder::onServer())
            return;
        prompts.clear();
        const LockPatience giveUpAtOnce(0, 0);
        SecondConnection other;
        Transaction writing(other.db());
        QVERIFY(writing.isActive());
        menu.mnuDelAllSols_Click();
        QCOMPARE(prompts.lastMessage(),
                 QStringLiteral("Nothing has been deleted. The database is in use on another "
                                "workstation; please try again in a moment."));
        QVERIFY(writing.commit());
        QCOMPARE(DbProbe::count("ProbSol"), 8);
    }
};

QTEST_MAIN(TestPurge)
#include "tst_purge.moc"
