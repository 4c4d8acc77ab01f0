#pragma once

#include <QString>

/** Runs a report layout without any window (for `--report LAYOUT [--formula F] [--pdf OUT]
 *  [--csv OUT]`): its pages to a PDF file, its records to a CSV file, or both. 0 on success, 1
 *  with the reason on the error output otherwise. The layout is a path or a name in the program
 *  folder's Reports folder ("invoice.rpt" or "invoice"). */
int runReportCommand(const QString& layout, const QString& formula, const QString& pdfPath,
                     const QString& csvPath = {});
