#include "support/testfolder.h"

#include "data/database.h"
#include "data/databasesetup.h"
#include "data/programfolder.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <map>

namespace {

// Creating a database hashes a password and builds every table; do it once per content per
// test process and hand each test a copy.
QString templateDatabase(TestFolder::Content content)
{
    static QTemporaryDir store;
    static std::map<TestFolder::Content, QString> made;
    auto found = made.find(content);
    if (found != made.end())
        return found->second;
    const QString path =
        store.filePath(content == TestFolder::Content::Demo ? QStringLiteral("demo.mdb")
                                                            : QStringLiteral("starting.mdb"));
    const Status status = DatabaseSetup::create(path, TestFolder::adminPassword(),
                                                content == TestFolder::Content::Demo);
    Database::closeKeptConnections();
    if (!status)
        qFatal("Cannot create the test database: %s", qPrintable(status.message()));
    made[content] = path;
    return path;
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
    if (!m_dir.isValid())
        return;
    copyTree(qEnvironmentVariable("QUORVANE_PROGRAM_TEMPLATE"), m_dir.path());
    if (content != Content::NoDatabase) {
        if (!QFile::copy(templateDatabase(content), databasePath()))
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
}

QString TestFolder::databasePath() const
{
    return m_dir.filePath(QString::fromLatin1(Database::FileName));
}
