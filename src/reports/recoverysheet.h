#pragma once

#include "data/shopkey.h"
#include "reportengine/reportdata.h"
#include "reportengine/reportjob.h"

#include <QStringList>
#include <memory>

/** The sheet that keeps the shop's key on paper: the key in hex, grouped for reading, with the
 *  shop's name and the day it was printed, and how to put the key file back from it. */
namespace RecoverySheet {

/** The preview window's title. */
inline constexpr const char* WindowTitle = "Recovery Sheet of the Shop's Key";

/** The key's 64 hex digits in groups of four, eight groups a line, so that they are read out
 *  and typed back without losing the place. */
QStringList keyLines(const ShopKey& key);

/** The sheet for `key` of the shop whose company record gives `company`; the pages' footer
 *  gives the day it was printed. */
std::shared_ptr<ReportJob> job(const ShopKey& key, const CompanyHeading& company);

/** Shows the sheet of the program's shop in the print preview; why not, when the database
 *  cannot be read or has no key of its own. */
Status preview();

} // namespace RecoverySheet
