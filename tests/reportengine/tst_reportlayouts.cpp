#include "reportengine/reportcommand.h"
#include "support/dbprobe.h"
#include "support/filecontents.h"
#include "support/pdftext.h"
#include "support/testfolder.h"

#include <QDate>
#include <QRegularExpression>
#include <QtTest>
#include <csignal>
#include <iostream>
#include <optional>
#include <sstream>
#include <sys/resource.h>

namespace {

/** Stops this process from writing a file beyond `bytes` while it lives, as a full disk does. */
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) : m_signal(std::signal(SIGXFSZ, SIG_IGN))
    {
        getrlimit(RLIMIT_FSIZE, &m_saved);
        rlimit limit = m_saved;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_signal);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit m_saved{};
    void (*m_signal)(int);
};

/** Keeps what is written to the error output while it lives. */
class ErrorOutput {
public:
    ErrorOutput() : m_saved(std::cerr.rdbuf(m_text.rdbuf())) {}
    ~ErrorOutput() { std::cerr.rdbuf(m_saved); }
    ErrorOutput(const ErrorOutput&) = delete;
    ErrorOutput& operator=(const ErrorOutput&) = delete;
    QString text() const { return QString::fromStdString(m_text.str()); }

private:
    std::ostringstream m_text;
    std::streambuf* m_saved;
};

} // namespace

/** Every shipped layout rendered to PDF from the demo shop, checked by the text it prints. */
class TestReportLayouts : public QObject {
    Q_OBJECT

    static QString daysAgo(int days)
    {
        return QDate::currentDate().addDays(-days).toString(QStringLiteral("MM/dd/yy"));
    }

    /** The report's text, with runs of blanks squeezed so that columns read as "a b c". */
    static QString render(const TestFolder& folder, const QString& layout,
                          const QString& formula = {})
    {
        const QString pdf = folder.filePath(QStringLiteral("out.pdf"));
        QFile::remove(pdf);
        if (runReportCommand(layout, formula, pdf) != 0)
            return QStringLiteral("<failed>");
        return pdfText(pdf).replace(QRegularExpression(QStringLiteral("[ \\t]+")),
                                    QStringLiteral(" "));
    }

    static void expectLines(const QString& text, const QStringList& lines)
    {
        for (const QString& line : lines)
            QVERIFY2(text.contains(line),
                     qPrintable(QStringLiteral("missing \"%1\" in:\n%2").arg(line, text)));
    }

private Q_SLOTS:
    void layoutsPrintTheirRecords_data()
    {
        QTest::addColumn<QString>("layout");
        QTest::addColumn<QString>("formula");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QString>("absent");
        const QString issued = daysAgo(4);
        const QStringList invoice = {"Northgate PC Repair",
                                     "412 Commerce Street",
                                     "Allen Dental Associates",
                                     "Springfield, IL 62704",
                                     "Invoice # 1",
                                     "Invoice Date " + issued,
                                     "Work Order 1",
                                     "PSU-550 550 W power supply 1 64.50 64.50",
                                     "LAB-HR Bench labor, per hour 1 75.00 75.00",
                                     "Subtotal 139.50",
                                     "Sales Tax 5.32",
                                     "Invoice Total 144.82",
                                     "Balance Due 94.82",
                                     "Page 1"};
        auto row = [](const char* name, const char* layout, const char* formula,
                      const QStringList& lines, const char* absent = "") {
            QTest::newRow(name) << layout << formula << lines << absent;
        };
        row("invoices", "invoice.rpt", "{ARINVOICE.InvNum}=1", invoice);
        row("one invoice", "invoice2.rpt", "{ARINVOICE.InvNum}=1", invoice);
        row("billing statement", "Bill.rpt", "",
            {"Billing Statement", "Allen Dental Associates", "Customer ID AES-3",
             "1 " + issued + " 1 5.32 144.82 50.00 94.82 No",
             "1 invoice(s) 5.32 144.82 50.00 94.82", "Invoices 1", "Balance due 94.82"});
        row("sales tax", "Sales Tax.rpt", "",
            {"Sales Tax Report", issued + " 1 AES-3 Allen Dental Associates 139.50 5.32 144.82",
             "Totals 1 invoice(s) 139.50 5.32 144.82", "Sales tax collected 5.32"});
        // Demo: High 2 (one closed after 2 days), Med 3 (one closed after 2 days), Low 1.
        row("call statistics", "Call Log Statistics.rpt", "",
            {"Call Log Statistics", "Priority 1-High", "2 ticket(s) avg 2.0", "1 ticket(s) avg -",
             "1-High 2 2.0", "2-Med 3 2.0", "3-Low 1 -", "Closed 2", "Open 4", "Tickets 6",
             "Average days to close 2.0"});
        row("open tickets", "Open Tickets By Technician.rpt", "{CallLog.CallStatus}= 'Open'",
            {"Jack Thompson (JTT-1)", "2 ticket(s)", "Raj Patel (RP-3)", "Sarah Miller (SLM-2)",
             "PC does not power on", "Tickets 4"},
            "Computer slow after update");
        row("employees", "Employee List.rpt", "",
            {"Employee List", "JTT-1 Thompson, Jack T", "SLM-2 Miller, Sarah L", "4 employee(s)"},
            "123-45-6789");
        row("inventory", "Inventory List.rpt", "",
            {"Inventory List", "Hardware", "PSU-550 550 W power supply 64.50 Yes 8.25 No",
             "LAB-HR Bench labor, per hour 75.00 No 0 No", "3 item(s)", "Items 7"});
        row("knowledge base", "NBS.rpt", "",
            {"Knowledge Base", "Computer slow after update", "Pop-ups in the browser",
             "Forgotten Windows password", "Solution", "Entries 4"},
            "Cannot send e-mail");
        // The layout's own rule holds whatever the caller selects.
        row("knowledge base, own rule kept", "NBS.rpt", "{ProbSol.TicketNum}=3",
            {"The knowledge base is empty."});
        row("no work order", "workorder.rpt", "{RepairOrder.WorkNum}=0",
            {"No work order matches this number."});
    }

    void layoutsPrintTheirRecords()
    {
        QFETCH(QString, layout);
        QFETCH(QString, formula);
        QFETCH(QStringList, lines);
        QFETCH(QString, absent);
        TestFolder folder(TestFolder::Content::Demo);
        const QString text = render(folder, layout, formula);
        expectLines(text, lines);
        if (!absent.isEmpty())
            QVERIFY2(!text.contains(absent), qPrintable(absent));
    }

    void workOrderShowsRmaTechnicianAndNotes()
    {
        TestFolder folder(TestFolder::Content::Demo);
        // Knowledge-base entry 2, which shares the number of the work order's ticket, is stored
        // first: the call's own row is stored again after it.
        const char* callRow = "FROM ProbSol WHERE TicketNum = 2 AND KBEntry = 0";
        QVERIFY(DbProbe::exec(QStringLiteral("INSERT INTO ProbSol (TicketNum, QuickDescp, Problem, "
                                             "Solution, SaveKB, KBEntry) SELECT TicketNum, "
                                             "QuickDescp, Problem, Solution, SaveKB, KBEntry %1")
                                  .arg(callRow)));
        QVERIFY(DbProbe::exec(
            QStringLiteral("DELETE %1 AND rowid = (SELECT min(rowid) %1)").arg(callRow)));
        const QString text = render(folder, QStringLiteral("workorder.rpt"),
                                    QStringLiteral("{RepairOrder.WorkNum}=1"));
        expectLines(text, {"WORK ORDER", "Work Order # 1", "RMA # 1", "Ticket # 2",
                           "Technician Jack Thompson (JTT-1)", "Allen Dental Associates",
                           "PC does not power on", "Reception computer dead",
                           "Replaced failed power supply; tested under load for one hour."});
    }

    void printsInTheShippedFacesOnly()
    {
        TestFolder folder(TestFolder::Content::Demo);
        const QString pdf = folder.filePath(QStringLiteral("tax.pdf"));
        QCOMPARE(runReportCommand(QStringLiteral("Sales Tax.rpt"), {}, pdf), 0);
        QStringList fonts = pdfFonts(pdf);
        fonts.sort();
        QCOMPARE(fonts, QStringList({"LiberationSans", "LiberationSans-Bold"}));
    }

    void longReportWritesEveryPage()
    {
        TestFolder folder(TestFolder::Content::Demo);
        QVERIFY(DbProbe::exec(
            "WITH RECURSIVE n(x) AS (SELECT 2 UNION ALL SELECT x + 1 FROM n WHERE x < 8001) "
            "INSERT INTO ARInvoice (InvNum, InvDate, PostDate, CustID, InvTax, InvTotal, "
            "WrkOrdNum) SELECT x, '20' || CAST(10 + x % 10 AS TEXT) || '-0' || "
            "CAST(1 + x % 9 AS TEXT) || '-1' || CAST(x % 10 AS TEXT), "
            "'2020-01-01', CASE x % 3 WHEN 0 THEN 'JTH-1' WHEN 1 THEN 'MIA-2' ELSE 'AES-3' "
            "END, x % 9000, 1000000 + x * 7, x FROM n"));
        // Enough distinct texts that the glyph cache is renewed part way through.
        const QString pdf = folder.filePath(QStringLiteral("long.pdf"));
        QCOMPARE(runReportCommand(QStringLiteral("Sales Tax.rpt"), {}, pdf), 0);
        const int pages = pdfPageCount(pdf);
        QVERIFY(pages > 100);
        const QString text = pdfText(pdf);
        QVERIFY(text.contains(QStringLiteral("Page %1").arg(pages)));
        QVERIFY(text.contains(QStringLiteral("Sales tax collected")));
    }

    void failedReportLeavesItsTargetAlone_data()
    {
        QTest::addColumn<QString>("layout");
        QTest::addColumn<QString>("formula");
        QTest::addColumn<QString>("breakage");
        QTest::addColumn<QString>("reason");
        auto row = [](const char* name, const char* layout, const char* formula,
                      const char* breakage, const char* reason) {
            QTest::newRow(name) << layout << formula << breakage << reason;
        };
        row("formula refused", "invoice", "{ARINVOICE.InvNum}=", "",
            "Error in the record selection formula");
        row("query refused", "invoice", "", "table", "cannot read its data");
        row("damaged layout named with %3", "Damaged %3.rpt", "", "layout",
            "The report layout Damaged %3.rpt is damaged");
        row("disk full", "invoice", "", "disk", "cannot be written");
    }

    void failedReportLeavesItsTargetAlone()
    {
        QFETCH(QString, layout);
        QFETCH(QString, formula);
        QFETCH(QString, breakage);
        QFETCH(QString, reason);
        TestFolder folder(TestFolder::Content::Demo);
        if (breakage == "table")
            QVERIFY(DbProbe::exec("DROP TABLE InvDetail"));
        if (breakage == "layout")
            QVERIFY(writeFile(folder.filePath("Reports/" + layout), "{"));
        const QString earlier = folder.filePath(QStringLiteral("earlier.pdf"));
        QVERIFY(writeFile(earlier, "an earlier report"));
        const QString fresh = folder.filePath(QStringLiteral("fresh.pdf"));
        ErrorOutput errors;
        {
            std::optional<FileSizeLimit> fullDisk;
            if (breakage == "disk")
                fullDisk.emplace(4096);
            QCOMPARE(runReportCommand(layout, formula, earlier), 1);
            QCOMPARE(runReportCommand(layout, formula, fresh), 1);
        }
        QVERIFY2(errors.text().contains(reason), qPrintable(errors.text()));
        QCOMPARE(contentsOf(earlier), QByteArray("an earlier report"));
        QCOMPARE(QDir(folder.path()).entryList({"*.pdf*"}, QDir::Files),
                 QStringList{"earlier.pdf"});
    }

    void commandReportsItsErrors()
    {
        TestFolder folder(TestFolder::Content::Demo);
        const QString pdf = folder.filePath(QStringLiteral("x.pdf"));
        QCOMPARE(runReportCommand(QStringLiteral("No Such.rpt"), {}, pdf), 1);
        QCOMPARE(
            runReportCommand(QStringLiteral("invoice"), {}, folder.filePath("no/such/dir/x.pdf")),
            1);
        QVERIFY(writeFile(pdf, "an earlier report"));
        QCOMPARE(runReportCommand(QStringLiteral("invoice"), {}, pdf), 0);
        QCOMPARE(pdfPageCount(pdf), 1);
    }
};

QTEST_MAIN(TestReportLayouts)
#include "tst_reportlayouts.moc"
