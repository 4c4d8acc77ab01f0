#include "data/programfolder.h"
#include "reportengine/reportpage.h"

#include <QDir>
#include <QFontDatabase>
#include <array>
#include <memory>

namespace {

Status registerShippedFonts()
{
    const QDir folder(ProgramFolder::shippedFilePath(QStringLiteral("fonts")));
    QStringList missing;
    for (const QString& file : {QStringLiteral("LiberationSans-Regular.ttf"),
                                QStringLiteral("LiberationSans-Bold.ttf")}) {
        if (QFontDatabase::addApplicationFont(folder.filePath(file)) < 0)
            missing << QDir::toNativeSeparators(folder.filePath(file));
    }
    if (missing.isEmpty())
        return Status::ok();
    return Status::failed(
        QStringLiteral("The report font could not be loaded from %1; reports use a substitute.")
            .arg(missing.join(QStringLiteral(", "))));
}

struct FontSet {
    std::array<QFont, ReportFonts::Count> fonts;
    std::array<std::unique_ptr<QFontMetricsF>, ReportFonts::Count> metrics;

    FontSet()
    {
        ReportFonts::install();
        const std::pair<double, bool> styles[ReportFonts::Count] = {
            {9, false}, {9, true}, {7.5, false}, {11, true}, {20, true}, {15, true},
        };
        for (int i = 0; i < ReportFonts::Count; ++i) {
            QFont font(QString::fromLatin1(ReportFonts::Family));
            font.setStyleHint(QFont::SansSerif);
            font.setPixelSize(static_cast<int>(styles[i].first * ReportFonts::UnitsPerPoint));
            font.setBold(styles[i].second);
            // Large pixel sizes measure without hinting, so layout and print agree.
            font.setHintingPreference(QFont::PreferNoHinting);
            fonts[i] = font;
            metrics[i] = std::make_unique<QFontMetricsF>(font);
        }
    }
};

const FontSet& fontSet()
{
    static const FontSet set;
    return set;
}

} // namespace

namespace ReportFonts {

Status install()
{
    static const Status installed = registerShippedFonts();
    return installed;
}

const QFont& font(int which)
{
    return fontSet().fonts[static_cast<size_t>(which)];
}

const QFontMetricsF& metrics(int which)
{
    return *fontSet().metrics[static_cast<size_t>(which)];
}

} // namespace ReportFonts
