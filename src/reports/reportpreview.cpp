#include "reports/reportpreview.h"

#include "data/database.h"
#include "data/programfolder.h"
#include "data/serversettings.h"
#include "reportengine/reportjob.h"
#include "reportengine/reportoutput.h"
#include "widgets/hourglass.h"
#include "widgets/prompter.h"
#include "widgets/windowconventions.h"

#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <memory>
#include <utility>

namespace {

PreviewRedirect::Hook& redirect()
{
    static PreviewRedirect::Hook hook;
    return hook;
}

Result<RenderedReport> render(const PreviewedReport& run)
{
    Result<std::shared_ptr<ReportJob>> job = ReportJob::prepare(
        {run.reportFileName, run.dataFile, run.selectionFormula, run.reportTitle});
    if (!job)
        return job.status();
    CollectingPageSink sink;
    if (Status status = job.value()->run(sink); !status)
        return status;
    return RenderedReport{job.value()->title(), job.value()->layout().landscape,
                          std::move(sink.pages)};
}

void showPrintPreview(const PreviewedReport& run)
{
    auto shared = std::make_shared<RenderedReport>(run.report);
    auto printer = std::make_shared<QPrinter>(QPrinter::HighResolution);
    printer->setPageLayout(ReportOutput::pageLayout(shared->landscape));
    printer->setFullPage(true);
    printer->setDocName(shared->title);
    // The program goes on while the preview is open; the dialog keeps its pages and printer.
    auto* dialog = new QPrintPreviewDialog(printer.get(), WindowConventions::mainWindow());
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowTitle(run.windowTitle);
    QObject::connect(
        dialog, &QPrintPreviewDialog::paintRequested, dialog, [shared, printer](QPrinter* target) {
            GlyphRuns glyphs;
            QPainter painter(target);
            for (qsizetype i = 0; i < shared->pages.size(); ++i) {
                if (i > 0)
                    target->newPage();
                ReportOutput::paintPage(painter, shared->pages[i], target->resolution(), glyphs);
            }
        });
    dialog->showMaximized();
}

} // namespace

Status previewReport(const PreviewRequest& request)
{
    // A shop on a server has no data file: the report reads the program's database.
    const QString dataFile = ServerSettings::address().isEmpty()
                                 ? ProgramFolder::filePath(QString::fromLatin1(Database::FileName))
                                 : QString();
    PreviewedReport run{ProgramFolder::filePath(QStringLiteral("Reports/") + request.layoutFile),
                        dataFile,
                        request.formula,
                        request.windowTitle,
                        request.reportTitle,
                        {}};
    Result<RenderedReport> report = Hourglass::around([&] { return render(run); });
    if (!report) {
        prompter().message(report.status().message(), Prompter::defaultTitle(),
                           Prompter::Icon::Critical);
        return report.status();
    }
    run.report = std::move(report.value());
    if (redirect())
        redirect()(run);
    else
        showPrintPreview(run);
    return Status::ok();
}

PreviewRedirect::PreviewRedirect(Hook hook) : m_previous(std::exchange(redirect(), std::move(hook)))
{
}

PreviewRedirect::~PreviewRedirect()
{
    redirect() = std::move(m_previous);
}
