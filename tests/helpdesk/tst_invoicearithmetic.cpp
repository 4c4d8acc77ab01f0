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
        QTest::newRow("whole") << "3"
                               << "10"
                               << "30";
        QTest::newRow("fractions") << "1.5"
                                   << "12.99"
                                   << "19.485";
        QTest::newRow("no binary noise") << "3"
                                         << "0.1"
                                         << "0.3";
        QTest::newRow("empty quantity") << ""
                                        << "10"
                                        << "";
        QTest::newRow("quantity not a number") << "two"
                                               << "10"
                                               << "";
        QTest::newRow("no price yet") << "2"
                                      << ""
                                      << "";
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
        QTest::newRow("2.475") << 30.0 << 8.25 << "2.48";
        QTest::newRow("0.125") << 1.25 << 10.0 << "0.13";
        QTest::newRow("four places first") << 19.485 << 8.25 << "1.61";
        QTest::newRow("negative") << -30.0 << 8.25 << "-2.48";
    }

    void taxRoundsHalfCentsAwayFromZero()
    {
        QFETCH(double, amount);
        QFETCH(double, rate);
        QFETCH(QString, tax);
        QCOMPARE(InvoiceArithmetic::lineTax(amount, rate).toString(), tax);
    }

    void taxShowsAsPlainTextTotalWithCents()
    {
        InvoiceTally tally;
        InvoiceArithmetic::addLine(tally, 1, 12, "12", 10.0);
        InvoiceArithmetic::addLine(tally, 1, 3, "3", 10.0);
        QCOMPARE(tally.taxText, QStringLiteral("1.5"));
        QCOMPARE(tally.totalText, QStringLiteral("16.50"));
    }

    void totalIsAlwaysTheSumOfTheListedLines()
    {
        InvoiceTally tally;
        const LineCharge odd = InvoiceArithmetic::addLine(tally, 1.5, 12.99, "19.485", 8.25);
        QCOMPARE(tally.taxText, QStringLiteral("1.61"));
        QCOMPARE(tally.totalText, QStringLiteral("21.10"));
        const LineCharge untaxed = InvoiceArithmetic::addLine(tally, 3, 0.335, "1.005", {});
        QCOMPARE(tally.totalText, QStringLiteral("22.11"));
        const LineCharge taxed = InvoiceArithmetic::addLine(tally, 1, 3, "3", 10.0);
        QCOMPARE(tally.taxText, QStringLiteral("1.91"));
        QCOMPARE(tally.totalText, QStringLiteral("25.41"));

        InvoiceArithmetic::removeLine(tally, odd, false);
        QCOMPARE(tally.taxText, QStringLiteral("0.3"));
        QCOMPARE(tally.totalText, QStringLiteral("4.31"));
        InvoiceArithmetic::removeLine(tally, untaxed, false);
        QCOMPARE(tally.taxText, QStringLiteral("0.3"));
        QCOMPARE(tally.totalText, QStringLiteral("3.30"));
        InvoiceArithmetic::removeLine(tally, taxed, true);
        QCOMPARE(tally.taxText, QStringLiteral("0.00"));
        QCOMPARE(tally.totalText, QStringLiteral("0.00"));
        QVERIFY(tally.tax.isZero());
    }
};

QTEST_GUILESS_MAIN(TestInvoiceArithmetic)
#include "tst_invoicearithmetic.moc"
