#include "data/programfolder.h"
#include "helpdeskfixture.h"
#include "support/reportcapture.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTabWidget>
#include <QtTest>

using WidgetTesting::typeInto;

/** Frame "Invoice": adding and removing lines with their tax, writing and printing the invoice. */
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
    void linesShowAmountTaxAndTotal()
    {
        HelpDeskFixture f;
        open(f);
        QVERIFY(choose(f.combo("combInvPart"), QString::fromLatin1(Ten)));
        QCOMPARE(f.texts({"txtInvDesc", "txtPrice"}), QStringLiteral("Ten dollar part|10"));
        typeInto(f.box("txtInvQty"), QStringLiteral("3"));
        QCOMPARE(f.box("txtInvSubTotal")->text(), QStringLiteral("30"));
        QTest::keyClick(f.box("txtInvQty"), Qt::Key_Tab);
        QCOMPARE(f.list("lstInvItems")->lines(), QStringList{"TEN\tTen dollar part\t3\t10\t30"});
        QCOMPARE(taxAndTotal(f), QStringLiteral("2.48|32.48"));
        QCOMPARE(f.texts({"txtInvDesc", "txtInvQty", "txtPrice", "txtInvSubTotal"}) +
                     f.combo("combInvPart")->currentText(),
                 "|||");
        QCOMPARE(QApplication::focusWidget(), f.combo("combInvPart"));

        // An untaxed line adds its amount only; an edited price is the line's price.
        QVERIFY(choose(f.combo("combInvPart"), QString::fromLatin1(Untaxed)));
        typeInto(f.box("txtInvQty"), QStringLiteral("1.5"));
        f.box("txtPrice")->setText(QStringLiteral("4"));
        QCOMPARE(f.box("txtInvSubTotal")->text(), QStringLiteral("6"));
        QTest::keyClick(f.box("txtInvQty"), Qt::Key_Tab);
        QCOMPARE(f.list("lstInvItems")->line(1), "HALF\tCleaning, untaxed\t1.5\t4\t6");
        QCOMPARE(taxAndTotal(f), QStringLiteral("2.48|38.48"));

        // Choosing a line takes back what it added, even when the price has changed since;
        // arriving in the list by Tab takes back nothing.
        addLine(f, "TWELVE - Taxed at ten percent", QStringLiteral("1"));
        QVERIFY(DbProbe::exec("UPDATE Inventory SET ItemPrice1 = 990000 WHERE ItemNo = 'TEN'"));
        TabbedList* items = f.list("lstInvItems");
        items->setFocus(Qt::TabFocusReason);
        QTest::keyClick(items, Qt::Key_Down);
        QCOMPARE(items->count(), 2);
        QCOMPARE(taxAndTotal(f), QStringLiteral("1.2|19.20"));
        HelpDeskFixture::chooseLine(items, 0);
        QCOMPARE(taxAndTotal(f) + '|' + items->line(0),
                 "1.2|13.20|TWELVE\tTaxed at ten percent\t1\t12\t12");
        HelpDeskFixture::chooseLine(items, 0);
        QCOMPARE(taxAndTotal(f) + QString::number(items->count()), QStringLiteral("0.00|0.000"));
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

    void invoiceIsWrittenWholeOrNotAtAll()
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

        // Invoice 2 exists although the counter was never advanced past 1: nothing is written.
        QVERIFY(DbProbe::exec("INSERT INTO ARInvoice (InvNum, CustID) VALUES (2, 'JTH-1')"));
        f.prompts().clear();
        f.click("cmdInvoice");
        QCOMPARE(f.prompts().allTexts(),
                 QStringList{"The invoice could not be written.\nInvoice 2 already exists."});
        QCOMPARE(taxAndTotal(f) + '|' + f.box("txtInvNum")->text(), "2.48|41.48|2");
        QCOMPARE(f.list("lstInvItems")->count(), 2);
        QCOMPARE(DbProbe::count(QStringLiteral("InvDetail"), QStringLiteral("InvNum = 2")), 0);
        QCOMPARE(marks(), QStringLiteral("0/1"));

        QVERIFY(DbProbe::exec("DELETE FROM ARInvoice WHERE InvNum = 2"));
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
        QCOMPARE(DbProbe::column("SELECT PartNo || '|' || PartDescp || '|' || PartQty || '|' || "
                                 "PartPrice FROM InvDetail WHERE InvNum = 2 ORDER BY rowid"),
                 (QStringList{"TEN|Ten dollar part|3.0|100000", "HALF||2.0|45000"}));
        QCOMPARE(marks(), QStringLiteral("1/2"));
        QCOMPARE(taxAndTotal(f) + '|' + f.box("txtInvNum")->text(), "0.00|0.00|3");
        QCOMPARE(f.list("lstInvItems")->count(), 0);
        QVERIFY(f.button("cmdInvoice")->isEnabled());
    }

    void invoiceTakesTheNextFreeNumberAndTheTicketsNewWorkOrder()
    {
        HelpDeskFixture f;
        ReportCapture capture;
        open(f, 3, false);
        QVERIFY(choose(f.combo("combRepairTech"), QStringLiteral("RP-3   Raj  Patel")));
        f.area("txtRepairNotes")->setPlainText(QStringLiteral("Mail client reinstalled."));
        f.click("cmdCreateWrkOrd");
        addLine(f, Untaxed, QStringLiteral("1"));
        // Other workstations wrote invoices since the window showed its number.
        QVERIFY(DbProbe::exec(QStringLiteral("UPDATE InvNumCount SET InvNum = 41")));
        f.box("txtInvNum")->setText(QStringLiteral("40"));
        f.click("cmdInvoice"); // and print it
        QCOMPARE(DbProbe::value("SELECT i.WrkOrdNum || r.Invoiced || c.InvNum || i.InvPrinted "
                                "FROM ARInvoice i, RepairOrder r, InvNumCount c "
                                "WHERE i.InvNum = 42 AND r.WorkNum = 2"),
                 QStringLiteral("21421"));
        QCOMPARE(f.box("txtInvNum")->text(), QStringLiteral("43"));
        QCOMPARE(capture.runs().size(), 1);
        QCOMPARE(capture.last().selectionFormula, QStringLiteral("{ARINVOICE.InvNum}=42"));
        QVERIFY(capture.text(capture.last()).contains(QStringLiteral("Cleaning, untaxed")));
    }
};

QTEST_MAIN(TestInvoice)
#include "tst_invoice.moc"
