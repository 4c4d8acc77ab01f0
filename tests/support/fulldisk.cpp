#include "support/fulldisk.h"

#include <QFile>

#ifdef Q_OS_LINUX
#include <sys/mount.h>
#endif

FullDisk::FullDisk()
{
#ifdef Q_OS_LINUX
    m_mounted = m_dir.isValid() && ::mount("tmpfs", QFile::encodeName(m_dir.path()).constData(),
                                           "tmpfs", MS_NOSUID | MS_NODEV, "size=64k") == 0;
#endif
    fill();
}

FullDisk::~FullDisk()
{
#ifdef Q_OS_LINUX
    if (m_mounted)
        ::umount2(QFile::encodeName(m_dir.path()).constData(), MNT_DETACH);
#endif
}

bool FullDisk::holdFile(const QString& name, const QByteArray& bytes)
{
    if (!m_mounted)
        return false;
    QFile::remove(filePath(QStringLiteral("filler")));
    QFile file(filePath(name));
    const bool written =
        file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush();
    file.close();
    fill();
    return written;
}

void FullDisk::fill()
{
    m_full = false;
    if (!m_mounted)
        return;
    QFile filler(filePath(QStringLiteral("filler")));
    if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return;
    // Down to single bytes, so that not even a short line fits afterwards.
    for (qint64 size = 4096; size > 0; size /= 2) {
        const QByteArray block(size, 'f');
        while (filler.write(block) == size) {
        }
        filler.unsetError();
    }
    m_full = true;
}
