#include "helpdesk/invoicearithmetic.h"

#include <QtTest>

/** The money arithmetic of an invoice: line amounts, rounded taxes, the running tally. */
class TestInvoiceArithmetic : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void lineAmountAndTax()
    {
        for (const auto& [quantity, price, amount] : {std::tuple{"3", "10", "30"},
                                                      {"1.5", "12.99", "19.485"},
                                                      {"3", "0.1", "0.3"},
                                                      {"", "10", ""},
                                                      {"two", "10", ""},
                                                      {"2", "", ""}})
            QCOMPARE(InvoiceArithmetic::lineAmountText(quantity, price), QString(amount));
        // Halves of a cent go away from zero, after the amount's four places.
        for (const auto& [amount, rate, tax] : {std::tuple{30.0, 8.25, "2.48"},
                                                {1.25, 10.0, "0.13"},
                                                {19.485, 8.25, "1.61"},
                                                {-30.0, 8.25, "-2.48"}})
            QCOMPARE(InvoiceArithmetic::lineTax(amount, rate).toString(), QString(tax));
    }

    void totalIsAlwaysTheSumOfTheListedLines()
    {
        InvoiceTally tally;
        const auto shows = [&] { return tally.taxText + QLatin1Char('/') + tally.totalText; };
        const LineCharge odd = InvoiceArithmetic::addLine(tally, 1.5, 12.99, "19.485", 8.25);
        QCOMPARE(shows(), QStringLiteral("1.61/21.10"));
        const LineCharge untaxed = InvoiceArithmetic::addLine(tally, 3, 0.335, "1.005", {});
        QCOMPARE(shows(), QStringLiteral("1.61/22.11"));
        const LineCharge taxed = InvoiceArithmetic::addLine(tally, 1, 3, "3", 10.0);
        QCOMPARE(shows(), QStringLiteral("1.91/25.41"));
        // The tax shows as plain text, the total with its cents.
        InvoiceArithmetic::removeLine(tally, odd, false);
        QCOMPARE(shows(), QStringLiteral("0.3/4.31"));
        InvoiceArithmetic::removeLine(tally, untaxed, false);
        QCOMPARE(shows(), QStringLiteral("0.3/3.30"));
        InvoiceArithmetic::removeLine(tally, taxed, true);
        QCOMPARE(shows(), QStringLiteral("0.00/0.00"));
        QVERIFY(tally.tax.isZero());
    }
};

QTEST_GUILESS_MAIN(TestInvoiceArithmetic)
#include "tst_invoicearithmetic.moc"
