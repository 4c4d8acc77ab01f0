#include "support/reportcapture.h"

#include "reportengine/reportoutput.h"
#include "support/pdftext.h"

#include <QRegularExpression>

ReportCapture::ReportCapture() : m_redirect([this](const Run& run) { m_runs.append(run); }) {}

QString ReportCapture::text(const Run& run) const
{
    const QString pdf = m_dir.filePath(QStringLiteral("run.pdf"));
    if (!ReportOutput::writePdf(run.report, pdf))
        return {};
    return pdfText(pdf).replace(QRegularExpression(QStringLiteral("[ \\t]+")), QStringLiteral(" "));
}
