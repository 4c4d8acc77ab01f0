#pragma once

#include <QString>

/**
 * The folder the shop works in: the database, EmpID.dat, quorvane.ini, Reports/, EmpPics/ and
 * the help live there. The command line may name it; otherwise it is the executable's folder
 * when that is writable and holds a database or the shipped Reports (a build or a copy of the
 * program that keeps its data beside it), else the folder named in the settings, else the
 * user's data folder.
 */
namespace ProgramFolder {

QString path();
void setPath(const QString& folder);
QString filePath(const QString& name);

/** The folder chosen when the command line names none, from the executable's folder, the
 *  folder named in the settings (empty when none) and the user's data folder. */
QString choose(const QString& executableFolder, const QString& configuredFolder,
               const QString& userDataFolder);

/** The folder of the files that come with the program (Reports, Help, EmpPics, fonts and the
 *  example mail settings): beside the executable in a build, share/quorvane when installed. */
QString shippedPath();
QString shippedFilePath(const QString& name);

/** Gives the program folder copies of the shipped Reports, Help, EmpPics and example mail
 *  settings that it lacks; files already there, edited or not, are kept. */
void layOutShippedFiles();

} // namespace ProgramFolder
