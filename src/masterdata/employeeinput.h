#pragma once

#include <QString>
#include <cstdint>

/** The rules the Employee window applies to what is typed into its boxes. */
namespace EmployeeInput {

/** The ID from the first letters of first name, middle initial and last name, in capitals,
 *  and the employee number: John Q Public with number 5 is JQP-5. */
QString employeeId(const QString& first, const QString& middle, const QString& last,
                   std::int64_t number);

/** A social security box as it is left. */
struct Checked {
    QString text;
    bool warn = false;
};
/** Nine digits become 000-00-0000; a shorter number is kept and warned about; text that is no
 *  number passes unchanged. */
Checked checkSsn(const QString& text);
/** A date passes; six digits become 00/00/00; anything else that is not empty is kept and
 *  warned about, as are six digits that make no date. */
Checked checkDate(const QString& text);

} // namespace EmployeeInput
