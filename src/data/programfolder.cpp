#include "data/programfolder.h"

#include "data/database.h"
#include "data/privatefile.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace {

const QString ShippedReports = QStringLiteral("Reports");

QString& namedFolder()
{
    static QString folder;
    return folder;
}

// Where an installed program keeps its shipped files, seen from its executable's folder.
QString installedShippedFolder(const QDir& executableFolder)
{
    return QDir::cleanPath(executableFolder.filePath(QStringLiteral(QUORVANE_SHIPPED_FROM_BIN)));
}

QString configuredFolder()
{
    // The user's settings, or the machine's (/etc/xdg) for a shop whose users share one folder.
    const QSettings settings(QSettings::NativeFormat, QSettings::UserScope,
                             QStringLiteral("Quorvane"), QStringLiteral("quorvane"));
    return settings.value(QStringLiteral("shop/folder")).toString();
}

const QString& defaultFolder()
{
    static const QString folder =
        ProgramFolder::choose(QCoreApplication::applicationDirPath(), configuredFolder(),
                              QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
    return folder;
}

void copyMissing(const QString& from, const QString& to)
{
    QDirIterator it(from, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString source = it.next();
        const QString copy = QDir(to).filePath(QDir(from).relativeFilePath(source));
        if (QFileInfo::exists(copy))
            continue;
        PrivateFile::makeFolder(QFileInfo(copy).path());
        QFile::copy(source, copy);
    }
}

} // namespace

namespace ProgramFolder {

QString path()
{
    return namedFolder().isEmpty() ? defaultFolder() : namedFolder();
}

void setPath(const QString& folder)
{
    namedFolder() = folder.isEmpty() ? QString() : QDir(folder).absolutePath();
}

QString filePath(const QString& name)
{
    return QDir(path()).filePath(name);
}

QString choose(const QString& executableFolder, const QString& configuredFolder,
               const QString& userDataFolder)
{
    const QDir beside(executableFolder);
    if (QFileInfo(executableFolder).isWritable() &&
        (beside.exists(QString::fromLatin1(Database::FileName)) || beside.exists(ShippedReports)))
        return beside.absolutePath();
    if (!configuredFolder.isEmpty())
        return QDir(configuredFolder).absolutePath();
    return userDataFolder;
}

QString shippedPath()
{
    const QDir beside(QCoreApplication::applicationDirPath());
    return beside.exists(ShippedReports) ? beside.absolutePath() : installedShippedFolder(beside);
}

QString shippedFilePath(const QString& name)
{
    return QDir(shippedPath()).filePath(name);
}

void layOutShippedFiles()
{
    const QDir shipped(shippedPath());
    const QDir target(path());
    if (shipped == target)
        return;
    for (const QString& folder :
         {ShippedReports, QStringLiteral("EmpPics"), QStringLiteral("Help")})
        copyMissing(shipped.filePath(folder), target.filePath(folder));
    const QString example = QStringLiteral("quorvane.ini.example");
    if (!target.exists(example))
        QFile::copy(shipped.filePath(example), target.filePath(example));
}

} // namespace ProgramFolder
