#include "app/mdihelpdesk.h"
#include "reports/billingreport.h"
#include "reports/invoiceprinting.h"
#include "reports/reportmenu.h"
#include "reports/saletax.h"
#include "support/dbprobe.h"
#include "support/reportcapture.h"
#include "support/scriptedprompter.h"
#include "support/testfolder.h"

#include <QPointer>
#include <QtTest>

namespace {

void addUnprintedInvoices(const QList<int>& numbers)
{
    for (int number : numbers)
        QVERIFY(DbProbe::exec("INSERT INTO ARInvoice (InvNum, InvDate, CustID, InvTax, InvTotal) "
                              "VALUES (?, '2024-03-01', 'KEN-7', 0, 450000)",
                              number));
}

QStringList printedInvoices()
{
    return DbProbe::column("SELECT InvNum FROM ARInvoice WHERE InvPrinted = 1 ORDER BY InvNum");
}

ReportPreviewWindow* openPreview()
{
    for (QWidget* window : QApplication::topLevelWidgets())
        if (auto* found = qobject_cast<ReportPreviewWindow*>(window); found && found->isVisible())
            return found;
    return nullptr;
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
        QTest::addColumn<std::optional<QString>>("answer"); // to the entry's question, if any
        QTest::addColumn<QString>("layout");
        QTest::addColumn<QString>("formula");
        QTest::addColumn<QString>("windowTitle");
        QTest::addColumn<QString>("printed"); // the title on the pages, then a line of them
        auto row = [](const char* name, const char* slot, std::optional<QString> answer,
                      const char* layout, const char* formula, const char* windowTitle,
                      const QStringList& printed) {
            QTest::newRow(name) << slot << answer << layout << formula << windowTitle
                                << printed.join('|');
        };
        const char* tech = "Open Tickets By Technician.rpt";
        row("billing", "mnuBillfull_Click", {}, "Bill.rpt", "", "Print Billing Statememt",
            {"Billing Statement", "Balance due 94.82"});
        row("call statistics", "mnuCallStat_Click", {}, "Call Log Statistics.rpt", "",
            "Print Call Log Statistics", {"Call Log Statistics", "Tickets 6"});
        row("employees", "mnuEmplst_Click", {}, "Employee List.rpt", "", "Employee List",
            {"Employee List", "4 employee(s)"});
        row("inventory", "mnuInvent_Click", {}, "Inventory List.rpt", "", "Inventory List",
            {"Inventory List", "Items 7"});
        row("knowledge base", "mnuKB_Click", {}, "NBS.rpt", "", "Print Knowledge Base",
            {"Knowledge Base", "Entries 4"});
        row("sales tax", "mnusaltaxfull_Click", {}, "Sales Tax.rpt", "", "Sales Tax Report",
            {"Sales Tax Report", "Sales tax collected 5.32"});
        row("open tickets", "mnuopentickets_Click", {}, tech, "{CallLog.CallStatus}= 'Open'",
            "Print Open Ticket Log", {"Open Ticket Log", "Tickets 4"});
        row("reprint", "mnuReprint_Click", " 1 ", "invoice2.rpt", "{ARINVOICE.InvNum}=1",
            "Print Invoice", {"", "Invoice Total 144.82"});
        row("work order", "mnuwrkorder_Click", "1", "workorder.rpt", "{RepairOrder.WorkNum}=1",
            "Work Order", {"", "RMA # 1"});
        row("work order not a number", "mnuwrkorder_Click", "abc", "workorder.rpt",
            "{RepairOrder.WorkNum}=0", "Work Order", {"", "No work order matches this number."});
        row("technician", "mnuOpnTickTech_Click", "RP-3", tech,
            "{CallLog.Tech}='RP-3' and {CallLog.CallStatus}= 'Open'",
            "Print Open Tickets by Technician", {"Open Tickets by Technician", "Raj Patel (RP-3)"});
        row("technician cancelled", "mnuOpnTickTech_Click", {}, tech,
            "{CallLog.Tech}='' and {CallLog.CallStatus}= 'Open'",
            "Print Open Tickets by Technician", {"", "No tickets match this selection."});
        // A quote in the answer is part of the ID, not of the formula.
        row("technician with quotes", "mnuOpnTickTech_Click", "O'Neil' or 'a'='a", tech,
            "{CallLog.Tech}='O''Neil'' or ''a''=''a' and {CallLog.CallStatus}= 'Open'",
            "Print Open Tickets by Technician", {"", "No tickets match this selection."});
    }

    void entriesRunTheirLayouts()
    {
        QFETCH(QString, slot);
        QFETCH(std::optional<QString>, answer);
        QFETCH(QString, layout);
        QFETCH(QString, formula);
        QFETCH(QString, windowTitle);
        QFETCH(QString, printed);
        TestFolder folder(TestFolder::Content::Demo);
        ScriptedPrompter prompts;
        prompts.answerInput(answer);
        ReportCapture capture;
        ReportMenu menu;
        QVERIFY(QMetaObject::invokeMethod(&menu, slot.toLatin1().constData()));
        QCOMPARE(capture.runs().size(), 1);
        const ReportCapture::Run& run = capture.last();
        QCOMPARE(run.reportFileName, folder.filePath("Reports/" + layout));
        QCOMPARE(run.selectionFormula, formula);
        QCOMPARE(run.windowTitle, windowTitle);
        const QString title = printed.section('|', 0, 0);
        if (!title.isEmpty())
            QCOMPARE(run.report.title, title);
        const QString text = capture.text(run);
        QVERIFY2(text.contains(printed.section('|', 1)), qPrintable(text));
    }

    void questionsAndRefusals()
    {
        TestFolder folder(TestFolder::Content::Demo);
        ScriptedPrompter prompts;
        ReportCapture capture;
        ReportMenu menu;
        for (const std::optional<QString>& answer :
             {std::optional<QString>("abc"), std::optional<QString>(),
              std::optional<QString>("99999999999")}) {
            prompts.answerInput(answer);
            menu.mnuReprint_Click();
            QCOMPARE(prompts.allTexts(), QStringList({"Enter invoice number to reprint.",
                                                      "Please enter numbers only!"}));
            prompts.clear();
        }
        QVERIFY(capture.runs().isEmpty());
        addUnprintedInvoices({2});
        prompts.answerInput(QString("2"));
        menu.mnuReprint_Click();
        QCOMPARE(printedInvoices(), QStringList({"1"})); // reprinting marks nothing

        prompts.clear();
        menu.mnuwrkorder_Click();
        menu.mnuOpnTickTech_Click();
        QCOMPARE(prompts.allTexts(),
                 QStringList({"Please enter the Work Order number you want to print.",
                              "Please enter the Tech ID you wish to view."}));
    }

    void printAllInvoicesMarksWhatWasShownInOneGo()
    {
        TestFolder folder(TestFolder::Content::Demo);
        ScriptedPrompter prompts;
        ReportCapture capture;
        ReportMenu menu;
        addUnprintedInvoices({2, 3});
        menu.mnuPrtAllInv_Click();
        QCOMPARE(capture.last().reportFileName, folder.filePath("Reports/invoice.rpt"));
        QCOMPARE(capture.last().selectionFormula, QString("{ARINVOICE.InvPrinted}= No"));
        QCOMPARE(capture.last().windowTitle, QString("Print Invoice"));
        QCOMPARE(capture.last().report.pages.size(), 2);
        QCOMPARE(printedInvoices(), QStringList({"1", "2", "3"}));

        // An invoice that cannot be marked leaves the one before it unmarked too.
        addUnprintedInvoices({4, 5});
        // Of the two, only one may be marked.
        QVERIFY(DbProbe::exec("CREATE UNIQUE INDEX NoMarking ON ARInvoice (InvPrinted) "
                              "WHERE InvNum >= 4 AND InvPrinted = 1"));
        menu.mnuPrtAllInv_Click();
        QCOMPARE(capture.runs().size(), 2);
        QVERIFY(
            prompts.lastMessage().startsWith("The invoices were shown but could not be marked"));
        QCOMPARE(printedInvoices(), QStringList({"1", "2", "3"}));

        // When the report cannot run, the engine says why and nothing is marked.
        QVERIFY(DbProbe::exec("DROP INDEX NoMarking"));
        QVERIFY(QFile::remove(folder.filePath("Reports/invoice.rpt")));
        prompts.clear();
        menu.mnuPrtAllInv_Click();
        QCOMPARE(prompts.messages(),
                 QStringList({"The report layout invoice.rpt cannot be opened."}));
        QCOMPARE(printedInvoices(), QStringList({"1", "2", "3"}));
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
        QVERIFY(capture.text(capture.last()).contains("Kim Chen"));
        QCOMPARE(printedInvoices(), QStringList({"1", "3"}));

        if (TestFolder::onServer())
            return; // the rest concerns the data file
        QVERIFY(QFile::remove(folder.databasePath()));
        Database::closeKeptConnections();
        QVERIFY(!InvoicePrinting::printInvoice(2));
        QVERIFY(prompts.lastMessage().startsWith("The data file"));
    }

    void previewOpensMaximisedOnceNothingStandsIn()
    {
        TestFolder folder(TestFolder::Content::Demo);
        ScriptedPrompter prompts;
        ReportMenu menu;
        {
            ReportCapture capture;
            menu.mnuInvent_Click();
            QCOMPARE(capture.runs().size(), 1);
        }
        QVERIFY(!openPreview());
        menu.mnuInvent_Click();
        QPointer<ReportPreviewWindow> preview = openPreview();
        QVERIFY(preview);
        QCOMPARE(preview->windowTitle(), QString("Inventory List"));
        QVERIFY(preview->windowState().testFlag(Qt::WindowMaximized));
        QVERIFY(!preview->isModal());
        // Escape closes the preview, and so does Ctrl+W.
        QTest::keyClick(preview, Qt::Key_Escape);
        QTRY_VERIFY(!preview);
        menu.mnuInvent_Click();
        preview = openPreview();
        QVERIFY(preview);
        QTest::keyClick(preview, Qt::Key_W, Qt::ControlModifier);
        QTRY_VERIFY(!preview);
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

        // Each dates window closes once its report opens, the one inside the main window too.
        ReportCapture capture;
        for (ReportDateWindow* dates : std::initializer_list<ReportDateWindow*>{
                 saleTaxes.first(), main.findChild<BillingReport*>()}) {
            QPointer<ReportDateWindow> window = dates;
            window->txtSDate->setText(QStringLiteral("01/15/04"));
            window->txtEDate->setText(QStringLiteral("02/01/04"));
            window->Command1->click();
            QTRY_VERIFY(!window || !window->isVisible());
        }
        QCOMPARE(capture.runs().size(), 2);
    }
};

QTEST_MAIN(TestReportMenu)
#include "tst_reportmenu.moc"
