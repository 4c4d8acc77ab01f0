#include "data/programfolder.h"
#include "helpdeskfixture.h"
#include "support/reportcapture.h"

#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTabWidget>
#include <QtTest>

using WidgetTesting::typeInto;

/** Frame "Invoice": adding and removing lines with their tax, writing and printing the invoice. */
class TestInvoice : public QObject {
    Q_OBJECT

    static constexpr const char* Ten = "TEN - Ten dollar part";
    static constexpr const char* Twelve = "TWELVE - Taxed at ten percent";
    static constexpr const char* Untaxed = "HALF - Cleaning, untaxed";

    // The demo shop with three parts of simple prices, the window shown on its open-tickets
    // page; `ticket` (0: none) is chosen. Ticket 3 has an uninvoiced work order 5.
    static void open(HelpDeskFixture& f, int ticket = 3, bool workOrder = true)
    {
        QVERIFY(DbProbe::exec(QStringLiteral(
            "INSERT INTO Inventory (ItemNo, ItemDescp, ItemPrice1, Taxable, TaxRate) VALUES "
            "('TEN', 'Ten dollar part', 100000, 1, 8.25), "
            "('TWELVE', 'Taxed at ten percent', 120000, 1, 10), "
            "('HALF', 'Cleaning, untaxed', 45000, 0, 0)")));
        if (workOrder)
            QVERIFY(DbProbe::exec(QStringLiteral(
                "INSERT INTO RepairOrder (WorkNum, RMANum, CustID, TicketNum, WrkOrd) "
                "VALUES (5, 5, 'MIA-2', 3, 1)")));
        f.open().SSTab1->setCurrentIndex(1);
        QVERIFY(WidgetTesting::showActive(&f.window()));
        if (ticket != 0)
            f.chooseTicket(ticket);
    }
    // Chooses the part, types the quantity and tabs out of the quantity box.
    static void addLine(HelpDeskFixture& f, const char* part, const QString& quantity)
    {
        if (part)
            QVERIFY(choose(f.combo("combInvPart"), QString::fromLatin1(part)));
        typeInto(f.box("txtInvQty"), quantity);
        QTest::keyClick(f.box("txtInvQty"), Qt::Key_Tab);
    }
    static QString taxAndTotal(HelpDeskFixture& f) { return f.texts({"txtInvTax", "txtInvTotal"}); }
    static QString workOrder5()
    {
        return DbProbe::value("SELECT Invoiced FROM RepairOrder WHERE WorkNum = 5");
    }
    static QString invoiceField(const char* column, int invoice)
    {
        return DbProbe::value(
            QStringLiteral("SELECT %1 FROM ARInvoice WHERE InvNum = ?").arg(QLatin1String(column)),
            invoice);
    }

private Q_SLOTS:
    void linesShowAmountTaxAndTotal()
    {
        HelpDeskFixture f;
        open(f);
        QVERIFY(choose(f.combo("combInvPart"), QString::fromLatin1(Ten)));
        QCOMPARE(f.texts({"txtInvDesc", "txtPrice"}), QStringLiteral("Ten dollar part|10"));
        QCOMPARE(QApplication::focusWidget(), f.box("txtInvQty"));
        typeInto(f.box("txtInvQty"), QStringLiteral("3"));
        QCOMPARE(f.box("txtInvSubTotal")->text(), QStringLiteral("30"));
        QTest::keyClick(f.box("txtInvQty"), Qt::Key_Tab);
        QCOMPARE(f.list("lstInvItems")->lines(), QStringList{"TEN\tTen dollar part\t3\t10\t30"});
        QCOMPARE(taxAndTotal(f), QStringLiteral("2.48|32.48"));
        QCOMPARE(f.texts({"txtInvDesc", "txtInvQty", "txtPrice", "txtInvSubTotal"}), "|||");
        QVERIFY(f.combo("combInvPart")->currentText().isEmpty());
        QCOMPARE(QApplication::focusWidget(), f.combo("combInvPart"));

        // An untaxed line adds its amount only; an edited price is the line's price.
        QVERIFY(choose(f.combo("combInvPart"), QString::fromLatin1(Untaxed)));
        typeInto(f.box("txtInvQty"), QStringLiteral("1.5"));
        QCOMPARE(f.box("txtInvSubTotal")->text(), QStringLiteral("6.75"));
        f.box("txtPrice")->setText(QStringLiteral("4"));
        QCOMPARE(f.box("txtInvSubTotal")->text(), QStringLiteral("6"));
        QTest::keyClick(f.box("txtInvQty"), Qt::Key_Tab);
        QCOMPARE(f.list("lstInvItems")->line(1),
                 QStringLiteral("HALF\tCleaning, untaxed\t1.5\t4\t6"));
        QCOMPARE(taxAndTotal(f), QStringLiteral("2.48|38.48"));
    }

    void lineChecksStopInOrder_data()
    {
        QTest::addColumn<int>("ticket");
        QTest::addColumn<bool>("part");
        QTest::addColumn<QString>("quantity");
        QTest::addColumn<QString>("message");
        addRow("nothing", 0, false, "", "Please select a part number to bill.");
        addRow("no quantity", 0, true, "", "Please enter a quantity.");
        addRow("no customer", 0, true, "2", "Please select a customer to bill.");
        addRow("not a number", 3, true, "two", "Please enter the quantity as a number.");
    }
    void lineChecksStopInOrder()
    {
        QFETCH(int, ticket);
        QFETCH(bool, part);
        QFETCH(QString, quantity);
        QFETCH(QString, message);
        HelpDeskFixture f;
        open(f, ticket);
        addLine(f, part ? Ten : nullptr, quantity);
        QCOMPARE(f.prompts().messages(), QStringList{message});
        QCOMPARE(f.list("lstInvItems")->count(), 0);
        QCOMPARE(taxAndTotal(f), QStringLiteral("0.00|0.00"));
    }

    void leavingTheWindowFromTheQuantityBoxChecksNothing()
    {
        // As the main window holds it: beside another child window.
        TestFolder folder(TestFolder::Content::Demo);
        ScriptedPrompter prompts;
        QMdiArea area;
        auto* desk = new HelpDesk;
        QMdiSubWindow* deskWindow = area.addSubWindow(desk);
        QMdiSubWindow* other = area.addSubWindow(new QLineEdit);
        QVERIFY(WidgetTesting::showActive(&area));
        area.setActiveSubWindow(deskWindow);
        desk->SSTab1->setCurrentIndex(1);
        auto* quantity = WidgetTesting::child<QLineEdit>(desk, "txtInvQty");
        quantity->setFocus();
        area.setActiveSubWindow(other);
        area.setActiveSubWindow(deskWindow);
        QCOMPARE(QApplication::focusWidget(), quantity);
        deskWindow->close();
        QVERIFY(prompts.allTexts().isEmpty());
    }

    void choosingALineRemovesWhatItAdded()
    {
        HelpDeskFixture f;
        open(f);
        addLine(f, Ten, QStringLiteral("3"));
        addLine(f, Untaxed, QStringLiteral("2"));
        addLine(f, Twelve, QStringLiteral("1"));
        QCOMPARE(taxAndTotal(f), QStringLiteral("3.68|54.68"));
        // A price changed since the line was added does not change what the line took.
        QVERIFY(DbProbe::exec(
            QStringLiteral("UPDATE Inventory SET ItemPrice1 = 990000 WHERE ItemNo = 'TEN'")));
        TabbedList* items = f.list("lstInvItems");
        // Arriving in the list by Tab removes nothing; the arrow keys choose, and so remove.
        items->setFocus(Qt::TabFocusReason);
        QCOMPARE(items->count(), 3);
        QTest::keyClick(items, Qt::Key_Down);
        QCOMPARE(items->count(), 2);
        QCOMPARE(taxAndTotal(f), QStringLiteral("1.2|22.20"));
        HelpDeskFixture::chooseLine(items, 0);
        QCOMPARE(items->lines(), QStringList{"TWELVE\tTaxed at ten percent\t1\t12\t12"});
        QCOMPARE(taxAndTotal(f), QStringLiteral("1.2|13.20"));
        HelpDeskFixture::chooseLine(items, 0);
        QCOMPARE(items->count(), 0);
        QCOMPARE(taxAndTotal(f), QStringLiteral("0.00|0.00"));
    }

    void invoiceWritesHeaderLinesAndWorkOrderFlag()
    {
        HelpDeskFixture f;
        open(f, 0);
        f.click("cmdInvoice");
        QCOMPARE(f.prompts().messages(), QStringList{"Please select a customer to bill."});
        f.chooseTicket(3);
        f.click("cmdInvoice");
        QCOMPARE(f.prompts().lastMessage(), QStringLiteral("Please select an item to bill."));
        addLine(f, Ten, QStringLiteral("3"));
        QVERIFY(choose(f.combo("combInvPart"), QString::fromLatin1(Untaxed)));
        f.box("txtInvDesc")->clear();
        addLine(f, nullptr, QStringLiteral("2"));

        // Invoice 2 exists although the counter was never advanced past 1: nothing is written.
        QVERIFY(DbProbe::exec("INSERT INTO ARInvoice (InvNum, CustID) VALUES (2, 'JTH-1')"));
        f.prompts().clear();
        f.click("cmdInvoice");
        QCOMPARE(f.prompts().allTexts(),
                 QStringList{"The invoice could not be written.\nInvoice 2 already exists."});
        QCOMPARE(f.list("lstInvItems")->count(), 2);
        QCOMPARE(taxAndTotal(f) + '|' + f.box("txtInvNum")->text(), "2.48|41.48|2");
        QCOMPARE(DbProbe::count(QStringLiteral("InvDetail"), QStringLiteral("InvNum = 2")), 0);
        QCOMPARE(workOrder5() + DbProbe::value("SELECT InvNum FROM InvNumCount"), "01");

        QVERIFY(DbProbe::exec("DELETE FROM ARInvoice WHERE InvNum = 2"));
        f.prompts().clear();
        f.prompts().answerConfirm(false);
        f.click("cmdInvoice");
        QCOMPARE(f.prompts().allTexts(),
                 (QStringList{"Do you want to print this invoice now?",
                              "You can print the invoice later by selecting\n"
                              "Print All Invoices on the report menu."}));
        QCOMPARE(invoiceField("InvDate || '|' || PostDate || '|' || CustID || '|' || InvTax || "
                              "'|' || InvTotal || '|' || WrkOrdNum || '|' || InvPrinted || "
                              "'|' || InvPaid",
                              2),
                 QStringLiteral("%1|%1|MIA-2|24800|414800|5|0|0")
                     .arg(QDate::currentDate().toString(Qt::ISODate)));
        QCOMPARE(DbProbe::column("SELECT PartNo || '|' || PartDescp || '|' || PartQty || '|' || "
                                 "PartPrice FROM InvDetail WHERE InvNum = 2 ORDER BY rowid"),
                 (QStringList{"TEN|Ten dollar part|3.0|100000", "HALF||2.0|45000"}));
        QCOMPARE(workOrder5() + DbProbe::value("SELECT InvNum FROM InvNumCount"), "12");
        QCOMPARE(f.box("txtInvNum")->text(), QStringLiteral("3"));
        QCOMPARE(f.list("lstInvItems")->count(), 0);
        QCOMPARE(taxAndTotal(f), QStringLiteral("0.00|0.00"));
        QVERIFY(f.button("cmdInvoice")->isEnabled());
    }

    void invoiceTakesTheNextFreeNumberAndTheTicketsNewWorkOrder()
    {
        HelpDeskFixture f;
        open(f, 3, false);
        QVERIFY(choose(f.combo("combRepairTech"), QStringLiteral("RP-3   Raj  Patel")));
        f.area("txtRepairNotes")->setPlainText(QStringLiteral("Mail client reinstalled."));
        f.click("cmdCreateWrkOrd");
        QCOMPARE(f.box("txtWorkOrder")->text(), QStringLiteral("3"));
        addLine(f, Untaxed, QStringLiteral("1"));
        // Other workstations wrote invoices since the window showed its number.
        QVERIFY(DbProbe::exec(QStringLiteral("UPDATE InvNumCount SET InvNum = 41")));
        f.box("txtInvNum")->setText(QStringLiteral("40"));
        f.prompts().answerConfirm(false);
        f.click("cmdInvoice");
        QVERIFY(f.prompts().lastMessage().startsWith("You can print the invoice later"));
        QCOMPARE(invoiceField("WrkOrdNum", 42), QStringLiteral("2"));
        QCOMPARE(DbProbe::value("SELECT Invoiced FROM RepairOrder WHERE WorkNum = 2"), "1");
        QCOMPARE(DbProbe::value("SELECT InvNum FROM InvNumCount"), "42");
        QCOMPARE(f.box("txtInvNum")->text(), QStringLiteral("43"));
    }

    void printingMarksTheInvoicePrintedAfterARun()
    {
        HelpDeskFixture f;
        ReportCapture capture;
        open(f);
        addLine(f, Ten, QStringLiteral("3"));
        f.click("cmdInvoice");
        QCOMPARE(capture.runs().size(), 1);
        QCOMPARE(capture.last().reportFileName,
                 ProgramFolder::filePath(QStringLiteral("Reports/invoice2.rpt")));
        QCOMPARE(capture.last().selectionFormula, QStringLiteral("{ARINVOICE.InvNum}=2"));
        QCOMPARE(capture.last().windowTitle, QStringLiteral("Print Invoice"));
        QVERIFY(capture.text(capture.last()).contains(QStringLiteral("Ten dollar part")));
        QCOMPARE(invoiceField("InvPrinted", 2), QStringLiteral("1"));

        // A run that fails marks nothing.
        QVERIFY(QFile::remove(ProgramFolder::filePath(QStringLiteral("Reports/invoice2.rpt"))));
        addLine(f, Ten, QStringLiteral("1"));
        f.prompts().clear();
        f.click("cmdInvoice");
        QCOMPARE(capture.runs().size(), 1);
        QCOMPARE(f.prompts().allTexts().size(), 2);
        QCOMPARE(invoiceField("InvPrinted", 3), QStringLiteral("0"));
    }
};

QTEST_MAIN(TestInvoice)
#include "tst_invoice.moc"
