#pragma once

#include <QString>

/** The folder the program works in: the database, EmpID.dat, Reports/, EmpPics/ and the help
 *  live there. It is the executable's folder unless the command line names another. */
namespace ProgramFolder {

QString path();
void setPath(const QString& folder);
QString filePath(const QString& name);

} // namespace ProgramFolder
