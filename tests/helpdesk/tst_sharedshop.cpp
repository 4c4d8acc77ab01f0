#include "data/programfolder.h"
#include "helpdesk/openticketspage.h"
#include "helpdesk/ticketstore.h"
#include "helpdeskfixture.h"
#include "widgets/changedrecord.h"

#include <QProcess>
#include <QTabWidget>
#include <QtTest>
#include <cstdio>

namespace {

/** The other workstation: logs one call for technician JTT-1 and prints its number. */
int logCallElsewhere(const QString& folder)
{
    ProgramFolder::setPath(folder);
    NewCall call;
    call.customerId = QStringLiteral("AES-3");
    call.priority = QStringLiteral("1-High");
    call.status = QStringLiteral("Open");
    call.technician = QStringLiteral("JTT-1");
    call.openDate = QDate::currentDate();
    call.quickDescription = QStringLiteral("Logged at the front desk");
    const auto ticket = TicketStore::logCall(call, 1);
    if (!ticket) {
        std::fprintf(stderr, "%s\n", qPrintable(ticket.status().message()));
        return 1;
    }
    std::printf("%d\n", *ticket);
    return 0;
}

QStringList ticketNumbers(HelpDeskFixture& f)
{
    QStringList numbers;
    for (const QString& line : f.list("lstOpenTickets")->lines())
        numbers << line.section(QLatin1Char('\t'), 0, 0);
    return numbers;
}

} // namespace

/** Two workstations on one shop: what one writes, the other sees; what one changed, the other
 *  does not overwrite. */
class TestSharedShop : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void aCallLoggedElsewhereIsListedAfterARefresh()
    {
        HelpDeskFixture f;
        auto* tabs = f.find<QTabWidget>("SSTab1");
        tabs->setCurrentWidget(f.window().openTicketsPage());
        const QStringList before = ticketNumbers(f);

        QProcess other;
        other.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        other.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("--log-call"), ProgramFolder::path()});
        QVERIFY(other.waitForFinished(60000));
        QCOMPARE(other.exitCode(), 0);
        const QString ticket = QString::fromLatin1(other.readAllStandardOutput()).trimmed();
        QVERIFY(!before.contains(ticket));
        QCOMPARE(ticketNumbers(f), before);

        tabs->setCurrentIndex(0);
        tabs->setCurrentWidget(f.window().openTicketsPage());
        QVERIFY2(ticketNumbers(f).contains(ticket), qPrintable(ticket));
        QCOMPARE(ticketNumbers(f).size(), before.size() + 1);
    }

    void updateCallRefusesACallChangedElsewhere_data()
    {
        QTest::addColumn<QString>("meanwhile");
        QTest::addColumn<bool>("reload");
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("shown"); // what the control shows after a reload
        QTest::newRow("comments changed, reload")
            << "UPDATE CallLog SET Comm = 'Changed there' WHERE TicketNum = 3" << true << "txtComm"
            << "Changed there";
        QTest::newRow("solution changed, reload")
            << "UPDATE ProbSol SET Solution = 'Changed there' WHERE TicketNum = 3 AND KBEntry = 0"
            << true << "txtSolOT"
            << "Changed there";
        QTest::newRow("closed there, keep the typing")
            << "UPDATE CallLog SET CallStatus = 'Closed' WHERE TicketNum = 3" << false << "txtComm"
            << QString();
        QTest::newRow("only read there")
            << "SELECT Comm FROM CallLog WHERE TicketNum = 3" << false << "txtComm" << QString();
    }

    void updateCallRefusesACallChangedElsewhere()
    {
        QFETCH(QString, meanwhile);
        QFETCH(bool, reload);
        QFETCH(QString, control);
        QFETCH(QString, shown);
        HelpDeskFixture f;
        f.chooseTicket(3);
        f.type("txtComm", "Typed here");
        f.type("txtSolOT", "Typed here");
        f.pick("combclose", "Open");
        OtherWorkstation other;
        if (meanwhile.startsWith(QLatin1String("SELECT")))
            QVERIFY(other.db().query(meanwhile).next());
        else
            QVERIFY(other.db().exec(meanwhile));
        f.prompts().answerConfirm(reload);
        f.click("cmdUpdateCall");

        auto comments = [] {
            return DbProbe::value("SELECT Comm FROM CallLog WHERE TicketNum = 3");
        };
        if (meanwhile.startsWith(QLatin1String("SELECT"))) {
            QCOMPARE(comments(), "Typed here");
            return;
        }
        QCOMPARE(f.prompts().allTexts(), QStringList{ChangedRecord::question()});
        QVERIFY(comments() != QLatin1String("Typed here"));
        const bool open = !meanwhile.contains(QLatin1String("Closed"));
        QCOMPARE(ticketNumbers(f).contains(QStringLiteral("3")), open);
        if (reload) {
            // The page shows the call as it is now; what was typed is gone with the old call.
            QCOMPARE(f.texts({control}), shown);
            QVERIFY(f.texts({"txtComm", "txtSolOT"}) != "Typed here|Typed here");
            return;
        }
        // The typing stays, and the next update writes it over the other workstation's change.
        QCOMPARE(f.texts({"txtComm", "txtSolOT"}), "Typed here|Typed here");
        QCOMPARE(f.combo("combclose")->currentText(), "Open");
        f.click("cmdUpdateCall");
        QCOMPARE(comments(), "Typed here");
        QVERIFY(ticketNumbers(f).contains(QStringLiteral("3")));
    }
};

int main(int argc, char* argv[])
{
    const QStringList arguments = [&] {
        QStringList list;
        for (int i = 0; i < argc; ++i)
            list << QString::fromLocal8Bit(argv[i]);
        return list;
    }();
    if (arguments.size() == 3 && arguments[1] == QLatin1String("--log-call")) {
        QCoreApplication app(argc, argv);
        return logCallElsewhere(arguments[2]);
    }
    QApplication app(argc, argv);
    TestSharedShop test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_sharedshop.moc"
