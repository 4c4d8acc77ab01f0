#include "widgets/customersearch.h"

#include "data/database.h"
#include "widgets/comboautocomplete.h"
#include "widgets/statusnotice.h"

namespace CustomerSearch {

Result<QHash<QString, QString>> phonesById()
{
    return Database::read([](Database& db) -> Result<QHash<QString, QString>> {
        Query query = db.query(QStringLiteral(
            "SELECT CustID, CustPhone FROM Customer WHERE COALESCE(CustPhone, '') <> ''"));
        QHash<QString, QString> phones;
        while (query.next())
            phones.insert(query.text(0), query.text(1));
        if (!query.status())
            return query.status();
        return phones;
    });
}

void install(QComboBox* combo)
{
    // Read when the first key is typed after the entries were filled, so the phone numbers
    // are as fresh as the entries; a failed read finds by the lines alone, and says so.
    ComboAutoComplete::findAnywhere(combo, [] {
        const auto phones = phonesById();
        if (!phones)
            statusNotice().show(
                StatusNotice::readFailed(QStringLiteral("The phone numbers"), phones.status()));
        return phones ? *phones : QHash<QString, QString>();
    });
}

} // namespace CustomerSearch
