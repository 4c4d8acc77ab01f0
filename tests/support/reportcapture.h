#pragma once

#include "reports/reportpreview.h"

#include <QList>
#include <QString>
#include <QTemporaryDir>

/** Stands in for the print preview while it lives: records each report laid out for it, with
 *  the files and texts it ran with. */
class ReportCapture {
public:
    using Run = PreviewedReport;

    ReportCapture();

    const QList<Run>& runs() const { return m_runs; }
    const Run& last() const { return m_runs.last(); }
    /** The printed text of a run's pages, blanks squeezed, as a PDF reader extracts it. */
    QString text(const Run& run) const;

private:
    QList<Run> m_runs;
    PreviewRedirect m_redirect;
    QTemporaryDir m_dir;
};
