#pragma once

#include <QString>
#include <QStringList>
#include <vector>

class QIODevice;

/**
 * Comma-separated values as spreadsheets read them (RFC 4180): UTF-8, CRLF line ends, a field in
 * double quotes when it holds a comma, quote, line break or leading/trailing blank, quotes
 * inside it doubled. Exports are safe to open: control characters other than tabs and line
 * breaks are dropped, and a field that a spreadsheet would run as a formula (one starting with
 * =, +, -, @, a tab or a line break) is quoted with an apostrophe before it, unless it is a
 * plain number such as -12.50.
 */
namespace CsvFile {

QString field(const QString& text);
QString line(const QStringList& fields);

/** Writes the heading row and then the rows to `out`. Gives an empty text, or the device's
 *  reason for the first write that did not take all its bytes. */
QString write(QIODevice& out, const QStringList& headings, const std::vector<QStringList>& rows);

/** Writes the heading row and then the rows to the file, replacing it only once everything is
 *  written and committed. Gives an empty text, or why the file could not be written (the
 *  system's reason: no space left, permission denied, ...). */
QString write(const QString& path, const QStringList& headings,
              const std::vector<QStringList>& rows);

/** Reads a file written by write() (or any RFC 4180 file) back into its rows. */
std::vector<QStringList> parse(const QString& text);

} // namespace CsvFile
