#pragma once

#include "support/secondconnection.h"

#include <QString>
#include <QTemporaryDir>
#include <memory>

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
    /** Makes the database refuse a write as a full disk would, until allowWrites (which does
     *  nothing when not refused): `when` names the event and the table ("UPDATE ON CallLog"),
     *  `message` the error the write gets. */
    static bool refuseWrites(const QString& when, const QString& message);
    static bool allowWrites(const QString& when);
    /** Turns the folder's shop into one that an older release made: encrypted with the old
     *  password, without a key file. */
    bool useOldPassword();

private:
    QTemporaryDir m_dir;
    bool m_valid = false;
    /** The shop's database on the test server; empty for a file. */
    QString m_serverDatabase;
};

/**
 * A connection of its own to the test's shop, as another workstation has: a second session on
 * the test server, or the file reached through a link under another name.
 */
class OtherWorkstation {
public:
    OtherWorkstation();
    ~OtherWorkstation();
    OtherWorkstation(const OtherWorkstation&) = delete;
    OtherWorkstation& operator=(const OtherWorkstation&) = delete;

    Database& db() { return *m_db; }

private:
    struct ServerSession;
    std::unique_ptr<SecondConnection> m_file;
    std::unique_ptr<ServerSession> m_server;
    Database* m_db = nullptr;
};

/** Whether SQLCipher, keyed with `key` as the program keys it, reads the file at `path`. */
bool opensWithKey(const QString& path, const QByteArray& key);

/** The permission bits of the file at `path` (0600 for a private file); -1 when there is none. */
int modeOf(const QString& path);

/** Skips a case that only the embedded file has (its encryption, locks, copies and folders). */
#define SKIP_ON_SERVER()                                                                           \
    do {                                                                                           \
        if (TestFolder::onServer())                                                                \
            QSKIP("This case concerns the database file");                                         \
    } while (false)
