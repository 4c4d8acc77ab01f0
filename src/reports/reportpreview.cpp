#include "reports/reportpreview.h"

#include "data/privatefile.h"
#include "data/programfolder.h"
#include "reportengine/reportcomposer.h"
#include "reportengine/reportjob.h"
#include "reportengine/reportoutput.h"
#include "reportengine/reportpager.h"
#include "widgets/formbuilder.h"
#include "widgets/hourglass.h"
#include "widgets/prompter.h"
#include "widgets/windowconventions.h"

#include <QAction>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QToolBar>
#include <QVBoxLayout>
#include <utility>

namespace {

/** How long one slice of the layout keeps the preview from answering the user. */
constexpr int SliceMs = 15;

PreviewRedirect::Hook& redirect()
{
    static PreviewRedirect::Hook hook;
    return hook;
}

/** Reads the report's records and lays out its first page. */
Result<std::unique_ptr<ReportPager>> start(const PreviewedReport& run)
{
    Result<std::shared_ptr<ReportJob>> job = ReportJob::prepare(
        {run.reportFileName, run.dataFile, run.selectionFormula, run.reportTitle});
    if (!job)
        return job.status();
    Result<std::unique_ptr<ReportPager>> pager = ReportPager::open(std::move(job.value()));
    if (pager)
        pager.value()->layOutPages(1);
    return pager;
}

/** One page of the report on a grey ground, as wide as the window allows. */
class PageView : public QWidget {
public:
    PageView(const RenderedReport& report, QWidget* parent)
        : QWidget(parent), m_report(report),
          m_paper(ReportComposer::pageSize(report.landscape) / ReportFonts::UnitsPerInch)
    {
        QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
        policy.setHeightForWidth(true);
        setSizePolicy(policy);
    }

    void setPage(int index)
    {
        m_index = index;
        update();
    }
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override
    {
        return static_cast<int>((width - 2 * Border) * m_paper.height() / m_paper.width()) +
               2 * Border;
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), QColor(128, 128, 128));
        if (m_index < 0 || m_index >= m_report.pages.size())
            return;
        const double dotsPerInch = (width() - 2 * Border) / m_paper.width();
        painter.setRenderHint(QPainter::Antialiasing);
        painter.translate(Border, Border);
        painter.fillRect(QRectF(QPointF(0, 0), m_paper * dotsPerInch), Qt::white);
        ReportOutput::paintPage(painter, m_report.pages[m_index], dotsPerInch, m_glyphs);
    }

private:
    static constexpr int Border = 12;
    const RenderedReport& m_report;
    const QSizeF m_paper; // inches
    GlyphRuns m_glyphs;
    int m_index = 0;
};

} // namespace

ReportPreviewWindow::ReportPreviewWindow(const QString& windowTitle,
                                         std::unique_ptr<ReportPager> pager, QWidget* parent)
    : QWidget(parent, Qt::Window), m_pager(std::move(pager))
{
    setObjectName(QStringLiteral("ReportPreview"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(windowTitle);
    auto* scroll = new QScrollArea(this);
    scroll->setObjectName(QStringLiteral("scrPage"));
    scroll->setWidgetResizable(true);
    m_view = new PageView(m_pager->report(), scroll);
    scroll->setWidget(m_view);
    buildToolbar();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(findChild<QToolBar*>(QStringLiteral("tbrPreview")));
    layout->addWidget(scroll, 1);

    m_layout.setInterval(0);
    connect(&m_layout, &QTimer::timeout, this, &ReportPreviewWindow::layOutMore);
    if (!complete())
        m_layout.start();
    pagesChanged();
}

ReportPreviewWindow::~ReportPreviewWindow() = default;

void ReportPreviewWindow::buildToolbar()
{
    FormBuilder form(this);
    QToolBar* bar = form.toolbar(QStringLiteral("tbrPreview"));
    connect(FormBuilder::toolButton(bar, QStringLiteral("Print"), QStringLiteral("Print"),
                                    QStringLiteral("Print every page"),
                                    QStyle::SP_DialogApplyButton),
            &QAction::triggered, this, &ReportPreviewWindow::print);
    connect(FormBuilder::toolButton(bar, QStringLiteral("Pdf"), QStringLiteral("Export to PDF"),
                                    QStringLiteral("Save every page as a PDF file"),
                                    QStyle::SP_DialogSaveButton),
            &QAction::triggered, this, &ReportPreviewWindow::savePdf);
    bar->addSeparator();
    QAction* first = FormBuilder::toolButton(bar, QStringLiteral("First"), QStringLiteral("First"),
                                             {}, QStyle::SP_MediaSkipBackward);
    m_previous = FormBuilder::toolButton(bar, QStringLiteral("Previous"),
                                         QStringLiteral("Previous"), {}, QStyle::SP_ArrowBack);
    m_page = form.make<QSpinBox>(QStringLiteral("spnPage"));
    m_page->setRange(1, 1);
    bar->addWidget(m_page);
    m_count = form.label({});
    m_count->setObjectName(QStringLiteral("lblPageCount"));
    bar->addWidget(m_count);
    m_next = FormBuilder::toolButton(bar, QStringLiteral("Next"), QStringLiteral("Next"), {},
                                     QStyle::SP_ArrowForward);
    m_last = FormBuilder::toolButton(bar, QStringLiteral("Last"), QStringLiteral("Last"), {},
                                     QStyle::SP_MediaSkipForward);
    first->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Home));
    m_previous->setShortcut(QKeySequence::MoveToPreviousPage);
    m_next->setShortcut(QKeySequence::MoveToNextPage);
    m_last->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_End));
    connect(first, &QAction::triggered, this, [this] { showPage(1); });
    connect(m_previous, &QAction::triggered, this, [this] { showPage(currentPage() - 1); });
    connect(m_next, &QAction::triggered, this, [this] { showPage(currentPage() + 1); });
    // The last page is known only once every page is laid out.
    connect(m_last, &QAction::triggered, this, [this] {
        finishLayout();
        showPage(pageCount());
    });
    connect(m_page, &QSpinBox::valueChanged, this, &ReportPreviewWindow::showPage);
}

void ReportPreviewWindow::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape || event->matches(QKeySequence::Close)) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

int ReportPreviewWindow::pageCount() const
{
    return static_cast<int>(m_pager->report().pages.size());
}

bool ReportPreviewWindow::complete() const
{
    return m_pager->finished();
}

int ReportPreviewWindow::currentPage() const
{
    return m_page->value();
}

void ReportPreviewWindow::showPage(int number)
{
    number = std::clamp(number, 1, std::max(1, pageCount()));
    {
        const QSignalBlocker quiet(m_page);
        m_page->setValue(number);
    }
    static_cast<PageView*>(m_view)->setPage(number - 1);
    if (auto* scroll = qobject_cast<QScrollArea*>(m_view->parentWidget()->parentWidget()))
        scroll->verticalScrollBar()->setValue(0);
    pagesChanged();
}

void ReportPreviewWindow::layOutMore()
{
    if (!m_pager->layOutFor(SliceMs))
        m_layout.stop();
    pagesChanged();
}

void ReportPreviewWindow::pagesChanged()
{
    const int count = pageCount();
    m_page->setMaximum(std::max(1, count));
    m_count->setText(complete() ? QStringLiteral("of %1").arg(count)
                                : QStringLiteral("of %1+").arg(count));
    m_previous->setEnabled(currentPage() > 1);
    m_next->setEnabled(currentPage() < count);
    m_last->setEnabled(currentPage() < count || !complete());
}

void ReportPreviewWindow::finishLayout()
{
    if (complete())
        return;
    Hourglass::around([this] { m_pager->layOutAll(); });
    m_layout.stop();
    pagesChanged();
}

void ReportPreviewWindow::print()
{
    const RenderedReport& report = m_pager->report();
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageLayout(ReportOutput::pageLayout(report.landscape));
    printer.setFullPage(true);
    printer.setDocName(report.title);
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    finishLayout();
    Hourglass busy;
    // Printed to a file, the report is as private as the rest of the shop's data.
    const PrivateFile::CreationGuard ownerOnly;
    QPainter painter;
    if (!painter.begin(&printer)) {
        prompter().message(QStringLiteral("The printer could not be started."),
                           Prompter::defaultTitle(), Prompter::Icon::Critical);
        return;
    }
    const int first = std::max(1, printer.fromPage()) - 1;
    const int last = printer.toPage() > 0 ? std::min(printer.toPage(), pageCount()) : pageCount();
    GlyphRuns glyphs;
    for (int i = first; i < last; ++i) {
        if (i > first)
            printer.newPage();
        ReportOutput::paintPage(painter, report.pages[i], printer.resolution(), glyphs);
    }
}

void ReportPreviewWindow::savePdf()
{
    QString path = prompter().saveFileName(QStringLiteral("Export to PDF"),
                                           windowTitle() + QStringLiteral(".pdf"),
                                           QStringLiteral("PDF files (*.pdf)"));
    if (path.isEmpty())
        return;
    if (!path.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive))
        path += QStringLiteral(".pdf");
    finishLayout();
    const Status written =
        Hourglass::around([&] { return ReportOutput::writePdf(m_pager->report(), path); });
    if (!written)
        prompter().message(written.message(), Prompter::defaultTitle(), Prompter::Icon::Critical);
}

namespace {

/** Hands the report to the redirect, or opens the preview window with it. */
void show(PreviewedReport run, std::unique_ptr<ReportPager> pager)
{
    if (redirect()) {
        pager->layOutAll();
        run.report = pager->takeReport();
        redirect()(run);
        return;
    }
    auto* window =
        new ReportPreviewWindow(run.windowTitle, std::move(pager), WindowConventions::mainWindow());
    // Where no window manager maximises it, the preview still fills most of the screen.
    if (const QScreen* screen = window->screen())
        window->resize(screen->availableSize() * 0.9);
    window->showMaximized();
}

} // namespace

Status previewReport(const PreviewRequest& request)
{
    // Without a data file named, the report reads the program's database, file or server.
    PreviewedReport run{ProgramFolder::filePath(QStringLiteral("Reports/") + request.layoutFile),
                        {},
                        request.formula,
                        request.windowTitle,
                        request.reportTitle,
                        {}};
    Result<std::unique_ptr<ReportPager>> pager = Hourglass::around([&] { return start(run); });
    if (!pager) {
        prompter().message(pager.status().message(), Prompter::defaultTitle(),
                           Prompter::Icon::Critical);
        return pager.status();
    }
    show(std::move(run), std::move(pager.value()));
    return Status::ok();
}

void previewJob(std::shared_ptr<ReportJob> job, const QString& windowTitle)
{
    PreviewedReport run{{}, {}, {}, windowTitle, job->title(), {}};
    // Records given with the job are read without fail.
    Result<std::unique_ptr<ReportPager>> pager = ReportPager::open(std::move(job));
    pager.value()->layOutPages(1);
    show(std::move(run), std::move(pager.value()));
}

PreviewRedirect::PreviewRedirect(Hook hook) : m_previous(std::exchange(redirect(), std::move(hook)))
{
}

PreviewRedirect::~PreviewRedirect()
{
    redirect() = std::move(m_previous);
}
