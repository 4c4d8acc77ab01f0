#pragma once

#include <QString>

/** Renders a report layout to a PDF file without any window (for `--report LAYOUT [--formula F]
 *  --pdf OUT`): 0 on success, 1 with the reason on the error output otherwise. The layout is a
 *  path or a name in the program folder's Reports folder ("invoice.rpt" or "invoice"). */
int runReportCommand(const QString& layout, const QString& formula, const QString& pdfPath);
