#include "data/database.h"
#include "data/programfolder.h"

#include <QTemporaryDir>
#include <QtTest>

/** Where the shop's data lives, and what a new shop folder receives. */
class TestProgramFolder : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void chosenFolder_data()
    {
        QTest::addColumn<QString>("beside");     // what the executable's folder holds
        QTest::addColumn<QString>("configured"); // the folder named in the settings
        QTest::addColumn<QString>("expected");   // executable, configured or user
        QTest::newRow("a build with the shipped reports") << "Reports"
                                                          << ""
                                                          << "executable";
        QTest::newRow("a copy of the program with its database")
            << QString::fromLatin1(Database::FileName) << "/srv/shop"
            << "executable";
        QTest::newRow("an installed program") << ""
                                              << ""
                                              << "user";
        QTest::newRow("an installed program with a folder in the settings") << ""
                                                                            << "/srv/shop"
                                                                            << "configured";
    }

    void chosenFolder()
    {
        QFETCH(QString, beside);
        QFETCH(QString, configured);
        QFETCH(QString, expected);
        QTemporaryDir executable;
        if (beside == QLatin1String("Reports"))
            QVERIFY(QDir(executable.path()).mkdir(beside));
        else if (!beside.isEmpty())
            QVERIFY(QFile(executable.filePath(beside)).open(QIODevice::WriteOnly));
        const QString user = QStringLiteral("/home/clerk/.local/share/Quorvane");
        const QString chosen = ProgramFolder::choose(executable.path(), configured, user);
        QCOMPARE(chosen, expected == QLatin1String("executable") ? executable.path()
                         : expected == QLatin1String("user")     ? user
                                                                 : configured);
    }

    void newShopFolderGetsShippedFilesOnce()
    {
        QTemporaryDir shop;
        ProgramFolder::setPath(shop.path());
        QFile edited(shop.filePath(QStringLiteral("Reports/Bill.rpt")));
        QVERIFY(QDir(shop.path()).mkdir(QStringLiteral("Reports")));
        QVERIFY(edited.open(QIODevice::WriteOnly));
        edited.write("the shop's own layout");
        edited.close();

        ProgramFolder::layOutShippedFiles();
        for (const char* file : {"Reports/Sales Tax.rpt", "Help/index.html",
                                 "EmpPics/defaultPic.jpg", "quorvane.ini.example"})
            QVERIFY2(QFile::exists(shop.filePath(QString::fromLatin1(file))), file);
        QVERIFY(edited.open(QIODevice::ReadOnly));
        QCOMPARE(edited.readAll(), QByteArray("the shop's own layout"));
        ProgramFolder::setPath(QString());
    }
};

QTEST_GUILESS_MAIN(TestProgramFolder)
#include "tst_programfolder.moc"
