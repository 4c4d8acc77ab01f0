#include "reports/recoverysheet.h"

#include "data/programfolder.h"
#include "reports/reportpreview.h"

#include <QDir>

namespace RecoverySheet {

namespace {

constexpr int DigitsPerGroup = 4;
constexpr int GroupsPerLine = 8;

// Built in rather than a file of the Reports folder: a sheet edited to leave out the key would
// lock the shop out of its data the day it is needed.
constexpr char Layout[] = R"({
    "title": "Recovery Sheet of the Shop's Key",
    "data": { "from": "Sheet" },
    "fields": {
        "Shop": "Sheet.Shop",
        "Line1": "Sheet.Line1",
        "Line2": "Sheet.Line2",
        "KeyFile": "Sheet.KeyFile"
    },
    "detail": {
        "bands": [
            { "type": "paragraph", "title": "Shop", "text": "{Shop}" },
            { "type": "paragraph", "title": "Key file", "text": "{KeyFile}" },
            { "type": "space" },
            { "type": "heading", "size": 16, "text": "{Line1}" },
            { "type": "heading", "size": 16, "text": "{Line2}" },
            { "type": "space" },
            { "type": "paragraph", "title": "What it opens", "text": "These 64 hex digits are the key of the shop's database and of every backup made since the shop got its own key. Whoever holds them can read the customers' and employees' records: keep the sheet locked away, apart from the computer and its backups." },
            { "type": "paragraph", "title": "To recover", "text": "When the key file is lost, write the 64 digits, without the blanks, as the one line of a text file named helpdesk-e.key in the folder of the database (only the shop's account may read it), then start the program again." }
        ]
    }
})";

ReportValue text(const QString& value)
{
    return {false, 0, 0, value};
}

} // namespace

QStringList keyLines(const ShopKey& key)
{
    const QString hex = QString::fromLatin1(key.hex());
    const int lineLength = DigitsPerGroup * GroupsPerLine;
    QStringList lines;
    for (qsizetype line = 0; line < hex.size(); line += lineLength) {
        QStringList groups;
        for (qsizetype at = line; at < std::min(hex.size(), line + lineLength);
             at += DigitsPerGroup)
            groups << hex.mid(at, DigitsPerGroup);
        lines << groups.join(QLatin1Char(' '));
    }
    return lines;
}

std::shared_ptr<ReportJob> job(const ShopKey& key, const CompanyHeading& company)
{
    ReportLayout layout =
        ReportLayout::parse(QByteArray(Layout), QString::fromLatin1(WindowTitle)).value();
    const QStringList lines = keyLines(key);
    const QString keyFile = QDir::toNativeSeparators(
        ShopKey::filePathBeside(ProgramFolder::filePath(QString::fromLatin1(Database::FileName))));
    ReportRow record(static_cast<size_t>(layout.fields.size()));
    record[static_cast<size_t>(layout.fieldIndex(QStringLiteral("Shop")))] = text(company.name);
    record[static_cast<size_t>(layout.fieldIndex(QStringLiteral("Line1")))] = text(lines.value(0));
    record[static_cast<size_t>(layout.fieldIndex(QStringLiteral("Line2")))] = text(lines.value(1));
    record[static_cast<size_t>(layout.fieldIndex(QStringLiteral("KeyFile")))] = text(keyFile);
    return ReportJob::ofRecords(std::move(layout), company, {record});
}

Status preview()
{
    struct Shop {
        std::optional<ShopKey> key;
        CompanyHeading company;
    };
    const Result<Shop> shop = Database::read([](Database& db) -> Result<Shop> {
        return Shop{db.fileKey(), ReportData::companyHeading(db)};
    });
    if (!shop)
        return shop.status();
    if (!shop->key || shop->key->isOldPassword())
        return Status::failed(
            QStringLiteral("The shop's database has no key of its own to print."));
    previewJob(job(*shop->key, shop->company), QString::fromLatin1(WindowTitle));
    return Status::ok();
}

} // namespace RecoverySheet
