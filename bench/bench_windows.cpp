// Times the real windows on a shop the size of ten years' work, beside the bare SQL each action
// needs: bench_windows [DATABASE] [--runs N] [--scale S] [--server URL]. A DATABASE that does not
// exist yet is generated there, so that later runs reuse it; without one, a shop is generated for
// this run. With --server the shop lives in the server's database at URL: an empty one gets the
// shop copied in (DATABASE, or one generated), one that holds a shop is used as it is; the table
// then also counts the requests each action sends the server.
#include "benchharness.h"
#include "data/database.h"
#include "data/passwords.h"
#include "data/postgresconnection.h"
#include "data/schema.h"
#include "data/serversettings.h"
#include "data/session.h"
#include "data/shopcopy.h"
#include "helpdesk/helpdesk.h"
#include "login/login.h"
#include "receivables/custhistory.h"
#include "receivables/payment.h"
#include "reportengine/reportjob.h"
#include "reportengine/reportoutput.h"
#include "shopgenerator.h"
#include "sqlfloors.h"
#include "support/scriptedprompter.h"
#include "support/testfolder.h"
#include "tickets/openorders.h"
#include "upkeep/backupfile.h"
#include "upkeep/compactdatabase.h"
#include "windowdriver.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
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
    QString server;
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
    const QCommandLineOption server(QStringLiteral("server"),
                                    QStringLiteral("The shop's database on a server (libpq URL)."),
                                    QStringLiteral("url"));
    parser.addOptions({runs, scale, server});
    parser.addHelpOption();
    parser.process(app);
    Options options;
    if (!parser.positionalArguments().isEmpty())
        options.database = QFileInfo(parser.positionalArguments().constFirst()).absoluteFilePath();
    options.runs = std::max(1, parser.value(runs).toInt());
    options.scale = parser.value(scale).toDouble();
    options.server = parser.value(server);
    return options;
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

/** The shop's file at `path`, generated there first when it does not exist. */
bool shopFile(const Options& options, const QString& path)
{
    if (QFileInfo::exists(path))
        return true;
    say(QStringLiteral("Generating the shop in %1 ...").arg(path));
    QElapsedTimer timer;
    timer.start();
    const Status status = generateShop(path, ShopSize::scaled(options.scale));
    Database::closeKeptConnections();
    if (!status) {
        say(status.message());
        return false;
    }
    say(QStringLiteral("... generated in %1 s").arg(timer.elapsed() / 1000.0, 0, 'f', 1));
    return true;
}

/** Puts the shop's database into the program folder: a copy of the given file, generated
 *  there first when it does not exist. */
bool placeDatabase(const Options& options, const QString& target)
{
    const QString source = options.database.isEmpty() ? target : options.database;
    if (!shopFile(options, source))
        return false;
    if (source != target && !QFile::copy(source, target))
        return false;
    // A file made by an earlier build gets the indexes added since.
    Database db(target);
    const Status upgraded = Schema::upgrade(db);
    if (!upgraded)
        say(upgraded.message());
    return upgraded.isOk();
}

/** Names the server's database as the program folder's shop, copying the shop into it first
 *  when it is empty. The planner's statistics are brought up to date, as the server's own
 *  upkeep does soon after a large copy. */
bool placeOnServer(const Options& options, const TestFolder& folder)
{
    const auto tables = [&] {
        Database server = Database::atServer(options.server);
        return server.isOpen() ? Schema::tableNames(server)
                               : Result<QStringList>(server.openStatus());
    }();
    if (!tables) {
        say(tables.status().message());
        return false;
    }
    if (tables->isEmpty()) {
        const QString file = options.database.isEmpty()
                                 ? folder.filePath(QStringLiteral("generated.mdb"))
                                 : options.database;
        if (!shopFile(options, file))
            return false;
        say(QStringLiteral("Copying the shop to the server ..."));
        QElapsedTimer timer;
        timer.start();
        const auto copied = ShopCopy::toServer(file, options.server);
        Database::closeKeptConnections();
        if (!copied) {
            say(copied.status().message());
            return false;
        }
        say(QStringLiteral("... copied in %1 s").arg(timer.elapsed() / 1000.0, 0, 'f', 1));
    }
    Database server = Database::atServer(options.server);
    const Status ready = [&] {
        const Status upgraded = Schema::upgrade(server);
        return upgraded ? server.exec(QStringLiteral("ANALYZE")) : upgraded;
    }();
    if (!ready) {
        say(ready.message());
        return false;
    }
    QSettings settings(folder.filePath(QStringLiteral("quorvane.ini")), QSettings::IniFormat);
    settings.setValue(QStringLiteral("database/server"), options.server);
    return true;
}

/** Where the shop lives and how large it is, for the head of the table. */
QString shopDescription(const QString& database)
{
    if (ServerSettings::address().isEmpty())
        return QStringLiteral("%1 (%2 MB)")
            .arg(QFileInfo(database).fileName())
            .arg(static_cast<double>(QFileInfo(database).size()) / 1e6, 0, 'f', 1);
    Database db;
    Query size = db.query(QStringLiteral("SELECT pg_database_size(current_database())"));
    return QStringLiteral("%1 on the server (%2 MB)")
        .arg(db.path())
        .arg(size.next() ? static_cast<double>(size.integer(0)) / 1e6 : 0.0, 0, 'f', 1);
}

QString storedHash(const QString& empId)
{
    Database db;
    Query q = db.query(QStringLiteral("SELECT Pwd FROM Login WHERE EmpID = ?"), empId);
    return q.next() ? q.text(0) : QString();
}

/** The pages of a report, laid out once. */
RenderedReport laidOut(const QString& layout)
{
    auto job = ReportJob::prepare({resolveLayoutPath(layout), QString(), QString(), {}});
    if (!job)
        qFatal("Cannot run the layout %s", qPrintable(layout));
    CollectingPageSink sink;
    job.value()->run(sink);
    return {job.value()->title(), job.value()->layout().landscape, std::move(sink.pages)};
}

/** The floor of a report's PDF: the same pages drawn straight to the writer, with no data read
 *  and nothing laid out. The program's glyph runs draw them faster than QPainter::drawText
 *  does, so they, not drawText, are the floor. */
void drawStraight(const RenderedReport& report, const QString& pdfPath)
{
    if (!ReportOutput::writePdf(report, pdfPath))
        qFatal("Cannot write %s", qPrintable(pdfPath));
}

/** The measured actions, a group of windows at a time, collected as rows of the table. */
class Measurements {
public:
    Measurements(int runs, WindowDriver& driver) : m_runs(runs), m_driver(driver) {}

    void login();
    void helpDesk();
    void ticketLogs();
    void receivables();
    void reports(const QString& pdfPath);
    void backupAndCompaction(const QString& database, const QString& copy);

    const QList<Row>& rows() const { return m_rows; }

private:
    using Timing = std::function<double()>;
    using Floor = std::function<void(Database&)>;

    /** Times the action, then its floor (if any) on a data-layer scope of its own, as the
     *  windows' handlers do, each with what the counter counted in a run. */
    /** Notes that read the driver are set on the returned row afterwards: the right side of
     *  an assignment is evaluated before its left. */
    Row& measure(const QString& action, const Timing& timing, const Floor& floor, int floorRuns)
    {
        Row row{action, timing(), 0, 0, {}};
        row.count = BenchHarness::lastCount();
        if (floor) {
            row.floorMs = BenchHarness::medianMs(floorRuns, [&] {
                Database db;
                floor(db);
            });
            row.floorCount = BenchHarness::lastCount();
        }
        m_rows << row;
        return m_rows.last();
    }
    /** A window opening or handler, held to the window targets. */
    Row& handler(const QString& action, const Timing& timing, const Floor& floor = {})
    {
        Row& row = measure(action, timing, floor, m_runs);
        row.targetMs = WindowTarget;
        return row;
    }
    int slowRuns() const { return std::min(m_runs, 3); }

    const int m_runs;
    WindowDriver& m_driver;
    QList<Row> m_rows;
    const QString m_customer = BusiestShop::CustomerId;
    const QString m_technician = BusiestShop::TechnicianId;
};

void Measurements::login()
{
    say(QStringLiteral("Login ..."));
    const QString hash = storedHash(m_technician);
    measure(
        QStringLiteral("Password verification alone (Argon2id)"),
        [&] {
            return BenchHarness::medianMs(m_runs,
                                          [&] { Passwords::verify(hash, TechnicianPassword); });
        },
        {}, m_runs)
        .note = QStringLiteral("deliberately slow");
    handler(QStringLiteral("Login: open window"),
            [&] { return m_driver.timeOpening<Login>(m_runs); });
    handler(
        QStringLiteral("Login: type ID and password, click"),
        [&] { return m_driver.timeLogin(m_runs, m_technician, TechnicianPassword); },
        [&](Database& db) { SqlFloors::login(db, m_technician, TechnicianPassword); })
        .note = QStringLiteral("floor includes the hash");
}

void Measurements::helpDesk()
{
    say(QStringLiteral("HelpDesk ..."));
    Session::setCurrentEmployeeId(m_technician);
    handler(
        QStringLiteral("HelpDesk: open (busy technician)"),
        [&] { return m_driver.timeOpening<HelpDesk>(m_runs); },
        [&](Database& db) { SqlFloors::openHelpDesk(db, m_technician); });
    handler(
        QStringLiteral("HelpDesk: choose an open ticket"),
        [&] { return m_driver.timeChoosingOpenTicket(m_runs); },
        [&](Database& db) { SqlFloors::chooseOpenTicket(db, m_driver.lastChosenTicket()); });
    handler(
        QStringLiteral("HelpDesk: log a call"), [&] { return m_driver.timeLoggingCall(m_runs); },
        [&](Database& db) { SqlFloors::logCall(db, m_customer, m_technician); })
        .note = QStringLiteral("includes clearing the page");
    for (const QString& text : {QStringLiteral("printer"), QStringLiteral("e")}) {
        Row& search = handler(
            QStringLiteral("HelpDesk: knowledge-base search \"%1\"").arg(text),
            [&] { return m_driver.timeKnowledgeBaseSearch(m_runs, text); },
            [&](Database& db) { SqlFloors::searchKnowledgeBase(db, text); });
        search.note = QStringLiteral("%1 hits").arg(m_driver.lastHitCount());
    }
}

void Measurements::ticketLogs()
{
    say(QStringLiteral("OpenOrders ..."));
    handler(
        QStringLiteral("OpenOrders: open (first lines painted)"),
        [&] { return m_driver.timeOpeningTicketLog(m_runs); },
        [](Database& db) { SqlFloors::openOpenOrders(db, 1000); });
    measure(
        QStringLiteral("OpenOrders: every line listed (later pages while idle)"),
        [&] { return m_driver.timeFillingTicketLog(slowRuns()); },
        [](Database& db) { SqlFloors::openOpenOrders(db, -1); }, m_runs)
        .note = QStringLiteral("the window answers between pages");
    m_rows << Row{QStringLiteral("OpenOrders: longest pause for one later page"),
                  m_driver.lastLongestPause(),
                  0,
                  WindowTarget,
                  QStringLiteral("what a click waits at worst while the log fills"),
                  false};
    handler(
        QStringLiteral("OpenOrders: choose the busy technician"),
        [&] { return m_driver.timeChoosingTechnician(m_runs, m_technician); },
        [&](Database& db) { SqlFloors::chooseTechnician(db, m_technician); });
}

void Measurements::receivables()
{
    say(QStringLiteral("Payment and CustHistory ..."));
    const Floor customers = [](Database& db) { SqlFloors::customerLines(db); };
    handler(
        QStringLiteral("Payment: open"), [&] { return m_driver.timeOpening<Payment>(m_runs); },
        customers);
    Row& payment = handler(
        QStringLiteral("Payment: choose the customer with many invoices"),
        [&] { return m_driver.timeChoosingPaymentCustomer(m_runs, m_customer); },
        [&](Database& db) { SqlFloors::choosePaymentCustomer(db, m_customer); });
    payment.note = QStringLiteral("%1 open invoices").arg(m_driver.lastLineCount());
    handler(
        QStringLiteral("CustHistory: open"),
        [&] { return m_driver.timeOpening<CustHistory>(m_runs); }, customers);
    Row& history = handler(
        QStringLiteral("CustHistory: choose the customer with many tickets"),
        [&] { return m_driver.timeChoosingHistoryCustomer(m_runs, m_customer); },
        [&](Database& db) { SqlFloors::chooseHistoryCustomer(db, m_customer); });
    history.note = QStringLiteral("%1 tickets").arg(m_driver.lastLineCount());
    // Every generated phone number holds a 5: the first key lists every customer.
    for (const auto& [start, key] : {std::pair{QString(), QStringLiteral("5")},
                                     std::pair{QStringLiteral("555-01"), QStringLiteral("2")}}) {
        Row& finding = handler(
            QStringLiteral("Payment: find a customer, key \"%1\" after \"%2\"").arg(key, start),
            [&] { return m_driver.timeFindingCustomer(m_runs, start, key); });
        finding.note = QStringLiteral("%1 customers listed").arg(m_driver.lastLineCount());
    }
}

void Measurements::reports(const QString& pdfPath)
{
    say(QStringLiteral("Reports ..."));
    for (const QString& layout : {QStringLiteral("Bill"), QStringLiteral("Sales Tax")}) {
        Row& row = measure(
            QStringLiteral("Report \"%1\" to PDF").arg(layout),
            [&] { return m_driver.timeReport(slowRuns(), layout, pdfPath); },
            [&](Database& db) { SqlFloors::reportRecords(db, layout); }, slowRuns());
        row.targetMs = ReportTarget;
        row.note = QStringLiteral("%1 pages").arg(m_driver.lastPageCount());
        row.ratioApplies = false;
        if (layout != QLatin1String("Bill"))
            continue;
        const RenderedReport pages = laidOut(layout);
        m_rows << Row{QStringLiteral("Report \"Bill\" to PDF, beside its pages drawn straight"),
                      row.ms,
                      BenchHarness::medianMs(
                          slowRuns(), [&] { drawStraight(pages, pdfPath); }, {},
                          [&] { QFile::remove(pdfPath); }),
                      ReportTarget, QStringLiteral("floor: the laid-out pages drawn")};
        Row& first = measure(
            QStringLiteral("Report \"Bill\": first page shown"),
            [&] { return m_driver.timeReportFirstPage(slowRuns(), layout); }, {}, slowRuns());
        first.targetMs = 1000;
        first.note = QStringLiteral("the preview lays out the rest while it is read");
        first.ratioApplies = false;
        Row& all = measure(
            QStringLiteral("Report \"Bill\": every page in the preview"),
            [&] { return m_driver.timeReportAllPages(slowRuns(), layout); }, {}, slowRuns());
        all.targetMs = ReportTarget;
        all.note = QStringLiteral("%1 pages").arg(m_driver.lastPageCount());
        all.ratioApplies = false;
    }
}

void Measurements::backupAndCompaction(const QString& database, const QString& copy)
{
    say(QStringLiteral("Backup and compaction ..."));
    const auto removeCopy = [&] { QFile::remove(copy); };
    const double fileCopy = BenchHarness::medianMs(
        slowRuns(), [&] { QFile::copy(database, copy); }, {}, removeCopy);
    const QString note = QStringLiteral("floor: plain file copy");
    m_rows << Row{QStringLiteral("Backup"),
                  BenchHarness::medianMs(
                      slowRuns(), [&] { BackupFile::copyDatabaseTo(copy); }, {}, removeCopy),
                  fileCopy, 0, note};
    m_rows << Row{QStringLiteral("Compaction"),
                  BenchHarness::medianMs(slowRuns(), [] { CompactDatabase::run(); }), fileCopy, 0,
                  note};
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

    TestFolder folder(TestFolder::Content::NoDatabase);
    const bool onServer = !options.server.isEmpty();
    if (!folder.isValid() || !(onServer ? placeOnServer(options, folder)
                                        : placeDatabase(options, folder.databasePath()))) {
        say(QStringLiteral("Cannot prepare the program folder."));
        return 1;
    }
    if (onServer)
        BenchHarness::setCounter(&PostgresConnection::roundTrips);
    ScriptedPrompter prompts;
    WindowDriver driver(prompts);
    const QString loadBefore = loadAverage();
    Measurements measure(runs, driver);
    measure.login();
    measure.helpDesk();
    measure.ticketLogs();
    measure.receivables();
    const double windowsMemory =
        driver.peakMemoryWithAllWindowsOpen(BusiestShop::CustomerId, BusiestShop::TechnicianId);
    measure.reports(folder.filePath(QStringLiteral("r.pdf")));
    const double reportsMemory = BenchHarness::peakMemoryMb();
    const QString database = folder.databasePath();
    // A server's shop is backed up and compacted by the server's own tools.
    if (!onServer)
        measure.backupAndCompaction(database, folder.filePath(QStringLiteral("copy.mdb")));

    const QStringList unexpected = driver.unexpectedMessages();
    std::printf("Shop: %s, %d runs per action (%d for reports, backup and compaction); "
                "load average %s before, %s after.\n\n",
                qPrintable(shopDescription(database)), runs, std::min(runs, 3),
                qPrintable(loadBefore), qPrintable(loadAverage()));
    std::printf("%s\n", qPrintable(BenchHarness::markdownTable(measure.rows(),
                                                               QStringLiteral("Round trips"))));
    std::printf("Peak memory with every window open: %.0f MB (target 200 MB); after the reports: "
                "%.0f MB; whole run: %.0f MB.\n",
                windowsMemory, reportsMemory, BenchHarness::peakMemoryMb());
    if (!unexpected.isEmpty())
        std::printf("\nMessages shown during the run: %s\n",
                    qPrintable(unexpected.join(QStringLiteral(" | "))));
    return unexpected.isEmpty() ? 0 : 1;
}
