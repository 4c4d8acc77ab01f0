#pragma once

#include "data/status.h"

#include <QString>
#include <system_error>

/**
 * Files and folders that hold the shop's data are for the shop's account alone: created
 * owner-only whatever the process's file-creation mask, and a file that takes the place of the
 * database takes the database's own access (mode, owner and group) with it.
 */
namespace PrivateFile {

/** Creates `path` as a new, empty file that only its owner may read and write; fails with the
 *  platform's reason when it cannot, an existing file included. */
std::error_code createNew(const QString& path);

/** Creates the folder `path` with its missing parents; the folders it creates are owner-only. */
bool makeFolder(const QString& path);

/** Gives `copy` the mode, owner and group of `original`, so that a copy that replaces it is
 *  reached by the same accounts. */
Status keepAccessOf(const QString& original, const QString& copy);

/** While it lives, the files and folders this process creates are owner-only: for writers that
 *  create their files themselves (a save file, the settings, a PDF). Guards may overlap, in one
 *  thread or several; the mask comes back once the last of them goes. */
class CreationGuard {
public:
    CreationGuard();
    ~CreationGuard();
    CreationGuard(const CreationGuard&) = delete;
    CreationGuard& operator=(const CreationGuard&) = delete;
};

} // namespace PrivateFile
