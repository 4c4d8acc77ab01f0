#pragma once

#include "data/status.h"
#include "reportengine/reportpage.h"

#include <QString>
#include <functional>

/**
 * The program's one report engine. A caller sets the layout file, the connection, the data
 * file, the selection formula (always, the empty text for every record), the preview window's
 * title and state, then sets the action to 1: the report is laid out and shown in a print
 * preview, from which the user prints or saves a PDF. The engine shows its own errors (an
 * unreadable layout or formula, a missing data file) and runs nothing then.
 */
class ReportControl {
public:
    static constexpr int Maximized = 2;
    static constexpr int RunToPreview = 1;

    QString reportFileName() const { return m_reportFileName; }
    void setReportFileName(const QString& path) { m_reportFileName = path; }
    /** The connection text of the calling convention; the data layer holds the file's key. */
    QString connect() const { return m_connect; }
    void setConnect(const QString& text) { m_connect = text; }
    QString dataFiles(int index) const { return index == 0 ? m_dataFile : QString(); }
    void setDataFiles(int index, const QString& path);
    QString selectionFormula() const { return m_selectionFormula; }
    void setSelectionFormula(const QString& formula) { m_selectionFormula = formula; }
    QString windowTitle() const { return m_windowTitle; }
    void setWindowTitle(const QString& title) { m_windowTitle = title; }
    int windowState() const { return m_windowState; }
    void setWindowState(int state) { m_windowState = state; }
    /** The title printed on the pages; empty: the layout's own. */
    QString reportTitle() const { return m_reportTitle; }
    void setReportTitle(const QString& title) { m_reportTitle = title; }

    /** Action 1 runs the report into the preview; the result tells whether it ran. */
    Status setAction(int action);

    /** Lays the report out without showing it. */
    Result<RenderedReport> render() const;

    /** Replaces the preview window, for tests: the hook receives the laid-out report. */
    using PreviewHook = std::function<void(const RenderedReport&)>;
    void setPreviewHook(PreviewHook hook) { m_previewHook = std::move(hook); }

private:
    void showPreview(RenderedReport report) const;

    QString m_reportFileName;
    QString m_connect;
    QString m_dataFile;
    QString m_selectionFormula;
    QString m_windowTitle;
    int m_windowState = 0;
    QString m_reportTitle;
    PreviewHook m_previewHook;
};

/** The engine every report entry of the program uses. */
ReportControl& Report1();

/** Runs a layout of the program folder's Reports folder through Report1 with the program's
 *  database, the formula and the preview title: the sequence every report entry follows. */
Status runReport(const QString& layoutFile, const QString& formula, const QString& windowTitle);
