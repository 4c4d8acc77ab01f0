#include "reports/reportcontrol.h"

#include "widgets/hourglass.h"
#include "widgets/prompter.h"
#include "widgets/windowconventions.h"
#include "data/database.h"
#include "data/programfolder.h"
#include "reportengine/reportjob.h"
#include "reportengine/reportoutput.h"

#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <memory>

namespace {

// The connection text of the shop's report convention. The engine reads through the program's
// data layer, which holds the file's key itself.
const QString ConnectString = QStringLiteral(";PWD=qzt517406;");

} // namespace

void ReportControl::setDataFiles(int index, const QString& path)
{
    if (index == 0)
        m_dataFile = path;
}

Result<RenderedReport> ReportControl::render() const
{
    Result<std::shared_ptr<ReportJob>> job =
        ReportJob::prepare({m_reportFileName, m_dataFile, m_selectionFormula, m_reportTitle});
    if (!job)
        return job.status();
    CollectingPageSink sink;
    if (Status status = job.value()->run(sink); !status)
        return status;
    return RenderedReport{job.value()->title(), job.value()->layout().landscape,
                          std::move(sink.pages)};
}

Status ReportControl::setAction(int action)
{
    if (action != RunToPreview)
        return Status::ok();
    Result<RenderedReport> report = render();
    if (!report) {
        prompter().message(report.status().message(), Prompter::defaultTitle(),
                           Prompter::Icon::Critical);
        return report.status();
    }
    showPreview(std::move(report.value()));
    return Status::ok();
}

void ReportControl::showPreview(RenderedReport report) const
{
    if (m_previewHook) {
        m_previewHook(report);
        return;
    }
    auto shared = std::make_shared<RenderedReport>(std::move(report));
    auto printer = std::make_shared<QPrinter>(QPrinter::HighResolution);
    printer->setPageLayout(ReportOutput::pageLayout(shared->landscape));
    printer->setFullPage(true);
    printer->setDocName(shared->title);
    // The program goes on while the preview is open; the dialog keeps its pages and printer.
    auto* dialog = new QPrintPreviewDialog(printer.get(), WindowConventions::mainWindow());
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowTitle(m_windowTitle);
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
    if (m_windowState == Maximized)
        dialog->showMaximized();
    else
        dialog->show();
}

ReportControl& Report1()
{
    static ReportControl engine;
    return engine;
}

Status runReport(const QString& layoutFile, const QString& formula, const QString& windowTitle)
{
    Hourglass busy;
    ReportControl& report = Report1();
    report.setReportFileName(ProgramFolder::filePath(QStringLiteral("Reports/") + layoutFile));
    report.setConnect(ConnectString);
    report.setDataFiles(0, ProgramFolder::filePath(QString::fromLatin1(Database::FileName)));
    report.setSelectionFormula(formula);
    report.setWindowTitle(windowTitle);
    report.setWindowState(ReportControl::Maximized);
    return report.setAction(ReportControl::RunToPreview);
}
