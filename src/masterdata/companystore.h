#pragma once

#include "data/database.h"

#include <QDate>
#include <QString>
#include <array>
#include <optional>

/** The shop's own details in the order of the company table's first nine columns: name,
 *  address, city, state, zip, phone, fax, e-mail, web site. */
using CompanyFields = std::array<QString, 9>;

/** The one company record, for the company window. */
namespace CompanyStore {

/** The company ID the shop's record and every customer carry. */
inline constexpr const char* CompanyId = "pmdx";

/** The first company record's fields, or nothing when the table is empty. */
Result<std::optional<CompanyFields>> load();

/** Adds the company record with its post date and company ID. */
Status add(const CompanyFields& fields, const QDate& postDate);

/** Rewrites the first company record's fields; its post date and ID stay. */
Status update(const CompanyFields& fields);

} // namespace CompanyStore
