#pragma once

#include "data/database.h"
#include "data/programfolder.h"

#include <QFile>
#include <QTemporaryDir>
#include <optional>

/**
 * A connection of its own to the program's database, as another workstation would have. The
 * data layer keeps one connection per file name, so this one reaches the file through a link
 * under another name.
 */
class SecondConnection {
public:
    SecondConnection()
    {
        const QString link = m_dir.filePath(QString::fromLatin1(Database::FileName));
        QFile::link(ProgramFolder::filePath(QString::fromLatin1(Database::FileName)), link);
        m_db.emplace(link);
    }

    Database& db() { return *m_db; }

private:
    QTemporaryDir m_dir;
    std::optional<Database> m_db;
};
