#include "helpdesk/invoicearithmetic.h"
#include "helpdeskfixture.h"
#include "support/reportcapture.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTabWidget>
#include <QtTest>

using WidgetTesting::typeInto;

/** Frame "Invoice": the money arithmetic, adding and removing lines with their tax, writing and
 *  printing the invoice. */
class TestInvoice : public QObject {
    Q_OBJECT

    static constexpr const char* Ten = "TEN - Ten dollar part";
    static constexpr const char* Untaxed = "HALF - Cleaning, untaxed";

    // The demo shop with three parts of simple prices, the window shown on its open-tickets
    // page; `ticket` (0: none) is chosen. Ticket 3 has an uninvoiced work order 5.
    static void open(HelpDeskFixture& f, int ticket = 3, bool workOrder = true)
    {
        QVERIFY(DbProbe::exec(QStringLiteral(
            "INSERT INTO Inventory (ItemNo, ItemDescp, ItemPrice1, Taxable, TaxRate) VALUES "
            "('TEN', 'Ten dollar part', 100000, 1, 8.25), ('TWELVE', 'Taxed at ten percent', "
            "120000, 1, 10), ('HALF', 'Cleaning, untaxed', 45000, 0, 0)")));
        if (workOrder)
            QVERIFY(DbProbe::exec("INSERT INTO RepairOrder (WorkNum, RMANum, CustID, TicketNum, "
                                  "WrkOrd) VALUES (5, 5, 'MIA-2', 3, 1)"));
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
    /** Whether work order 5 is invoiced, then the invoice counter. */
    static QString marks()
    {
        return DbProbe::value("SELECT r.Invoiced || '/' || c.InvNum FROM RepairOrder r, "
                              "InvNumCount c WHERE r.WorkNum = 5");
    }

private Q_SLOTS:
    void lineAmountAndTax()
    {
        // Quantity, price and line amount, '-' standing for an empty text.
        for (const char* row :
             {"3 10 30", "1.5 12.99 19.485", "3 0.1 0.3", "- 10 -", "two 10 -", "2 - -"}) {
            const QStringList v = QString::fromLatin1(row).replace('-', QString()).split(' ');
            QCOMPARE(InvoiceArithmetic::lineAmountText(v[0], v[1]), v[2]);
        }
        // Amount, rate and tax: halves of a cent go away from zero, after four places.
        for (const char* row :
             {"30 8.25 2.48", "1.25 10 0.13", "19.485 8.25 1.61", "-30 8.25 -2.48"}) {
            const QStringList v = QString::fromLatin1(row).split(' ');
            QCOMPARE(InvoiceArithmetic::lineTax(v[0].toDouble(), v[1].toDouble()).toString(), v[2]);
        }
    }

    void totalIsAlwaysTheSumOfTheListedLines()
    {
        InvoiceTally tally;
        const auto shows = [&] { return tally.taxText + QLatin1Char('/') + tally.totalText; };
        const LineCharge odd = InvoiceArithmetic::addLine(tally, 1.5, 12.99, "19.485", 8.25);
        QCOMPARE(shows(), "1.61/21.10");
        const LineCharge untaxed = InvoiceArithmetic::addLine(tally, 3, 0.335, "1.005", {});
        QCOMPARE(shows(), "1.61/22.11");
        const LineCharge taxed = InvoiceArithmetic::addLine(tally, 1, 3, "3", 10.0);
        QCOMPARE(shows(), "1.91/25.41");
        // The tax shows as plain text, the total with its cents.
        InvoiceArithmetic::removeLine(tally, odd, false);
        QCOMPARE(shows(), "0.3/4.31");
        InvoiceArithmetic::removeLine(tally, untaxed, false);
        QCOMPARE(shows(), "0.3/3.30");
        InvoiceArithmetic::removeLine(tally, taxed, true);
        QCOMPARE(shows(), "0.00/0.00");
        QVERIFY(tally.tax.isZero());
    }

    void linesShowAmountTaxAndTotal()
    {
        HelpDeskFixture f;
        open(f);
        QVERIFY(choose(f.combo("combInvPart"), QString::fromLatin1(Ten)));
        QCOMPARE(f.texts({"txtInvDesc", "txtPrice"}), "Ten dollar part|10");
        addLine(f, nullptr, QStringLiteral("3"));
        QCOMPARE(f.list("lstInvItems")->lines(), QStringList{"TEN\tTen dollar part\t3\t10\t30"});
        // The amounts stay under their headings whatever the description's length.
        TabbedList* lines = f.list("lstInvItems");
        QCOMPARE(lines->csvHeadings(),
                 (QStringList{"Part#", "Description", "Qty", "Price", "Total"}));
        const QString longLine = "TEN\t" + QString(60, QLatin1Char('D')) + "\t3\t10\t30";
        QCOMPARE(lines->placeFields(longLine, lines->fontMetrics())[2].x,
                 lines->tabStopPixels()[1]);
        QCOMPARE(taxAndTotal(f) + f.combo("combInvPart")->currentText(), "2.48|32.48");
        QCOMPARE(f.texts({"txtInvDesc", "txtInvQty", "txtPrice", "txtInvSubTotal"}), "|||");

        // An untaxed line adds its amount only; an edited price is the line's price.
        QVERIFY(choose(f.combo("combInvPart"), QString::fromLatin1(Untaxed)));
        typeInto(f.box("txtInvQty"), QStringLiteral("1.5"));
        f.type("txtPrice", "4");
        QTest::keyClick(f.box("txtInvQty"), Qt::Key_Tab);
        QCOMPARE(taxAndTotal(f) + '|' + f.list("lstInvItems")->line(1),
                 "2.48|38.48|HALF\tCleaning, untaxed\t1.5\t4\t6");

        // Choosing a line takes back what it added, even when the price has changed since;
        // arriving in the list by Tab takes back nothing.
        addLine(f, "TWELVE - Taxed at ten percent", QStringLiteral("1"));
        QVERIFY(DbProbe::exec("UPDATE Inventory SET ItemPrice1 = 990000 WHERE ItemNo = 'TEN'"));
        TabbedList* items = f.list("lstInvItems");
        items->setFocus(Qt::TabFocusReason);
        QTest::keyClick(items, Qt::Key_Down);
        QCOMPARE(taxAndTotal(f) + QString::number(items->count()), "1.2|19.202");
        HelpDeskFixture::chooseLine(items, 0);
        QCOMPARE(taxAndTotal(f) + '|' + items->line(0),
                 "1.2|13.20|TWELVE\tTaxed at ten percent\t1\t12\t12");
        HelpDeskFixture::chooseLine(items, 0);
        QCOMPARE(taxAndTotal(f) + QString::number(items->count()), "0.00|0.000");
    }

    void lineChecksStopInOrder()
    {
        HelpDeskFixture f;
        open(f, 0);
        addLine(f, nullptr, QString());
        addLine(f, Ten, QString());
        addLine(f, nullptr, QStringLiteral("2"));
        f.chooseTicket(3);
        addLine(f, Ten, QStringLiteral("two"));
        QCOMPARE(f.prompts().messages(),
                 (QStringList{"Please select a part number to bill.", "Please enter a quantity.",
                              "Please select a customer to bill.",
                              "Please enter the quantity as a number."}));
        QCOMPARE(taxAndTotal(f) + QString::number(f.list("lstInvItems")->count()), "0.00|0.000");
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
        WidgetTesting::child<QLineEdit>(desk, "txtInvQty")->setFocus();
        area.setActiveSubWindow(other);
        area.setActiveSubWindow(deskWindow);
        deskWindow->close();
        QVERIFY(prompts.allTexts().isEmpty());
    }

    void invoiceWritesHeaderLinesAndWorkOrderFlag()
    {
        HelpDeskFixture f;
        open(f, 0);
        f.click("cmdInvoice");
        f.chooseTicket(3);
        f.click("cmdInvoice");
        QCOMPARE(f.prompts().messages(), (QStringList{"Please select a customer to bill.",
                                                      "Please select an item to bill."}));
        addLine(f, Ten, QStringLiteral("3"));
        QVERIFY(choose(f.combo("combInvPart"), QString::fromLatin1(Untaxed)));
        f.box("txtInvDesc")->clear();
        addLine(f, nullptr, QStringLiteral("2"));
        f.prompts().clear();
        f.prompts().answerConfirm(false);
        f.click("cmdInvoice");
        QCOMPARE(f.prompts().allTexts(),
                 (QStringList{"Do you want to print this invoice now?",
                              "You can print the invoice later by selecting\n"
                              "Print All Invoices on the report menu."}));
        QCOMPARE(DbProbe::value("SELECT InvDate || '|' || PostDate || '|' || CustID || '|' || "
                                "InvTax || '|' || InvTotal || '|' || WrkOrdNum || '|' || "
                                "InvPrinted || InvPaid FROM ARInvoice WHERE InvNum = 2"),
                 QStringLiteral("%1|%1|MIA-2|24800|414800|5|00")
                     .arg(QDate::currentDate().toString(Qt::ISODate)));
        QCOMPARE(DbProbe::column("SELECT PartNo || '|' || PartDescp || '|' || CAST(PartQty * 10 AS "
                                 "INTEGER) || '|' || "
                                 "PartPrice FROM InvDetail WHERE InvNum = 2 ORDER BY rowid"),
                 (QStringList{"TEN|Ten dollar part|30|100000", "HALF||20|45000"}));
        QCOMPARE(taxAndTotal(f) + '|' + f.box("txtInvNum")->text() + '|' + marks(),
                 "0.00|0.00|3|1/2");
        QCOMPARE(f.list("lstInvItems")->count(), 0);
    }

    void invoiceTakesTheNextFreeNumberAndTheTicketsNewWorkOrder()
    {
        HelpDeskFixture f;
        ReportCapture capture;
        open(f, 3, false);
        f.pick("combRepairTech", "RP-3   Raj  Patel");
        f.type("txtRepairNotes", "Mail client reinstalled.");
        f.click("cmdCreateWrkOrd");
        addLine(f, Untaxed, QStringLiteral("1"));
        // Other workstations wrote invoices since the window showed its number.
        QVERIFY(DbProbe::exec(QStringLiteral("UPDATE InvNumCount SET InvNum = 41")));
        f.type("txtInvNum", "40");
        f.click("cmdInvoice"); // and print it
        QCOMPARE(DbProbe::value(
                     "SELECT i.WrkOrdNum || '' || r.Invoiced || c.InvNum || '' || i.InvPrinted "
                     "FROM ARInvoice i, RepairOrder r, InvNumCount c "
                     "WHERE i.InvNum = 42 AND r.WorkNum = 2"),
                 "21421");
        QCOMPARE(f.box("txtInvNum")->text(), "43");
        QCOMPARE(capture.runs().size(), 1);
        QVERIFY(capture.text(capture.last()).contains(QStringLiteral("Cleaning, untaxed")));
    }
};

QTEST_MAIN(TestInvoice)
#include "tst_invoice.moc"
