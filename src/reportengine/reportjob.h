#pragma once

#include "data/database.h"
#include "reportengine/reportdata.h"
#include "reportengine/reportlayout.h"
#include "reportengine/reportpage.h"

#include <functional>
#include <memory>
#include <vector>

/** What one run of a report needs: the layout file, the data file (empty: the program's
 *  database), the selection formula and the title printed on the pages (empty: the layout's
 *  own). */
struct ReportRequest {
    QString layoutPath;
    QString dataFile;
    QString formula;
    QString title;
};

/** One report run, checked before any page is made: layout read, database open, formula
 *  understood. Then run() streams the records into pages. */
class ReportJob {
public:
    static Result<std::shared_ptr<ReportJob>> prepare(const ReportRequest& request);
    /** A job over records the program fills itself instead of reading them from a database
     *  (a sheet that prints what no table holds), under the layout's own title. */
    static std::shared_ptr<ReportJob> ofRecords(ReportLayout layout, CompanyHeading company,
                                                std::vector<ReportRow> records);

    const ReportLayout& layout() const { return m_layout; }
    const QString& title() const { return m_title; }
    const CompanyHeading& company() const { return m_company; }
    Status run(PageSink& sink);
    /** Hands on the records the pages would print, after the selection, in report order. */
    Status read(const std::function<void(const ReportRow&)>& onRow);

private:
    ReportJob() = default;
    /** Opens the data file, or the program's database when none is given. */
    Status openDatabase(const QString& dataFile);

    ReportLayout m_layout;
    QString m_title;
    std::unique_ptr<Database> m_db;
    SelectionCondition m_condition;
    CompanyHeading m_company;
    /** The records of a job made by ofRecords(); it has no database. */
    std::vector<ReportRow> m_records;
};

/** The layout file for a name given on the command line: a path, or a file of the program
 *  folder's Reports folder, with or without its ".rpt". */
QString resolveLayoutPath(const QString& name);
