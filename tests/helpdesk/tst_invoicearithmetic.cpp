#include "helpdesk/invoicearithmetic.h"

#include <QtTest>

/** The money arithmetic of an invoice: line amounts, rounded taxes, the running tally. */
class TestInvoiceArithmetic : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void lineAmount_data()
    {
        QTest::addColumn<QString>("quantity");
        QTest::addColumn<QString>("price");
        QTest::addColumn<QString>("amount");
        for (const auto& [name, quantity, price, amount] :
             {std::tuple{"whole", "3", "10", "30"},
              {"fractions", "1.5", "12.99", "19.485"},
              {"no binary noise", "3", "0.1", "0.3"},
              {"empty quantity", "", "10", ""},
              {"quantity not a number", "two", "10", ""},
              {"no price yet", "2", "", ""}})
            QTest::newRow(name) << QString(quantity) << QString(price) << QString(amount);
    }
    void lineAmount()
    {
        QFETCH(QString, quantity);
        QFETCH(QString, price);
        QFETCH(QString, amount);
        QCOMPARE(InvoiceArithmetic::lineAmountText(quantity, price), amount);
    }

    void taxRoundsHalfCentsAwayFromZero_data()
    {
        QTest::addColumn<double>("amount");
        QTest::addColumn<double>("rate");
        QTest::addColumn<QString>("tax");
        for (const auto& [name, amount, rate, tax] : {std::tuple{"2.475", 30.0, 8.25, "2.48"},
                                                      {"0.125", 1.25, 10.0, "0.13"},
                                                      {"four places first", 19.485, 8.25, "1.61"},
                                                      {"negative", -30.0, 8.25, "-2.48"}})
            QTest::newRow(name) << amount << rate << QString(tax);
    }
    void taxRoundsHalfCentsAwayFromZero()
    {
        QFETCH(double, amount);
        QFETCH(double, rate);
        QFETCH(QString, tax);
        QCOMPARE(InvoiceArithmetic::lineTax(amount, rate).toString(), tax);
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
