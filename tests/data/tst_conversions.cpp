#include "data/conversions.h"

#include <QtTest>

/** The shared number, money and date conversions at their edges. */
class TestConversions : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void amountFormat_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("expected");
        QTest::newRow("zero") << 0.0 << "0.00";
        QTest::newRow("half cent up") << 2.475 << "2.48";
        QTest::newRow("binary 2.675") << 2.675 << "2.68";
        QTest::newRow("half cent negative") << -2.475 << "-2.48";
        QTest::newRow("below half") << 1.004999 << "1.00";
        QTest::newRow("large") << 1234567.891 << "1234567.89";
        QTest::newRow("sum in double") << 0.1 + 0.2 << "0.30";
        QTest::newRow("tiny negative") << -0.001 << "0.00";
    }

    void amountFormat()
    {
        QFETCH(double, value);
        QFETCH(QString, expected);
        QCOMPARE(conv::formatAmount(value), expected);
    }

    void currencyArithmetic()
    {
        const Currency price = Currency::fromText(QStringLiteral("10.00"));
        const Currency amount = price * 3.0;
        QCOMPARE(amount.toPlainString(), QStringLiteral("30"));
        const Currency tax = Currency::fromDouble(amount.toDouble() * 8.25 / 100);
        QCOMPARE(tax.toPlainString(), QStringLiteral("2.475"));
        QCOMPARE(tax.roundedToCents().toString(), QStringLiteral("2.48"));
        QCOMPARE((amount + tax.roundedToCents()).toString(), QStringLiteral("32.48"));
        QCOMPARE((Currency::fromText(QStringLiteral("1.20")) +
                  Currency::fromText(QStringLiteral("0.30")))
                     .toPlainString(),
                 QStringLiteral("1.5"));
        // Four places, halves to even, beyond that.
        QCOMPARE(Currency::fromText(QStringLiteral("0.00005")).units(), 0);
        QCOMPARE(Currency::fromText(QStringLiteral("0.00015")).units(), 2);
        QCOMPARE(Currency::fromText(QStringLiteral("0.000051")).units(), 1);
        QCOMPARE(Currency::fromText(QStringLiteral("-1,234.5")).units(), -12345000);
        QVERIFY(!Currency::parse(QStringLiteral("12abc")));
        QVERIFY(!Currency::parse(QStringLiteral("")));
        QVERIFY(!Currency::parse(QStringLiteral(".")));
        QVERIFY(!Currency::parse(QStringLiteral("99999999999999999999")));
        QCOMPARE(Currency::fromText(QStringLiteral("junk")), Currency());
        QCOMPARE(Currency::fromUnits(-5000).toString(), QStringLiteral("-0.50"));
        QCOMPARE(Currency::fromUnits(-49).toString(), QStringLiteral("0.00"));
    }

    void masks()
    {
        QCOMPARE(conv::formatSixDigits(42), QStringLiteral("000042"));
        QCOMPARE(conv::formatSixDigits(1234567), QStringLiteral("1234567"));
        QCOMPARE(conv::formatSlashedDate(QStringLiteral("120626")), QStringLiteral("12/06/26"));
        QCOMPARE(conv::formatSlashedDate(QStringLiteral("10126")), QStringLiteral("01/01/26"));
        QCOMPARE(conv::formatSlashedDate(QStringLiteral("12/06/26")), QStringLiteral("12/06/26"));
        QCOMPARE(conv::formatSsn(QStringLiteral("123456789")), QStringLiteral("123-45-6789"));
        QCOMPARE(conv::formatSsn(QStringLiteral("12345678")), QStringLiteral("012-34-5678"));
        QCOMPARE(conv::formatSsn(QStringLiteral("123-45-6789")), QStringLiteral("123-45-6789"));
        QCOMPARE(conv::formatAmountText(QStringLiteral("7")), QStringLiteral("7.00"));
        QCOMPARE(conv::formatAmountText(QStringLiteral("abc")), QStringLiteral("abc"));
        QCOMPARE(conv::formatDate(QDate(2026, 3, 7)), QStringLiteral("03/07/26"));
        QCOMPARE(conv::formatDate(QDate()), QString());
    }

    void dates_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QDate>("expected");
        QTest::newRow("mm/dd/yy") << "12/06/26" << QDate(2026, 12, 6);
        QTest::newRow("m/d/yy") << "1/5/99" << QDate(1999, 1, 5);
        QTest::newRow("four-digit year") << "2/29/2024" << QDate(2024, 2, 29);
        QTest::newRow("pivot 29") << "1/1/29" << QDate(2029, 1, 1);
        QTest::newRow("pivot 30") << "1/1/30" << QDate(1930, 1, 1);
        QTest::newRow("no such day") << "2/30/26" << QDate();
        QTest::newRow("month 13") << "13/01/26" << QDate();
        QTest::newRow("digits only") << "120626" << QDate();
        QTest::newRow("empty") << "" << QDate();
    }

    void dates()
    {
        QFETCH(QString, text);
        QFETCH(QDate, expected);
        QCOMPARE(conv::parseDate(text).value_or(QDate()), expected);
        QCOMPARE(conv::isDate(text), expected.isValid());
    }

    void wholeNumbers()
    {
        using E32 = conv::Whole<std::int32_t>::Error;
        using E16 = conv::Whole<std::int16_t>::Error;
        QCOMPARE(conv::toInt32(QStringLiteral(" 42 ")).value, 42);
        QCOMPARE(conv::toInt32(QStringLiteral("2147483647")).value, 2147483647);
        QCOMPARE(conv::toInt32(QStringLiteral("2147483648")).error, E32::Overflow);
        QCOMPARE(conv::toInt32(QStringLiteral("-2147483649")).error, E32::Overflow);
        QCOMPARE(conv::toInt32(QStringLiteral("abc")).error, E32::NotNumeric);
        QCOMPARE(conv::toInt32(QString()).error, E32::NotNumeric);
        QCOMPARE(conv::toInt16(QStringLiteral("32767")).value, 32767);
        QCOMPARE(conv::toInt16(QStringLiteral("32768")).error, E16::Overflow);
        QCOMPARE(conv::toInt16(QStringLiteral("2.5")).value, 2); // halves to even
        QCOMPARE(conv::toInt16(QStringLiteral("3.5")).value, 4);
        QVERIFY(conv::isNumeric(QStringLiteral("-1.5e3")));
        QVERIFY(conv::isNumeric(QStringLiteral(".5")));
        QVERIFY(!conv::isNumeric(QStringLiteral("1.2.3")));
        QVERIFY(!conv::isNumeric(QStringLiteral("")));
        QCOMPARE(conv::leadingNumber(QStringLiteral("12abc")), 12.0);
        QCOMPARE(conv::leadingNumber(QStringLiteral("abc")), 0.0);
    }
};

QTEST_GUILESS_MAIN(TestConversions)
#include "tst_conversions.moc"
