#include "support/reportcapture.h"

#include "reports/reportcontrol.h"
#include "reportengine/reportoutput.h"
#include "support/pdftext.h"

#include <QRegularExpression>

ReportCapture::ReportCapture()
{
    Report1().setPreviewHook([this](const RenderedReport& report) {
        const ReportControl& engine = Report1();
        m_runs.append({engine.reportFileName(), engine.connect(), engine.dataFiles(0),
                       engine.selectionFormula(), engine.windowTitle(), engine.windowState(),
                       engine.reportTitle(), report});
    });
}

ReportCapture::~ReportCapture()
{
    Report1().setPreviewHook({});
}

QString ReportCapture::text(const Run& run) const
{
    const QString pdf = m_dir.filePath(QStringLiteral("run.pdf"));
    if (!ReportOutput::writePdf(run.report, pdf))
        return {};
    return pdfText(pdf).replace(QRegularExpression(QStringLiteral("[ \\t]+")), QStringLiteral(" "));
}
