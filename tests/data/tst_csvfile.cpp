#include "data/csvfile.h"

#include <QTemporaryDir>
#include <QtTest>

/** CSV as spreadsheets read it: awkward fields survive a write and a read back. */
class TestCsvFile : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void roundTrip()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("out.csv"));
        const QStringList headings{QStringLiteral("Ticket"), QStringLiteral("Problem")};
        const std::vector<QStringList> rows{
            {QStringLiteral("1"), QStringLiteral("Screen, keyboard")},
            {QStringLiteral("2"), QStringLiteral("Says \"no boot\"\nthen beeps")},
            {QStringLiteral("3"), QString()},
            {QStringLiteral(" 4 "), QStringLiteral("Grüße")},
        };
        QCOMPARE(CsvFile::write(path, headings, rows), QString());

        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QVERIFY(bytes.startsWith("Ticket,Problem\r\n1,\"Screen, keyboard\"\r\n"));
        const auto back = CsvFile::parse(QString::fromUtf8(bytes));
        QCOMPARE(back.size(), rows.size() + 1);
        QCOMPARE(back.front(), headings);
        for (std::size_t i = 0; i < rows.size(); ++i)
            QCOMPARE(back[i + 1], rows[i]);
    }

    void unwritableFileIsReported()
    {
        const QString error = CsvFile::write(QStringLiteral("/nonexistent-folder/out.csv"),
                                             {QStringLiteral("A")}, {});
        QVERIFY(!error.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestCsvFile)
#include "tst_csvfile.moc"
