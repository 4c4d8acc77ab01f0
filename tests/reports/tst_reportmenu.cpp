#include "app/mdihelpdesk.h"
#include "data/database.h"
#include "reports/billingreport.h"
#include "reports/invoiceprinting.h"
#include "reports/reportmenu.h"
#include "reports/reportpreview.h"
#include "reports/saletax.h"
#include "support/reportcapture.h"
#include "support/scriptedprompter.h"
#include "support/testfolder.h"

#include <QPointer>
#include <QPrintPreviewDialog>
#include <QtTest>

namespace {

void addUnprintedInvoices(const QList<int>& numbers)
{
    Database db;
    for (int number : numbers)
        QVERIFY(db.exec("INSERT INTO ARInvoice (InvNum, InvDate, CustID, InvTax, InvTotal) "
                        "VALUES (?, '2024-03-01', 'KEN-7', 0, 450000)",
                        number));
}

QList<int> printedInvoices()
{
    Database db;
    QList<int> numbers;
    Query query = db.query("SELECT InvNum FROM ARInvoice WHERE InvPrinted = 1 ORDER BY InvNum");
    while (query.next())
        numbers << static_cast<int>(query.integer(0));
    return numbers;
}

} // namespace

/** The Reports menu: each entry's layout, formula and preview title, its input, and the
 *  marking of printed invoices. */
class TestReportMenu : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void entriesRunTheirLayouts_data()
    {
        QTest::addColumn<QString>("slot");
        QTest::addColumn<QString>("layout");
        QTest::addColumn<QString>("formula");
        QTest::addColumn<QString>("windowTitle");
        QTest::addColumn<QString>("printedTitle");
        QTest::newRow("billing") << "mnuBillfull_Click"
                                 << "Bill.rpt"
                                 << ""
                                 << "Print Billing Statememt"
                                 << "Billing Statement";
        QTest::newRow("call statistics") << "mnuCallStat_Click"
                                         << "Call Log Statistics.rpt"
                                         << ""
                                         << "Print Call Log Statistics"
                                         << "Call Log Statistics";
        QTest::newRow("employees") << "mnuEmplst_Click"
                                   << "Employee List.rpt"
                                   << ""
                                   << "Employee List"
                                   << "Employee List";
        QTest::newRow("inventory") << "mnuInvent_Click"
                                   << "Inventory List.rpt"
                                   << ""
                                   << "Inventory List"
                                   << "Inventory List";
        QTest::newRow("knowledge base") << "mnuKB_Click"
                                        << "NBS.rpt"
                                        << ""
                                        << "Print Knowledge Base"
                                        << "Knowledge Base";
        QTest::newRow("sales tax") << "mnusaltaxfull_Click"
                                   << "Sales Tax.rpt"
                                   << ""
                                   << "Sales Tax Report"
                                   << "Sales Tax Report";
        QTest::newRow("open tickets") << "mnuopentickets_Click"
                                      << "Open Tickets By Technician.rpt"
                                      << "{CallLog.CallStatus}= 'Open'"
                                      << "Print Open Ticket Log"
                                      << "Open Ticket Log";
    }

    void entriesRunTheirLayouts()
    {
        QFETCH(QString, slot);
        QFETCH(QString, layout);
        QFETCH(QString, formula);
        QFETCH(QString, windowTitle);
        QFETCH(QString, printedTitle);
        TestFolder folder(TestFolder::Content::Demo);
        ScriptedPrompter prompts;
        ReportCapture capture;
        ReportMenu menu;
        QVERIFY(QMetaObject::invokeMethod(&menu, slot.toLatin1().constData()));
        QCOMPARE(prompts.allTexts(), QStringList());
        QCOMPARE(capture.runs().size(), 1);
        const ReportCapture::Run& run = capture.last();
        QCOMPARE(run.reportFileName, folder.filePath("Reports/" + layout));
        QCOMPARE(run.dataFile, folder.databasePath());
        QCOMPARE(run.selectionFormula, formula);
        QCOMPARE(run.windowTitle, windowTitle);
        QCOMPARE(run.report.title, printedTitle);
        QVERIFY(capture.text(run).contains("Northgate PC Repair"));
    }

    void reprintAsksForANumber()
    {
        TestFolder folder(TestFolder::Content::Demo);
        ScriptedPrompter prompts;
        ReportCapture capture;
        ReportMenu menu;
        for (const std::optional<QString>& answer :
             {std::optional<QString>("abc"), std::optional<QString>(""), std::optional<QString>(),
              std::optional<QString>("99999999999")}) {
            prompts.answerInput(answer);
            menu.mnuReprint_Click();
            QCOMPARE(prompts.lastMessage(), QString("Please enter numbers only!"));
        }
        QCOMPARE(prompts.shown().first().text, QString("Enter invoice number to reprint."));
        QVERIFY(capture.runs().isEmpty());

        prompts.clear();
        prompts.answerInput(QString("12"));
        menu.mnuReprint_Click();
        QCOMPARE(prompts.messages(), QStringList());
        QCOMPARE(capture.last().reportFileName, folder.filePath("Reports/invoice2.rpt"));
        QCOMPARE(capture.last().selectionFormula, QString("{ARINVOICE.InvNum}=12"));
        QCOMPARE(capture.last().windowTitle, QString("Print Invoice"));
        QVERIFY(capture.text(capture.last()).contains("There are no invoices to print."));

        prompts.answerInput(QString(" 1 "));
        menu.mnuReprint_Click();
        QVERIFY(capture.text(capture.last()).contains("Invoice Total 144.82"));
        // Reprinting changes nothing.
        QCOMPARE(printedInvoices(), QList<int>({1}));
    }

    void workOrderAndTechnicianInput()
    {
        TestFolder folder(TestFolder::Content::Demo);
        ScriptedPrompter prompts;
        ReportCapture capture;
        ReportMenu menu;
        prompts.answerInput(QString("abc"));
        menu.mnuwrkorder_Click();
        QCOMPARE(prompts.allTexts(),
                 QStringList({"Please enter the Work Order number you want to print."}));
        QCOMPARE(capture.last().selectionFormula, QString("{RepairOrder.WorkNum}=0"));
        QCOMPARE(capture.last().windowTitle, QString("Work Order"));
        prompts.answerInput(QString("1"));
        menu.mnuwrkorder_Click();
        QVERIFY(capture.text(capture.last()).contains("RMA # 1"));

        prompts.clear();
        prompts.answerInput(QString("RP-3"));
        menu.mnuOpnTickTech_Click();
        QCOMPARE(prompts.allTexts(), QStringList({"Please enter the Tech ID you wish to view."}));
        QCOMPARE(capture.last().selectionFormula,
                 QString("{CallLog.Tech}='RP-3' and {CallLog.CallStatus}= 'Open'"));
        QCOMPARE(capture.last().windowTitle, QString("Print Open Tickets by Technician"));
        QCOMPARE(capture.last().report.title, QString("Open Tickets by Technician"));
        const QString raj = capture.text(capture.last());
        QVERIFY(raj.contains("Raj Patel (RP-3)"));
        QVERIFY(raj.contains("Printer prints blank pages"));
        QVERIFY2(!raj.contains("Pop-ups in the browser"), "his closed ticket stays off");

        menu.mnuOpnTickTech_Click(); // cancelled: nobody's tickets
        QCOMPARE(capture.last().selectionFormula,
                 QString("{CallLog.Tech}='' and {CallLog.CallStatus}= 'Open'"));
        QVERIFY(capture.text(capture.last()).contains("No tickets match this selection."));

        // A quote in the answer is part of the ID, not of the formula.
        prompts.answerInput(QString("O'Neil' or 'a'='a"));
        menu.mnuOpnTickTech_Click();
        QCOMPARE(prompts.messages(), QStringList());
        QVERIFY(capture.text(capture.last()).contains("No tickets match this selection."));
    }

    void printAllInvoicesMarksWhatWasShown()
    {
        TestFolder folder(TestFolder::Content::Demo);
        ScriptedPrompter prompts;
        ReportCapture capture;
        ReportMenu menu;

        menu.mnuPrtAllInv_Click(); // nothing unprinted: an empty preview, nothing changes
        QCOMPARE(capture.last().reportFileName, folder.filePath("Reports/invoice.rpt"));
        QCOMPARE(capture.last().selectionFormula, QString("{ARINVOICE.InvPrinted}= No"));
        QCOMPARE(capture.last().windowTitle, QString("Print Invoice"));
        QCOMPARE(capture.last().report.pages.size(), 1);
        QVERIFY(capture.text(capture.last()).contains("There are no invoices to print."));
        QCOMPARE(printedInvoices(), QList<int>({1}));

        addUnprintedInvoices({2, 3});
        menu.mnuPrtAllInv_Click();
        QCOMPARE(capture.last().report.pages.size(), 2);
        QCOMPARE(printedInvoices(), QList<int>({1, 2, 3}));
        QCOMPARE(prompts.messages(), QStringList());

        // When the report cannot run, the engine says why and nothing is marked.
        addUnprintedInvoices({4});
        QVERIFY(QFile::remove(folder.filePath("Reports/invoice.rpt")));
        menu.mnuPrtAllInv_Click();
        QCOMPARE(prompts.messages(),
                 QStringList({"The report layout invoice.rpt cannot be opened."}));
        QCOMPARE(printedInvoices(), QList<int>({1, 2, 3}));
    }

    void printAllInvoicesReportsAFailedMarking()
    {
        TestFolder folder(TestFolder::Content::Demo);
        ScriptedPrompter prompts;
        addUnprintedInvoices({2});
        Database db;
        QVERIFY(db.exec("CREATE TRIGGER NoMarking BEFORE UPDATE ON ARInvoice "
                        "BEGIN SELECT RAISE(ABORT, 'locked'); END"));
        int shown = 0;
        const Status status = [&] {
            PreviewRedirect redirect([&](const PreviewedReport&) { ++shown; });
            return InvoicePrinting::printAllUnprinted();
        }();
        QCOMPARE(shown, 1);
        QVERIFY(!status);
        QCOMPARE(prompts.messages().size(), 1);
        QVERIFY(
            prompts.lastMessage().startsWith("The invoices were shown but could not be marked"));
        QCOMPARE(printedInvoices(), QList<int>({1}));
    }

    void printingOneInvoiceMarksOnlyIt()
    {
        TestFolder folder(TestFolder::Content::Demo);
        ScriptedPrompter prompts;
        ReportCapture capture;
        addUnprintedInvoices({2, 3});
        QVERIFY(InvoicePrinting::printInvoice(3));
        QCOMPARE(capture.last().reportFileName, folder.filePath("Reports/invoice2.rpt"));
        QCOMPARE(capture.last().selectionFormula, QString("{ARINVOICE.InvNum}=3"));
        QCOMPARE(capture.last().windowTitle, QString("Print Invoice"));
        QVERIFY(capture.text(capture.last()).contains("Kim Chen"));
        QCOMPARE(printedInvoices(), QList<int>({1, 3}));

        QVERIFY(QFile::remove(folder.databasePath()));
        Database::closeKeptConnections();
        QVERIFY(!InvoicePrinting::printInvoice(2));
        QVERIFY(prompts.lastMessage().startsWith("The data file"));
    }

    void previewOpensMaximisedWithoutWaiting()
    {
        TestFolder folder(TestFolder::Content::Demo);
        ScriptedPrompter prompts;
        ReportMenu menu;
        menu.mnuInvent_Click();
        QPrintPreviewDialog* preview = nullptr;
        for (QWidget* window : QApplication::topLevelWidgets())
            if (auto* found = qobject_cast<QPrintPreviewDialog*>(window);
                found && found->isVisible())
                preview = found;
        QVERIFY(preview);
        QCOMPARE(preview->windowTitle(), QString("Inventory List"));
        QVERIFY(preview->windowState().testFlag(Qt::WindowMaximized));
        QVERIFY(!preview->isModal());
        QPointer<QPrintPreviewDialog> guard(preview);
        preview->close();
        QTRY_VERIFY(!guard);
        QCOMPARE(prompts.messages(), QStringList());
    }

    void dateWindowsOpenFromTheMenu()
    {
        TestFolder folder(TestFolder::Content::Demo);
        MDIHelpDesk main;
        main.entry(QStringLiteral("mnuBillDate"))->trigger();
        QVERIFY(main.findChild<BillingReport*>());

        main.entry(QStringLiteral("mnusaltaxdate"))->trigger();
        main.entry(QStringLiteral("mnusaltaxdate"))->trigger(); // brought forward, not opened twice
        const auto saleTaxes = main.findChildren<SaleTax*>();
        QCOMPARE(saleTaxes.size(), 1);
        QVERIFY(saleTaxes.first()->isWindow());
        QVERIFY(saleTaxes.first()->isVisible());
    }
};

QTEST_MAIN(TestReportMenu)
#include "tst_reportmenu.moc"
