#include "reports/reportpage.h"

#include <array>
#include <memory>

namespace {

struct FontSet {
    std::array<QFont, ReportFonts::Count> fonts;
    std::array<std::unique_ptr<QFontMetricsF>, ReportFonts::Count> metrics;

    FontSet()
    {
        const std::pair<double, bool> styles[ReportFonts::Count] = {
            {9, false}, {9, true}, {7.5, false}, {11, true}, {20, true}, {15, true},
        };
        for (int i = 0; i < ReportFonts::Count; ++i) {
            QFont font(QStringLiteral("Helvetica"));
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

const QFont& font(int which)
{
    return fontSet().fonts[static_cast<size_t>(which)];
}

const QFontMetricsF& metrics(int which)
{
    return *fontSet().metrics[static_cast<size_t>(which)];
}

} // namespace ReportFonts
