// Times the real windows on a shop the size of ten years' work, beside the bare SQL each action
// needs: bench_windows [DATABASE] [--runs N] [--scale S]. A DATABASE that does not exist yet is
// generated there, so that later runs reuse it; without one, a shop is generated for this run.
#include "app/login.h"
#include "app/session.h"
#include "benchharness.h"
#include "data/database.h"
#include "data/passwords.h"
#include "data/schema.h"
#include "helpdesk/helpdesk.h"
#include "receivables/custhistory.h"
#include "receivables/payment.h"
#include "reports/backupfile.h"
#include "reports/compactdatabase.h"
#include "shopgenerator.h"
#include "sqlfloors.h"
#include "support/scriptedprompter.h"
#include "support/testfolder.h"
#include "tickets/openorders.h"
#include "windowdriver.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <cstdio>

using BenchHarness::Row;

namespace {

constexpr double WindowTarget = 100;
constexpr double ReportTarget = 10000;
const QString TechnicianPassword = QStringLiteral("tech");

struct Options {
    QString database;
    int runs = 7;
    double scale = 1.0;
};

Options parseOptions(const QApplication& app)
{
    QCommandLineParser parser;
    parser.addPositionalArgument(QStringLiteral("database"),
                                 QStringLiteral("Shop database to reuse (generated if absent)."));
    const QCommandLineOption runs(QStringLiteral("runs"), QStringLiteral("Runs per action."),
                                  QStringLiteral("n"), QStringLiteral("7"));
    const QCommandLineOption scale(QStringLiteral("scale"),
                                   QStringLiteral("Size of a generated shop, 0..1."),
                                   QStringLiteral("s"), QStringLiteral("1"));
    parser.addOptions({runs, scale});
    parser.addHelpOption();
    parser.process(app);
    Options options;
    if (!parser.positionalArguments().isEmpty())
        options.database = QFileInfo(parser.positionalArguments().constFirst()).absoluteFilePath();
    options.runs = std::max(1, parser.value(runs).toInt());
    options.scale = parser.value(scale).toDouble();
    return options;
}

ShopSize scaled(double scale)
{
    const ShopSize full;
    auto part = [scale](int n) { return std::max(1, static_cast<int>(n * scale)); };
    return {part(full.customers), full.employees,          part(full.inventory),
            part(full.tickets),   part(full.invoices),     part(full.invoiceLines),
            part(full.payments),  part(full.knowledgeBase)};
}

void say(const QString& text)
{
    std::fprintf(stderr, "%s\n", qPrintable(text));
}

QString loadAverage()
{
    QFile file(QStringLiteral("/proc/loadavg"));
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("unknown");
    return QString::fromLatin1(file.readAll()).section(QLatin1Char(' '), 0, 2);
}

QtMessageHandler standardHandler = nullptr;

// The offscreen platform says for every window shown that it cannot pass on size hints.
void quietPlatformNotes(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (!text.contains(QLatin1String("propagateSizeHints")) && standardHandler)
        standardHandler(type, context, text);
}

/** Puts the shop's database into the program folder: a copy of the given file, generated
 *  there first when it does not exist. */
bool placeDatabase(const Options& options, const QString& target)
{
    const QString source = options.database.isEmpty() ? target : options.database;
    if (!QFileInfo::exists(source)) {
        say(QStringLiteral("Generating the shop in %1 ...").arg(source));
        QElapsedTimer timer;
        timer.start();
        const Status status = generateShop(source, scaled(options.scale));
        Database::closeKeptConnections();
        if (!status) {
            say(status.message());
            return false;
        }
        say(QStringLiteral("... generated in %1 s").arg(timer.elapsed() / 1000.0, 0, 'f', 1));
    }
    if (source != target && !QFile::copy(source, target))
        return false;
    // A file made by an earlier build gets the indexes added since.
    Database db(target);
    const Status upgraded = Schema::upgrade(db);
    if (!upgraded)
        say(upgraded.message());
    return upgraded.isOk();
}

QString storedHash(const QString& empId)
{
    Database db;
    Query q = db.query(QStringLiteral("SELECT Pwd FROM Login WHERE EmpID = ?"), empId);
    return q.next() ? q.text(0) : QString();
}

/** Runs `floor` on a data-layer scope of its own, as the windows' handlers do. */
template <typename F> double floorMs(int runs, F floor)
{
    return BenchHarness::medianMs(runs, [&] {
        Database db;
        floor(db);
    });
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("QUORVANE_PROGRAM_TEMPLATE"))
        qputenv("QUORVANE_PROGRAM_TEMPLATE", QUORVANE_PROGRAM_TEMPLATE);
    QApplication app(argc, argv);
    standardHandler = qInstallMessageHandler(quietPlatformNotes);
    const Options options = parseOptions(app);
    const int runs = options.runs;
    const int slowRuns = std::max(1, std::min(runs, 3));

    TestFolder folder(TestFolder::Content::NoDatabase);
    if (!folder.isValid() || !placeDatabase(options, folder.databasePath())) {
        say(QStringLiteral("Cannot prepare the program folder."));
        return 1;
    }
    ScriptedPrompter prompts;
    WindowDriver driver(prompts);
    const QString loadBefore = loadAverage();
    const QString busyCustomer = BusiestShop::CustomerId;
    const QString busyTech = BusiestShop::TechnicianId;
    QList<Row> rows;

    say(QStringLiteral("Login ..."));
    const QString hash = storedHash(busyTech);
    rows << Row{QStringLiteral("Password verification alone (Argon2id)"),
                BenchHarness::medianMs(runs, [&] { Passwords::verify(hash, TechnicianPassword); }),
                0, 0, QStringLiteral("deliberately slow")};
    rows << Row{
        QStringLiteral("Login: open window"), driver.timeOpening<Login>(runs), 0, WindowTarget, {}};
    rows << Row{
        QStringLiteral("Login: type ID and password, click"),
        driver.timeLogin(runs, busyTech, TechnicianPassword),
        floorMs(runs, [&](Database& db) { SqlFloors::login(db, busyTech, TechnicianPassword); }),
        WindowTarget, QStringLiteral("floor includes the hash")};

    say(QStringLiteral("HelpDesk ..."));
    Session::setCurrentEmployeeId(busyTech);
    rows << Row{QStringLiteral("HelpDesk: open (busy technician)"),
                driver.timeOpening<HelpDesk>(runs),
                floorMs(runs, [&](Database& db) { SqlFloors::openHelpDesk(db, busyTech); }),
                WindowTarget,
                {}};
    rows << Row{
        QStringLiteral("HelpDesk: choose an open ticket"),
        driver.timeChoosingOpenTicket(runs),
        floorMs(runs,
                [&](Database& db) { SqlFloors::chooseOpenTicket(db, driver.lastChosenTicket()); }),
        WindowTarget,
        {}};
    rows << Row{
        QStringLiteral("HelpDesk: log a call"), driver.timeLoggingCall(runs),
        floorMs(runs, [&](Database& db) { SqlFloors::logCall(db, busyCustomer, busyTech); }),
        WindowTarget, QStringLiteral("includes clearing the page")};
    for (const QString& text : {QStringLiteral("printer"), QStringLiteral("e")}) {
        rows << Row{QStringLiteral("HelpDesk: knowledge-base search \"%1\"").arg(text),
                    driver.timeKnowledgeBaseSearch(runs, text),
                    floorMs(runs, [&](Database& db) { SqlFloors::searchKnowledgeBase(db, text); }),
                    WindowTarget, QStringLiteral("%1 hits").arg(driver.lastHitCount())};
    }

    say(QStringLiteral("OpenOrders ..."));
    rows << Row{QStringLiteral("OpenOrders: open"),
                driver.timeOpening<OpenOrders>(runs),
                floorMs(runs, [](Database& db) { SqlFloors::openOpenOrders(db); }),
                WindowTarget,
                {}};
    rows << Row{QStringLiteral("OpenOrders: choose the busy technician"),
                driver.timeChoosingTechnician(runs, busyTech),
                floorMs(runs, [&](Database& db) { SqlFloors::chooseTechnician(db, busyTech); }),
                WindowTarget,
                {}};

    say(QStringLiteral("Payment and CustHistory ..."));
    const double customersFloor = floorMs(runs, [](Database& db) { SqlFloors::customerLines(db); });
    rows << Row{QStringLiteral("Payment: open"),
                driver.timeOpening<Payment>(runs),
                customersFloor,
                WindowTarget,
                {}};
    rows << Row{
        QStringLiteral("Payment: choose the customer with many invoices"),
        driver.timeChoosingPaymentCustomer(runs, busyCustomer),
        floorMs(runs, [&](Database& db) { SqlFloors::choosePaymentCustomer(db, busyCustomer); }),
        WindowTarget, QStringLiteral("%1 open invoices").arg(driver.lastLineCount())};
    rows << Row{QStringLiteral("CustHistory: open"),
                driver.timeOpening<CustHistory>(runs),
                customersFloor,
                WindowTarget,
                {}};
    rows << Row{
        QStringLiteral("CustHistory: choose the customer with many tickets"),
        driver.timeChoosingHistoryCustomer(runs, busyCustomer),
        floorMs(runs, [&](Database& db) { SqlFloors::chooseHistoryCustomer(db, busyCustomer); }),
        WindowTarget, QStringLiteral("%1 tickets").arg(driver.lastLineCount())};

    const double windowsMemory = driver.peakMemoryWithAllWindowsOpen(busyCustomer, busyTech);

    say(QStringLiteral("Reports ..."));
    for (const QString& layout : {QStringLiteral("Bill"), QStringLiteral("Sales Tax")}) {
        rows << Row{QStringLiteral("Report \"%1\" to PDF").arg(layout),
                    driver.timeReport(slowRuns, layout, folder.filePath(QStringLiteral("r.pdf"))),
                    floorMs(slowRuns, [&](Database& db) { SqlFloors::reportRecords(db, layout); }),
                    ReportTarget,
                    QStringLiteral("%1 pages").arg(driver.lastPageCount()),
                    false};
    }

    const double reportsMemory = BenchHarness::peakMemoryMb();

    say(QStringLiteral("Backup and compaction ..."));
    const QString copy = folder.filePath(QStringLiteral("copy.mdb"));
    const QString database = folder.databasePath();
    const double fileCopy = BenchHarness::medianMs(
        slowRuns, [&] { QFile::copy(database, copy); }, {}, [&] { QFile::remove(copy); });
    rows << Row{
        QStringLiteral("Backup"),
        BenchHarness::medianMs(
            slowRuns, [&] { BackupFile::copyDatabaseTo(copy); }, {}, [&] { QFile::remove(copy); }),
        fileCopy, 0, QStringLiteral("floor: plain file copy")};
    rows << Row{QStringLiteral("Compaction"),
                BenchHarness::medianMs(slowRuns, [] { CompactDatabase::run(); }), fileCopy, 0,
                QStringLiteral("floor: plain file copy")};

    const QStringList unexpected = driver.unexpectedMessages();
    std::printf("Shop: %s (%.1f MB), %d runs per action (%d for reports, backup and compaction); "
                "load average %s before, %s after.\n\n",
                qPrintable(QFileInfo(database).fileName()),
                static_cast<double>(QFileInfo(database).size()) / 1e6, runs, slowRuns,
                qPrintable(loadBefore), qPrintable(loadAverage()));
    std::printf("%s\n", qPrintable(BenchHarness::markdownTable(rows)));
    std::printf("Peak memory with every window open: %.0f MB (target 200 MB); after the reports: "
                "%.0f MB; whole run: %.0f MB.\n",
                windowsMemory, reportsMemory, BenchHarness::peakMemoryMb());
    if (!unexpected.isEmpty())
        std::printf("\nMessages shown during the run: %s\n",
                    qPrintable(unexpected.join(QStringLiteral(" | "))));
    return unexpected.isEmpty() ? 0 : 1;
}
