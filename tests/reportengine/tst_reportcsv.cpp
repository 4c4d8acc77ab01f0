#include "app/commandline.h"
#include "data/csvfile.h"
#include "data/database.h"
#include "reportengine/reportcommand.h"
#include "support/dbprobe.h"
#include "support/filecontents.h"
#include "support/fulldisk.h"
#include "support/hostilefields.h"
#include "support/pdftext.h"
#include "support/testfolder.h"

#include <QtTest>
#include <iostream>
#include <sstream>

/** A report's records written as CSV from the command line, read back as a spreadsheet would. */
class TestReportCsv : public QObject {
    Q_OBJECT

    static std::vector<QStringList> readBack(const QString& path)
    {
        return CsvFile::parse(QString::fromUtf8(contentsOf(path)));
    }

    /** The first sentence of what a report command that must fail says on the error output. */
    static QString reportErrors(const QString& layout, const QString& formula, const QString& pdf,
                                const QString& csv)
    {
        std::ostringstream said;
        std::streambuf* const errors = std::cerr.rdbuf(said.rdbuf());
        const int exitCode = runReportCommand(layout, formula, pdf, csv);
        std::cerr.rdbuf(errors);
        const QString text = QString::fromStdString(said.str());
        if (exitCode != 1)
            return QStringLiteral("exit code %1: %2").arg(exitCode).arg(text);
        const qsizetype end = text.indexOf(QLatin1String(". "));
        return (end < 0 ? text : text.left(end + 1)).trimmed();
    }

private Q_SLOTS:
    void recordsReadBackAsWritten()
    {
        TestFolder folder(TestFolder::Content::Demo);
        const QString name = QStringLiteral("Chen, Kim \"KC\"\nSecond line \u00e9");
        QVERIFY(DbProbe::exec("UPDATE Customer SET CustName = ? WHERE CustID = "
                              "(SELECT CustID FROM ARInvoice WHERE InvNum = 1)",
                              name));
        QVERIFY(DbProbe::exec("UPDATE ARInvoice SET InvDate = '2024-03-01', InvTotal = 12345670 "
                              "WHERE InvNum = 1"));
        const QString csv = folder.filePath(QStringLiteral("bill.csv"));
        const QString pdf = folder.filePath(QStringLiteral("bill.pdf"));
        QCOMPARE(runReportCommand(QStringLiteral("Bill"), QStringLiteral("{ARINVOICE.InvNum}=1"),
                                  pdf, csv),
                 0);
        QCOMPARE(pdfPageCount(pdf), 1);
        const std::vector<QStringList> rows = readBack(csv);
        QCOMPARE(rows.size(), size_t(2));
        const QStringList& heading = rows[0];
        QCOMPARE(heading.size(), 16); // every field of the layout, the computed ones too
        auto field = [&](const char* column) { return rows[1].value(heading.indexOf(column)); };
        QCOMPARE(rows[1].size(), heading.size());
        QCOMPARE(field("InvNum"), QString("1"));
        QCOMPARE(field("CustName"), name);
        QCOMPARE(field("InvDate"), QString("2024-03-01"));
        QCOMPARE(field("InvTotal"), QString("1234.57"));
        QVERIFY(QStringList({"Yes", "No"}).contains(field("InvPaid")));
        QCOMPARE(field("Balance").toDouble(),
                 field("InvTotal").toDouble() - field("Paid").toDouble());

        // A name a spreadsheet would run comes out as text.
        for (const auto& [hostile, readBackAs] : hostileFields()) {
            if (TestFolder::onServer() && hostile.contains(QChar(0)))
                continue; // the server takes no NUL into a text
            QVERIFY(DbProbe::exec("UPDATE Customer SET CustName = ? WHERE CustID = "
                                  "(SELECT CustID FROM ARInvoice WHERE InvNum = 1)",
                                  hostile));
            QCOMPARE(runReportCommand(QStringLiteral("Bill"),
                                      QStringLiteral("{ARINVOICE.InvNum}=1"), {}, csv),
                     0);
            QCOMPARE(readBack(csv).back().value(heading.indexOf("CustName")), readBackAs);
        }

        // Every record of the report, in its order, without a PDF beside it.
        QVERIFY(QFile::remove(csv));
        QCOMPARE(runReportCommand(QStringLiteral("Bill"), {}, {}, csv), 0);
        const std::vector<QStringList> all = readBack(csv);
        QCOMPARE(qsizetype(all.size()) - 1, DbProbe::count("ARInvoice"));
    }

    void failuresAndOptions()
    {
        TestFolder folder(TestFolder::Content::Demo);
        QCOMPARE(
            runReportCommand(QStringLiteral("Bill"), {}, {}, folder.filePath("no/such/dir/x.csv")),
            1);
        QCOMPARE(runReportCommand(QStringLiteral("No Such"), {}, {}, folder.filePath("x.csv")), 1);
        QVERIFY(!QFile::exists(folder.filePath("x.csv")));

        // A full disk fails the CSV and the PDF, and the files they would replace stay.
        FullDisk disk;
        if (disk.holdFile(QStringLiteral("y.csv"), "old") &&
            disk.holdFile(QStringLiteral("y.pdf"), "old")) {
            for (const auto& [pdf, csv] : {std::pair{QString(), disk.filePath("y.csv")},
                                           std::pair{disk.filePath("y.pdf"), QString()}}) {
                const QString said =
                    reportErrors(QStringLiteral("Call Log Statistics"), {}, pdf, csv);
                QVERIFY2(
                    said.endsWith(QLatin1String("cannot be written: No space left on device.")),
                    qPrintable(said));
            }
            QCOMPARE(contentsOf(disk.filePath("y.csv")), QByteArray("old"));
            QCOMPARE(contentsOf(disk.filePath("y.pdf")), QByteArray("old"));
        }

        if (!TestFolder::onServer()) {
            // A database that holds no shop is named as such, as at the start.
            Database::closeKeptConnections();
            QVERIFY(writeFile(folder.databasePath(), {}));
            QCOMPARE(reportErrors(QStringLiteral("Call Log Statistics"), {}, {},
                                  folder.filePath("x.csv")),
                     QStringLiteral("The database %1 is empty (0 bytes): it holds no shop.")
                         .arg(folder.databasePath()));
            QVERIFY(QFile::remove(folder.databasePath()));
            QVERIFY(Database::createFile(folder.databasePath()));
            QVERIFY(Database(folder.databasePath())
                        .exec(QStringLiteral("CREATE TABLE Invoices (Number INTEGER)")));
            Database::closeKeptConnections();
            QCOMPARE(
                reportErrors(QStringLiteral("Call Log Statistics"), {}, {},
                             folder.filePath("x.csv")),
                QStringLiteral("The file %1 is not a shop's database.").arg(folder.databasePath()));
        }

        auto parse = [](const QStringList& arguments) {
            return CommandLine::parse(QStringList{"quorvane", "--report", "Bill"} + arguments);
        };
        QCOMPARE(parse({"--csv", "a.csv"}).error, QString());
        QCOMPARE(parse({"--csv", "a.csv"}).reportCsv, QString("a.csv"));
        QCOMPARE(parse({"--csv", "a.csv", "--pdf", "b.pdf"}).reportPdf, QString("b.pdf"));
        QVERIFY(!parse({}).error.isEmpty());
        QVERIFY(!parse({"--csv"}).error.isEmpty());
    }
};

QTEST_MAIN(TestReportCsv)
#include "tst_reportcsv.moc"
