#pragma once

#include <QString>
#include <QTemporaryDir>

/**
 * A fresh program folder for one test: the shipped program files (Reports, EmpPics, help) and a
 * new database holding the starting content (administrator ADMIN, password "admin"), or the demo
 * shop. The program works in it until the object goes.
 */
class TestFolder {
public:
    enum class Content { Starting, Demo, NoDatabase };

    explicit TestFolder(Content content = Content::Starting);
    ~TestFolder();
    TestFolder(const TestFolder&) = delete;
    TestFolder& operator=(const TestFolder&) = delete;

    QString path() const { return m_dir.path(); }
    QString filePath(const QString& name) const { return m_dir.filePath(name); }
    QString databasePath() const;
    bool isValid() const { return m_valid; }

    static QString adminPassword() { return QStringLiteral("admin"); }
    /** Whether the tests' shops live on the test database server that QUORVANE_TEST_PG names
     *  rather than in files. */
    static bool onServer();
    /** The address of a new, empty database on the test server, dropped when the tests end. */
    static QString emptyServerDatabase();

private:
    QTemporaryDir m_dir;
    bool m_valid = false;
    /** The shop's database on the test server; empty for a file. */
    QString m_serverDatabase;
};

/** Skips a case that only the embedded file has (its encryption, locks, copies and folders). */
#define SKIP_ON_SERVER()                                                                           \
    do {                                                                                           \
        if (TestFolder::onServer())                                                                \
            QSKIP("This case concerns the database file");                                         \
    } while (false)
