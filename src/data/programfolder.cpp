#include "data/programfolder.h"

#include <QCoreApplication>
#include <QDir>

namespace {

QString& currentFolder()
{
    static QString folder;
    return folder;
}

} // namespace

namespace ProgramFolder {

QString path()
{
    if (currentFolder().isEmpty())
        return QCoreApplication::applicationDirPath();
    return currentFolder();
}

void setPath(const QString& folder)
{
    currentFolder() = folder.isEmpty() ? QString() : QDir(folder).absolutePath();
}

QString filePath(const QString& name)
{
    return QDir(path()).filePath(name);
}

} // namespace ProgramFolder
