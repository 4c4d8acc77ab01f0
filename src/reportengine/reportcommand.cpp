#include "reportengine/reportcommand.h"

#include "data/csvfile.h"
#include "reportengine/reportjob.h"
#include "reportengine/reportoutput.h"

#include <QDir>
#include <iostream>

namespace {

/** The fields in the order a reader meets them on the page: what the records are grouped by,
 *  the detail line from left to right, then the fields that only feed totals or formulas. */
QList<int> printOrder(const ReportLayout& layout)
{
    QList<int> order;
    const auto add = [&](int field) {
        if (field >= 0 && !order.contains(field))
            order << field;
    };
    const auto addTemplate = [&](const TextTemplate& text) {
        for (const TextTemplate::Piece& piece : text.pieces)
            if (piece.kind == TextTemplate::Piece::Kind::Field)
                add(piece.field);
    };
    for (const LayoutGroup& group : layout.groups)
        add(group.by);
    for (const LayoutColumn& column : layout.columns)
        addTemplate(column.text);
    for (const LayoutBand& band : layout.detailBands) {
        addTemplate(band.text);
        for (const TextTemplate& line : band.lines)
            addTemplate(line);
        for (const auto& [position, text] : band.cells)
            addTemplate(text);
        for (const auto& [title, text] : band.pairs)
            addTemplate(text);
    }
    for (int field = 0; field < layout.fields.size(); ++field)
        add(field);
    return order;
}

/** The records as rows of their fields' values, headed by the fields' names. */
Status writeCsv(ReportJob& job, const QString& path, qsizetype& records)
{
    const QList<LayoutField>& fields = job.layout().fields;
    const QList<int> order = printOrder(job.layout());
    QStringList headings;
    for (int field : order)
        headings << fields[field].name;
    std::vector<QStringList> rows;
    const Status read = job.read([&](const ReportRow& record) {
        QStringList row;
        row.reserve(order.size());
        for (int field : order)
            row << ReportValues::plain(record[static_cast<size_t>(field)], fields[field].type);
        rows.push_back(std::move(row));
    });
    if (!read)
        return read;
    if (const QString problem = CsvFile::write(path, headings, rows); !problem.isEmpty())
        return Status::failed(QStringLiteral("The file %1 cannot be written: %2.")
                                  .arg(QDir::toNativeSeparators(path), problem));
    records = static_cast<qsizetype>(rows.size());
    return Status::ok();
}

Status writePdf(ReportJob& job, const QString& path, int& pages)
{
    PdfPageSink sink(path, job.title(), job.layout().landscape);
    // A run that fails leaves the sink unclosed, and with it the target as it was.
    Status status = job.run(sink);
    if (status)
        status = sink.close();
    pages = sink.pageCount();
    return status;
}

int failed(const Status& status)
{
    std::cerr << status.message().toStdString() << '\n';
    return 1;
}

} // namespace

int runReportCommand(const QString& layout, const QString& formula, const QString& pdfPath,
                     const QString& csvPath)
{
    Result<std::shared_ptr<ReportJob>> job =
        ReportJob::prepare({resolveLayoutPath(layout), QString(), formula, QString()});
    if (!job)
        return failed(job.status());
    if (!csvPath.isEmpty()) {
        qsizetype records = 0;
        if (const Status status = writeCsv(*job.value(), csvPath, records); !status)
            return failed(status);
        std::cout << "Wrote " << records << (records == 1 ? " record" : " records") << " to "
                  << csvPath.toStdString() << ".\n";
    }
    if (!pdfPath.isEmpty()) {
        int pages = 0;
        if (const Status status = writePdf(*job.value(), pdfPath, pages); !status)
            return failed(status);
        std::cout << "Wrote " << pages << (pages == 1 ? " page" : " pages") << " to "
                  << pdfPath.toStdString() << ".\n";
    }
    return 0;
}
