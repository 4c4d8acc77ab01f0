#pragma once

#include "data/status.h"
#include "reportengine/reportpage.h"

#include <QString>
#include <functional>

/** One report for the print preview: a layout of the program folder's Reports folder, run on
 *  the program's database. */
struct PreviewRequest {
    QString layoutFile;
    /** The record selection; empty: every record. */
    QString formula;
    /** The preview window's title. */
    QString windowTitle;
    /** The title printed on the pages; empty: the layout's own. */
    QString reportTitle;
};

/** A report laid out for the preview, with the files and texts it was run with; no data file
 *  when the shop is on a server. */
struct PreviewedReport {
    QString reportFileName;
    QString dataFile;
    QString selectionFormula;
    QString windowTitle;
    QString reportTitle;
    RenderedReport report;
};

/**
 * Lays the report out and shows it in a maximised print preview, from which the user prints or
 * saves a PDF; the program goes on while the preview is open. A report that cannot run (an
 * unreadable layout or formula, a missing data file) is explained to the user and shows
 * nothing; the result tells which happened.
 */
Status previewReport(const PreviewRequest& request);

/** While it lives, laid-out reports go to `hook` instead of the print preview; the previous
 *  destination comes back when it ends. */
class PreviewRedirect {
public:
    using Hook = std::function<void(const PreviewedReport&)>;

    explicit PreviewRedirect(Hook hook);
    ~PreviewRedirect();
    PreviewRedirect(const PreviewRedirect&) = delete;
    PreviewRedirect& operator=(const PreviewRedirect&) = delete;

private:
    Hook m_previous;
};
