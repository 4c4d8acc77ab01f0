#include "data/csvfile.h"
#include "support/filecontents.h"
#include "support/fulldisk.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::Literals::StringLiterals;

namespace {

/** Takes `room` bytes and then refuses, as a file on a disk that fills up does. */
class FillingDevice : public QIODevice {
public:
    explicit FillingDevice(qint64 room) : m_room(room) { open(QIODevice::WriteOnly); }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char*, qint64 length) override
    {
        const qint64 taken = std::min(length, m_room);
        m_room -= taken;
        if (taken < length)
            setErrorString(QStringLiteral("No space left on device"));
        return taken == 0 ? -1 : taken;
    }

private:
    qint64 m_room;
};

} // namespace

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

    void fieldsThatWouldRunAreWrittenAsText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("written");
        QTest::newRow("formula") << "=HYPERLINK(\"http://x\",\"y\")"
                                 << "\"'=HYPERLINK(\"\"http://x\"\",\"\"y\"\")\"";
        QTest::newRow("command") << "=cmd|' /C calc'!A0"
                                 << "\"'=cmd|' /C calc'!A0\"";
        QTest::newRow("plus") << "+1+2"
                              << "\"'+1+2\"";
        QTest::newRow("minus") << "-2+3"
                               << "\"'-2+3\"";
        QTest::newRow("lone minus") << "-"
                                    << "\"'-\"";
        QTest::newRow("at") << "@SUM(A1)"
                            << "\"'@SUM(A1)\"";
        QTest::newRow("after blanks") << "  =1+1"
                                      << "\"'  =1+1\"";
        QTest::newRow("leading tab") << "\t=1+1"
                                     << "\"'\t=1+1\"";
        QTest::newRow("leading return") << "\r=1+1"
                                        << "\"'\r=1+1\"";
        QTest::newRow("NUL before a formula") << QString(u"\0=1+1"_s) << "\"'=1+1\"";
        QTest::newRow("NUL and bell") << QString(u"Kim\0 Chen\a"_s) << "Kim Chen";
        QTest::newRow("tab inside") << "Kim\tChen"
                                    << "Kim\tChen";
        QTest::newRow("negative amount") << "-12.50"
                                         << "-12.50";
        QTest::newRow("signed whole number") << "+7"
                                             << "+7";
        QTest::newRow("negative amount after a blank") << " -3"
                                                       << "\" -3\"";
    }

    void fieldsThatWouldRunAreWrittenAsText()
    {
        QFETCH(QString, text);
        QFETCH(QString, written);
        QCOMPARE(CsvFile::field(text), written);
    }

    void everyWriteThatFailsIsReported_data()
    {
        QTest::addColumn<qint64>("room");
        QTest::addColumn<int>("rows");
        QTest::newRow("nothing fits") << qint64(0) << 3;
        QTest::newRow("the heading fits, a row does not") << qint64(8) << 3;
        QTest::newRow("a large file, after its first part") << qint64(70000) << 20000;
    }

    void everyWriteThatFailsIsReported()
    {
        QFETCH(qint64, room);
        QFETCH(int, rows);
        FillingDevice device(room);
        const std::vector<QStringList> lines(std::size_t(rows), {QStringLiteral("12345")});
        QCOMPARE(CsvFile::write(device, {QStringLiteral("Ticket")}, lines),
                 QStringLiteral("No space left on device"));
    }

    void aFileThatCannotBeWrittenLeavesTheOldOne()
    {
        QCOMPARE(CsvFile::write(QStringLiteral("/nonexistent-folder/out.csv"),
                                {QStringLiteral("A")}, {}),
                 QStringLiteral("No such file or directory"));

        FullDisk disk;
        SKIP_UNLESS_FULL(disk);
        QVERIFY(disk.holdFile(QStringLiteral("y.csv"), "the old export\r\n"));
        const QString path = disk.filePath(QStringLiteral("y.csv"));
        QCOMPARE(CsvFile::write(path, {QStringLiteral("Ticket")}, {{QStringLiteral("1")}}),
                 QStringLiteral("No space left on device"));
        QCOMPARE(contentsOf(path), QByteArray("the old export\r\n"));
        QCOMPARE(QDir(disk.path()).entryList(QDir::Files), (QStringList{"filler", "y.csv"}));
    }
};

QTEST_GUILESS_MAIN(TestCsvFile)
#include "tst_csvfile.moc"
