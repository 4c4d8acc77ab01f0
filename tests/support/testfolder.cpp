#include "support/testfolder.h"

#include "data/database.h"
#include "data/databasesetup.h"
#include "data/programfolder.h"
#include "data/serversettings.h"
#include "data/shopkey.h"
#include "widgets/singlelinetext.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QSettings>
#include <map>
#include <sqlcipher/sqlite3.h>
#include <sys/stat.h>
#include <vector>

namespace {

QString adminAddress()
{
    return qEnvironmentVariable("QUORVANE_TEST_PG");
}

QString addressOf(const QString& database)
{
    return adminAddress() + QStringLiteral(" dbname=") + database;
}

void onServer(const QString& sql)
{
    Database db = Database::atServer(adminAddress());
    const Status status = db.isOpen() ? db.exec(sql) : db.openStatus();
    if (!status)
        qFatal("%s: %s", qPrintable(sql), qPrintable(status.message()));
}

// On a test server, each test's shop is a database of its own, copied from one made once per
// content per test process; all of them go when the process ends.
class ServerShops {
public:
    // Touching the kept connections first makes them outlive this object at the process's end.
    ServerShops() { Database::closeKeptConnections(); }
    ServerShops(const ServerShops&) = delete;
    ServerShops& operator=(const ServerShops&) = delete;
    ~ServerShops()
    {
        Database::closeKeptConnections();
        for (const auto& [content, name] : m_templates)
            drop(name);
        for (const QString& name : m_empty)
            drop(name);
    }

    QString create(TestFolder::Content content)
    {
        const QString name =
            QStringLiteral("shop_%1_%2").arg(QCoreApplication::applicationPid()).arg(++m_made);
        onServer(QStringLiteral("CREATE DATABASE %1 TEMPLATE %2 STRATEGY FILE_COPY")
                     .arg(name, templateOf(content)));
        return name;
    }

    QString createEmpty()
    {
        const QString name =
            QStringLiteral("empty_%1_%2").arg(QCoreApplication::applicationPid()).arg(++m_made);
        onServer(QStringLiteral("CREATE DATABASE %1").arg(name));
        m_empty.push_back(name);
        return addressOf(name);
    }

    static void drop(const QString& name)
    {
        Database::closeKeptConnections();
        onServer(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(name));
    }

private:
    QString templateOf(TestFolder::Content content)
    {
        if (auto found = m_templates.find(content); found != m_templates.end())
            return found->second;
        const bool demo = content == TestFolder::Content::Demo;
        const QString name = QStringLiteral("template_%1_%2")
                                 .arg(QCoreApplication::applicationPid())
                                 .arg(demo ? QStringLiteral("demo") : QStringLiteral("starting"));
        onServer(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(name));
        onServer(QStringLiteral("CREATE DATABASE %1").arg(name));
        m_templates[content] = name;
        const Status status =
            DatabaseSetup::createOnServer(addressOf(name), TestFolder::adminPassword(), demo);
        Database::closeKeptConnections(); // a template takes no connections while it is copied
        if (!status)
            qFatal("Cannot create the test database: %s", qPrintable(status.message()));
        return name;
    }

    std::map<TestFolder::Content, QString> m_templates;
    std::vector<QString> m_empty;
    int m_made = 0;
};

// Creating a database hashes a password and builds every table; do it once per content per
// test process and hand each test a copy.
QString templateDatabase(TestFolder::Content content)
{
    static QTemporaryDir store;
    static std::map<TestFolder::Content, QString> made;
    auto found = made.find(content);
    if (found != made.end())
        return found->second;
    // Each in a folder of its own, beside its own key file.
    const QString folder = store.filePath(
        content == TestFolder::Content::Demo ? QStringLiteral("demo") : QStringLiteral("starting"));
    QDir().mkpath(folder);
    const QString path = QDir(folder).filePath(QString::fromLatin1(Database::FileName));
    const Status status = DatabaseSetup::create(path, TestFolder::adminPassword(),
                                                content == TestFolder::Content::Demo);
    Database::closeKeptConnections();
    if (!status)
        qFatal("Cannot create the test database: %s", qPrintable(status.message()));
    made[content] = path;
    return path;
}

ServerShops& serverShops()
{
    static ServerShops shops;
    return shops;
}

void copyTree(const QString& from, const QString& to)
{
    if (from.isEmpty() || !QFileInfo(from).isDir())
        return;
    QDirIterator it(from, QDir::Files | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString source = it.next();
        const QString relative = QDir(from).relativeFilePath(source);
        // The fonts are read where the program is, never from the shop's folder.
        if (relative.startsWith(QLatin1String("fonts/")))
            continue;
        const QString target = QDir(to).filePath(relative);
        QDir().mkpath(QFileInfo(target).path());
        QFile::copy(source, target);
    }
}

} // namespace

TestFolder::TestFolder(Content content)
{
    // The windows a test opens keep single-line text in their boxes, as the program's do.
    SingleLineText::keepInEveryBox();
    if (!m_dir.isValid())
        return;
    copyTree(qEnvironmentVariable("QUORVANE_PROGRAM_TEMPLATE"), m_dir.path());
    if (content != Content::NoDatabase && onServer()) {
        m_serverDatabase = serverShops().create(content);
        QSettings settings(filePath(QStringLiteral("quorvane.ini")), QSettings::IniFormat);
        settings.setValue(QStringLiteral("database/server"), addressOf(m_serverDatabase));
    } else if (content != Content::NoDatabase) {
        const QString made = templateDatabase(content);
        if (!QFile::copy(made, databasePath()) ||
            !QFile::copy(ShopKey::filePathBeside(made), filePath(ShopKey::FileName)))
            return;
        QFile(databasePath()).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    }
    ProgramFolder::setPath(m_dir.path());
    m_valid = true;
}

TestFolder::~TestFolder()
{
    Database::closeKeptConnections();
    ProgramFolder::setPath(QString());
    if (!m_serverDatabase.isEmpty())
        ServerShops::drop(m_serverDatabase);
}

QString TestFolder::emptyServerDatabase()
{
    return serverShops().createEmpty();
}

namespace {

/** The trigger that refuses `when`, and its table. */
std::pair<QString, QString> refusalTrigger(const QString& when)
{
    const QStringList words = when.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    return {QStringLiteral("refuse_%1_%2").arg(words.value(0), words.value(2)).toLower(),
            words.value(2)};
}

bool runAll(const QStringList& statements)
{
    Database db;
    for (const QString& sql : statements) {
        const Status status = db.exec(sql);
        if (!status) {
            qWarning("%s: %s", qPrintable(sql), qPrintable(status.message()));
            return false;
        }
    }
    return true;
}

} // namespace

bool TestFolder::refuseWrites(const QString& when, const QString& message)
{
    const auto [trigger, table] = refusalTrigger(when);
    QString quoted = message;
    quoted.replace(QLatin1Char('\''), QLatin1String("''"));
    if (!onServer())
        return runAll({QStringLiteral("CREATE TRIGGER %1 BEFORE %2 BEGIN SELECT RAISE(ABORT, "
                                      "'%3'); END")
                           .arg(trigger, when, quoted)});
    return runAll({QStringLiteral("CREATE OR REPLACE FUNCTION refuse_write() RETURNS trigger "
                                  "LANGUAGE plpgsql AS $$BEGIN RAISE EXCEPTION '%', TG_ARGV[0]; "
                                  "END$$"),
                   QStringLiteral("CREATE TRIGGER %1 BEFORE %2 FOR EACH ROW EXECUTE FUNCTION "
                                  "refuse_write('%3')")
                       .arg(trigger, when, quoted)});
}

bool TestFolder::allowWrites(const QString& when)
{
    const auto [trigger, table] = refusalTrigger(when);
    return runAll({onServer()
                       ? QStringLiteral("DROP TRIGGER IF EXISTS %1 ON %2").arg(trigger, table)
                       : QStringLiteral("DROP TRIGGER IF EXISTS %1").arg(trigger)});
}

struct OtherWorkstation::ServerSession {
    explicit ServerSession(const QString& address) : db(Database::atServer(address)) {}
    Database db;
};

OtherWorkstation::OtherWorkstation()
{
    const QString server = ServerSettings::address();
    if (server.isEmpty()) {
        m_file = std::make_unique<SecondConnection>();
        m_db = &m_file->db();
    } else {
        // Another application name is another kept connection, so another session.
        m_server = std::make_unique<ServerSession>(
            server + QStringLiteral(" application_name=other_workstation"));
        m_db = &m_server->db;
    }
}

OtherWorkstation::~OtherWorkstation() = default;

bool TestFolder::onServer()
{
    return !adminAddress().isEmpty();
}

QString TestFolder::databasePath() const
{
    return m_dir.filePath(QString::fromLatin1(Database::FileName));
}

bool TestFolder::useOldPassword()
{
    const QString old = filePath(QStringLiteral("old.mdb"));
    // The program's connections create no files; ATTACH finds this one there.
    if (!QFile(old).open(QIODevice::WriteOnly))
        return false;
    {
        Database db;
        Status status = db.exec(QStringLiteral("ATTACH DATABASE ? AS old KEY ?"), old,
                                QString::fromLatin1(ShopKey::oldPassword().sqlcipherKey()));
        if (status) {
            Query exported = db.query(QStringLiteral("SELECT sqlcipher_export('old')"));
            exported.next();
            status = exported.status();
        }
        if (status)
            status = db.exec(QStringLiteral("DETACH DATABASE old"));
        if (!status) {
            qWarning("%s", qPrintable(status.message()));
            return false;
        }
    }
    Database::closeKeptConnections();
    return QFile::remove(databasePath()) && QFile::rename(old, databasePath()) &&
           QFile::remove(filePath(QString::fromLatin1(ShopKey::FileName)));
}

bool opensWithKey(const QString& path, const QByteArray& key)
{
    sqlite3* db = nullptr;
    bool opened = sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READONLY,
                                  nullptr) == SQLITE_OK &&
                  sqlite3_key(db, key.constData(), static_cast<int>(key.size())) == SQLITE_OK &&
                  sqlite3_exec(db, "SELECT count(*) FROM sqlite_master", nullptr, nullptr,
                               nullptr) == SQLITE_OK;
    sqlite3_close(db);
    return opened;
}

int modeOf(const QString& path)
{
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? int(info.st_mode & 07777) : -1;
}
