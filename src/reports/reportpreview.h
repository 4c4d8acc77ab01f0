#pragma once

#include "data/status.h"
#include "reportengine/reportpage.h"

#include <QString>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>

class QAction;
class QLabel;
class QSpinBox;
class ReportJob;
class ReportPager;

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
 * saves a PDF; the program goes on while the preview is open. The preview opens with the first
 * page and lays out the others while the user reads it. A report that cannot run (an
 * unreadable layout or formula, a missing data file) is explained to the user and shows
 * nothing; the result tells which happened.
 */
Status previewReport(const PreviewRequest& request);

/** Shows a job the program made itself (ReportJob::ofRecords) in the print preview, as
 *  previewReport() does, under `windowTitle`. */
void previewJob(std::shared_ptr<ReportJob> job, const QString& windowTitle);

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

/** The print preview: one page at a time, fitted to the window's width, with the pages laid out
 *  in short slices between the user's actions until the report is complete. Printing and the
 *  PDF wait for the last page. */
class ReportPreviewWindow : public QWidget {
    Q_OBJECT

public:
    ReportPreviewWindow(const QString& windowTitle, std::unique_ptr<ReportPager> pager,
                        QWidget* parent = nullptr);
    ~ReportPreviewWindow() override;

    /** The pages laid out so far. */
    int pageCount() const;
    /** Whether every page is laid out. */
    bool complete() const;
    /** The page shown, from 1. */
    int currentPage() const;
    void showPage(int number);

protected:
    /** Escape and the platform's Close keys (Ctrl+W) close the preview. */
    void keyPressEvent(QKeyEvent* event) override;

private:
    void buildToolbar();
    void layOutMore();
    void pagesChanged();
    void finishLayout();
    void print();
    void savePdf();

    std::unique_ptr<ReportPager> m_pager;
    QWidget* m_view = nullptr;
    QSpinBox* m_page = nullptr;
    QLabel* m_count = nullptr;
    QAction* m_previous = nullptr;
    QAction* m_next = nullptr;
    QAction* m_last = nullptr;
    QTimer m_layout;
};
