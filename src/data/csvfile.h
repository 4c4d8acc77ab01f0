#pragma once

#include <QString>
#include <QStringList>
#include <vector>

/**
 * Comma-separated values as spreadsheets read them (RFC 4180): UTF-8, CRLF line ends, a field in
 * double quotes when it holds a comma, quote, line break or leading/trailing blank, quotes
 * inside it doubled.
 */
namespace CsvFile {

QString field(const QString& text);
QString line(const QStringList& fields);

/** Writes the heading row and then the rows to the file, replacing it only once everything is
 *  written. Gives an empty text, or why the file could not be written. */
QString write(const QString& path, const QStringList& headings,
              const std::vector<QStringList>& rows);

/** Reads a file written by write() (or any RFC 4180 file) back into its rows. */
std::vector<QStringList> parse(const QString& text);

} // namespace CsvFile
