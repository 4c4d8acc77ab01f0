#include "reportengine/reportcommand.h"

#include "reportengine/reportjob.h"
#include "reportengine/reportoutput.h"

#include <iostream>

int runReportCommand(const QString& layout, const QString& formula, const QString& pdfPath)
{
    Result<std::shared_ptr<ReportJob>> job =
        ReportJob::prepare({resolveLayoutPath(layout), QString(), formula, QString()});
    if (!job) {
        std::cerr << job.status().message().toStdString() << '\n';
        return 1;
    }
    PdfPageSink sink(pdfPath, job.value()->title(), job.value()->layout().landscape);
    // A run that fails leaves the sink unclosed, and with it the target as it was.
    Status status = job.value()->run(sink);
    if (status)
        status = sink.close();
    if (!status) {
        std::cerr << status.message().toStdString() << '\n';
        return 1;
    }
    std::cout << "Wrote " << sink.pageCount() << (sink.pageCount() == 1 ? " page" : " pages")
              << " to " << pdfPath.toStdString() << ".\n";
    return 0;
}
