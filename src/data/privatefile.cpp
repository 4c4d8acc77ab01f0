#include "data/privatefile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <mutex>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace PrivateFile {

std::error_code createNew(const QString& path)
{
#ifdef Q_OS_UNIX
    const int file = ::open(QFile::encodeName(path).constData(),
                            O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, S_IRUSR | S_IWUSR);
    if (file < 0)
        return {errno, std::generic_category()};
    // The mode given to open is narrowed by the mask, never widened; this one is set exactly.
    const bool restricted = ::fchmod(file, S_IRUSR | S_IWUSR) == 0;
    const int error = errno;
    if (::close(file) != 0 || !restricted) {
        ::unlink(QFile::encodeName(path).constData());
        return {restricted ? errno : error, std::generic_category()};
    }
    return {};
#else
    // Windows gives a new file the access of its folder. fopen's exclusive mode, unlike QFile,
    // leaves the platform's reason in errno.
    std::FILE* file = _wfopen(reinterpret_cast<const wchar_t*>(path.utf16()), L"wbx");
    if (!file)
        return {errno, std::generic_category()};
    if (std::fclose(file) != 0)
        return {errno, std::generic_category()};
    return {};
#endif
}

bool makeFolder(const QString& path)
{
    const QString absolute = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    QStringList missing;
    for (QString folder = absolute; !QFileInfo::exists(folder);
         folder = QFileInfo(folder).absolutePath()) {
        missing.prepend(folder);
        if (QFileInfo(folder).absolutePath() == folder)
            break;
    }
    for (const QString& folder : missing) {
        if (!QDir().mkdir(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner) &&
            !QFileInfo(folder).isDir())
            return false;
    }
    return QFileInfo(absolute).isDir();
}

Status keepAccessOf(const QString& original, const QString& copy)
{
#ifdef Q_OS_UNIX
    struct stat info {};
    if (::stat(QFile::encodeName(original).constData(), &info) != 0)
        return Status::ok();
    const QByteArray target = QFile::encodeName(copy);
    struct stat now {};
    if (::stat(target.constData(), &now) != 0)
        return Status::failed(QStringLiteral("The copy %1 is missing.").arg(copy));
    if ((now.st_uid != info.st_uid || now.st_gid != info.st_gid) &&
        ::chown(target.constData(), info.st_uid, info.st_gid) != 0 &&
        ::chown(target.constData(), static_cast<uid_t>(-1), info.st_gid) != 0)
        return Status::failed(
            QStringLiteral("The copy could not be given the group of %1: %2")
                .arg(QDir::toNativeSeparators(original), QString::fromLocal8Bit(strerror(errno))));
    if (::chmod(target.constData(), info.st_mode & 07777) != 0)
        return Status::failed(
            QStringLiteral("The copy could not be given the access of %1: %2")
                .arg(QDir::toNativeSeparators(original), QString::fromLocal8Bit(strerror(errno))));
#else
    Q_UNUSED(original);
    Q_UNUSED(copy);
#endif
    return Status::ok();
}

#ifdef Q_OS_UNIX
namespace {

// The mask belongs to the whole process: guards that overlap, in one thread or several, share
// one owner-only mask, and the last of them to go puts back the mask that the first replaced.
std::mutex guardsMutex;
int guardsAlive = 0;
mode_t maskBeforeGuards = 0;

} // namespace

CreationGuard::CreationGuard()
{
    const std::lock_guard<std::mutex> lock(guardsMutex);
    if (guardsAlive++ == 0)
        maskBeforeGuards = ::umask(S_IRWXG | S_IRWXO);
}

CreationGuard::~CreationGuard()
{
    const std::lock_guard<std::mutex> lock(guardsMutex);
    if (--guardsAlive == 0)
        ::umask(maskBeforeGuards);
}
#else
CreationGuard::CreationGuard() = default;
CreationGuard::~CreationGuard() = default;
#endif

} // namespace PrivateFile
