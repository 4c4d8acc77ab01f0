#pragma once

#include <QString>
#include <QTemporaryDir>

/**
 * A small file system of the test's own, mounted for the life of the object and filled to the
 * last byte, so that writes into it fail as on a full disk. Mounting needs the administrator's
 * rights (and Linux); without them isFull() is false and the test skips.
 */
class FullDisk {
public:
    FullDisk();
    ~FullDisk();
    FullDisk(const FullDisk&) = delete;
    FullDisk& operator=(const FullDisk&) = delete;

    bool isFull() const { return m_full; }
    QString path() const { return m_dir.path(); }
    QString filePath(const QString& name) const { return m_dir.filePath(name); }
    /** Writes `bytes` as the file `name` into the disk before it is filled, as a file a user
     *  had there; false when the disk cannot be mounted or the file written. */
    bool holdFile(const QString& name, const QByteArray& bytes);

private:
    void fill();

    QTemporaryDir m_dir;
    bool m_mounted = false;
    bool m_full = false;
};

/** Skips the case unless the disk is mounted and full. */
#define SKIP_UNLESS_FULL(disk)                                                                     \
    do {                                                                                           \
        if (!(disk).isFull())                                                                      \
            QSKIP("A full disk of its own cannot be mounted here (needs root on Linux)");          \
    } while (false)
