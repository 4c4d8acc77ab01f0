#pragma once

#include "reportengine/reportlayout.h"
#include "reportengine/reportvalues.h"

/** Where a template is filled in: the current record, the totals of its scope, the page. */
struct TemplateContext {
    const ReportLayout& layout;
    const ReportRow* row = nullptr;
    const Accumulator* totals = nullptr;
    int page = 0;
    QString title;
};

/** Reads "Invoice {InvNum} of {sum:Amount}" against the layout's fields. */
Result<TextTemplate> parseTemplate(const QString& text, const ReportLayout& layout);

namespace Templates {

QString fill(const TextTemplate& text, const TemplateContext& context);
/** True when the template names fields and every one of them is empty in the row: such lines
 *  are left out of address blocks instead of printing their bare labels. */
bool blank(const TextTemplate& text, const TemplateContext& context);

} // namespace Templates
