#pragma once

#include "data/database.h"
#include "reportengine/reportlayout.h"
#include "reportengine/reportvalues.h"
#include "reportengine/selectionformula.h"

#include <QStringList>
#include <functional>

/** The shop's name and address lines, printed at the head of every page. */
struct CompanyHeading {
    QString name;
    QStringList lines;
};

/** Reads a layout's records in one statement and hands them on one at a time. */
namespace ReportData {

/** Looks up the fields a selection formula names: only tables the layout reads. */
FormulaFieldResolver fieldResolver(Database& db, const ReportLayout& layout);

QString selectStatement(const ReportLayout& layout, const SelectionCondition& condition);

/** Runs the layout's query; `onRow` sees each record with its computed fields filled. */
Status stream(Database& db, const ReportLayout& layout, const SelectionCondition& condition,
              const std::function<void(const ReportRow&)>& onRow);

/** The company record; empty when there is none (the heading then shows only the title). */
CompanyHeading companyHeading(Database& db);

} // namespace ReportData
