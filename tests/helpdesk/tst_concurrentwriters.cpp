#include "data/database.h"
#include "data/programfolder.h"
#include "helpdesk/invoicestore.h"
#include "helpdesk/ticketstore.h"
#include "helpdesk/workorderstore.h"
#include "support/dbprobe.h"
#include "support/testfolder.h"

#include <QProcess>
#include <QtTest>
#include <cstdio>

namespace {

constexpr int Writers = 4;
constexpr int CallsEach = 250;
constexpr int OrdersEach = 100;
constexpr int InvoicesEach = 100;

// One workstation's share: calls, work orders and invoices, interleaved, each shown the number
// 1 so that every one is taken from its counter.
int writeAsOneWorkstation(const QString& folder, const QString& name)
{
    ProgramFolder::setPath(folder);
    auto failed = [&](const char* what, const Status& status) {
        std::fprintf(stderr, "%s: %s failed: %s\n", qPrintable(name), what,
                     qPrintable(status.message()));
        return 1;
    };
    for (int i = 0; i < CallsEach; ++i) {
        NewCall call;
        call.customerId = QStringLiteral("AES-3");
        call.priority = QStringLiteral("2-Med");
        call.status = QStringLiteral("Open");
        call.technician = QStringLiteral("JTT-1");
        call.openDate = QDate(2026, 12, 7);
        call.quickDescription = name + QStringLiteral(" call %1").arg(i);
        if (const auto ticket = TicketStore::logCall(call, 1); !ticket)
            return failed("logging a call", ticket.status());
        if (i < OrdersEach) {
            const NewWorkOrder order{QStringLiteral("RP-3"), name, QStringLiteral("AES-3"), 0};
            if (const auto numbers = WorkOrderStore::create(order, {1, 1}); !numbers)
                return failed("creating a work order", numbers.status());
        }
        if (i < InvoicesEach) {
            NewInvoice invoice;
            invoice.customerId = QStringLiteral("AES-3");
            invoice.date = QDate(2026, 12, 7);
            invoice.total = Currency::fromUnits(10000);
            invoice.lines = {{QStringLiteral("LAB-HR"), name, 1, Currency::fromUnits(10000)}};
            if (const auto number = InvoiceStore::write(invoice, 1); !number)
                return failed("writing an invoice", number.status());
        }
    }
    return 0;
}

} // namespace

/** Four workstations writing at once never share a number and lose nothing. */
class TestConcurrentWriters : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void fourWorkstationsAtOnce()
    {
        TestFolder folder(TestFolder::Content::Demo);
        const qint64 tickets = DbProbe::count("CallLog");
        const qint64 orders = DbProbe::count("RepairOrder");
        const qint64 invoices = DbProbe::count("ARInvoice");
        const qint64 lines = DbProbe::count("InvDetail");
        Database::closeKeptConnections();

        std::vector<std::unique_ptr<QProcess>> writers;
        for (int i = 0; i < Writers; ++i) {
            auto& writer = writers.emplace_back(std::make_unique<QProcess>());
            writer->setProcessChannelMode(QProcess::ForwardedErrorChannel);
            writer->start(QCoreApplication::applicationFilePath(),
                          {QStringLiteral("--writer"), folder.path(),
                           QStringLiteral("workstation-%1").arg(i + 1)});
        }
        for (auto& writer : writers) {
            QVERIFY(writer->waitForFinished(600'000));
            QCOMPARE(writer->exitCode(), 0);
        }

        QCOMPARE(DbProbe::count("CallLog"), tickets + Writers * CallsEach);
        QCOMPARE(DbProbe::value("SELECT count(DISTINCT TicketNum) FROM CallLog").toLongLong(),
                 tickets + Writers * CallsEach);
        QCOMPARE(DbProbe::count("RepairOrder"), orders + Writers * OrdersEach);
        QCOMPARE(DbProbe::value("SELECT count(DISTINCT WorkNum) FROM RepairOrder").toLongLong(),
                 orders + Writers * OrdersEach);
        QCOMPARE(DbProbe::value("SELECT count(DISTINCT RMANum) FROM RepairOrder").toLongLong(),
                 orders + Writers * OrdersEach);
        QCOMPARE(DbProbe::count("ARInvoice"), invoices + Writers * InvoicesEach);
        QCOMPARE(DbProbe::value("SELECT count(DISTINCT InvNum) FROM ARInvoice").toLongLong(),
                 invoices + Writers * InvoicesEach);
        QCOMPARE(DbProbe::count("InvDetail"), lines + Writers * InvoicesEach);
        for (const char* counterAgainstRows :
             {"SELECT (SELECT TicketNum FROM TicketCount) - (SELECT max(TicketNum) FROM CallLog)",
              "SELECT (SELECT WkOrdNum FROM WorkOrdCount) - (SELECT max(WorkNum) FROM RepairOrder)",
              "SELECT (SELECT RMANum FROM RMACount) - (SELECT max(RMANum) FROM RepairOrder)",
              "SELECT (SELECT InvNum FROM InvNumCount) - (SELECT max(InvNum) FROM ARInvoice)"})
            QCOMPARE(DbProbe::value(QString::fromLatin1(counterAgainstRows)), QStringLiteral("0"));
    }
};

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() == 4 && arguments[1] == QLatin1String("--writer"))
        return writeAsOneWorkstation(arguments[2], arguments[3]);
    TestConcurrentWriters test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_concurrentwriters.moc"
