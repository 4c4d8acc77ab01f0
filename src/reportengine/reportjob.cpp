#include "reportengine/reportjob.h"

#include "data/databasesetup.h"
#include "data/programfolder.h"
#include "data/schema.h"
#include "data/serversettings.h"
#include "reportengine/reportcomposer.h"

#include <QDir>
#include <QFileInfo>

namespace {

SelectionCondition combined(const SelectionCondition& first, const SelectionCondition& second)
{
    if (first.sql.isEmpty())
        return second;
    if (second.sql.isEmpty())
        return first;
    return {QStringLiteral("(%1) AND (%2)").arg(first.sql, second.sql),
            first.values + second.values};
}

} // namespace

Result<std::shared_ptr<ReportJob>> ReportJob::prepare(const ReportRequest& request)
{
    std::shared_ptr<ReportJob> job(new ReportJob);
    Result<ReportLayout> layout = ReportLayout::load(request.layoutPath);
    if (!layout)
        return layout.status();
    job->m_layout = std::move(layout.value());
    job->m_title = request.title.isEmpty() ? job->m_layout.title : request.title;

    Status opened = job->openDatabase(request.dataFile);
    if (!opened)
        return opened;

    const FormulaFieldResolver resolver = ReportData::fieldResolver(*job->m_db, job->m_layout);
    Result<SelectionCondition> condition = SelectionFormula::parse(request.formula, resolver);
    if (!condition)
        return condition.status();
    Result<SelectionCondition> own = SelectionFormula::parse(job->m_layout.filter, resolver);
    if (!own)
        return Status::failed(QStringLiteral("The report layout %1 is damaged: %2")
                                  .arg(job->m_layout.name, own.status().message()));
    job->m_condition = combined(own.value(), condition.value());
    job->m_company = ReportData::companyHeading(*job->m_db);
    return job;
}

std::shared_ptr<ReportJob> ReportJob::ofRecords(ReportLayout layout, CompanyHeading company,
                                                std::vector<ReportRow> records)
{
    std::shared_ptr<ReportJob> job(new ReportJob);
    job->m_layout = std::move(layout);
    job->m_title = job->m_layout.title;
    job->m_company = std::move(company);
    job->m_records = std::move(records);
    return job;
}

Status ReportJob::openDatabase(const QString& dataFile)
{
    // Without a file of its own, the report reads the program's database: the server the
    // settings name, else the program folder's file.
    if (const QString server = ServerSettings::address(); dataFile.isEmpty() && !server.isEmpty()) {
        m_db = std::make_unique<Database>();
        if (!m_db->isOpen())
            return Status::failed(QStringLiteral("The database on %1 cannot be opened: %2")
                                      .arg(m_db->path(), m_db->openStatus().message()));
        if (Schema::versionOf(*m_db) == 0)
            return Status::failed(QStringLiteral("The database %1 holds no shop.")
                                      .arg(ServerSettings::describe(server)));
        return Status::ok();
    }
    const QString file = dataFile.isEmpty()
                             ? ProgramFolder::filePath(QString::fromLatin1(Database::FileName))
                             : dataFile;
    if (!QFileInfo(file).isFile())
        return Status::error(Status::Kind::NotFound,
                             QStringLiteral("The data file %1 cannot be found.")
                                 .arg(QDir::toNativeSeparators(file)));
    // The same check as at the start, so that an empty file or another program's database is
    // named as such rather than by the first table the report misses.
    if (Status shop = DatabaseSetup::checkShop(file); !shop)
        return shop;
    m_db = std::make_unique<Database>(file);
    if (!m_db->isOpen())
        return Status::failed(
            QStringLiteral("The data file %1 cannot be opened: %2")
                .arg(QDir::toNativeSeparators(file), m_db->openStatus().message()));
    return Status::ok();
}

Status ReportJob::run(PageSink& sink)
{
    ReportComposer composer(m_layout, m_company, m_title, sink);
    const Status status = read([&](const ReportRow& row) { composer.add(row); });
    if (!status)
        return status;
    composer.finish();
    return Status::ok();
}

Status ReportJob::read(const std::function<void(const ReportRow&)>& onRow)
{
    if (!m_db) {
        for (const ReportRow& record : m_records)
            onRow(record);
        return Status::ok();
    }
    return ReportData::stream(*m_db, m_layout, m_condition, onRow);
}

QString resolveLayoutPath(const QString& name)
{
    if (QFileInfo(name).isFile())
        return name;
    const QString inFolder = ProgramFolder::filePath(QStringLiteral("Reports/") + name);
    if (QFileInfo(inFolder).isFile() || name.endsWith(QLatin1String(".rpt"), Qt::CaseInsensitive))
        return inFolder;
    return inFolder + QStringLiteral(".rpt");
}
