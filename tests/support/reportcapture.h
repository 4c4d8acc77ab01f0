#pragma once

#include "reportengine/reportpage.h"

#include <QList>
#include <QString>
#include <QTemporaryDir>

/** Stands in for the print preview while it lives: records each run of the report engine with
 *  the engine's settings at that moment and the pages laid out. */
class ReportCapture {
public:
    struct Run {
        QString reportFileName;
        QString connect;
        QString dataFile;
        QString selectionFormula;
        QString windowTitle;
        int windowState = 0;
        QString reportTitle;
        RenderedReport report;
    };

    ReportCapture();
    ~ReportCapture();
    ReportCapture(const ReportCapture&) = delete;
    ReportCapture& operator=(const ReportCapture&) = delete;

    const QList<Run>& runs() const { return m_runs; }
    const Run& last() const { return m_runs.last(); }
    /** The printed text of a run's pages, blanks squeezed, as a PDF reader extracts it. */
    QString text(const Run& run) const;

private:
    QList<Run> m_runs;
    QTemporaryDir m_dir;
};
