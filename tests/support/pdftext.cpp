#include "support/pdftext.h"

#include <QProcess>
#include <QRegularExpression>

namespace {

QString run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

} // namespace

QString pdfText(const QString& pdfPath)
{
    return run(QStringLiteral("pdftotext"),
               {QStringLiteral("-layout"), pdfPath, QStringLiteral("-")});
}

int pdfPageCount(const QString& pdfPath)
{
    const QRegularExpression pages(QStringLiteral("^Pages:\\s+(\\d+)"),
                                   QRegularExpression::MultilineOption);
    const auto match = pages.match(run(QStringLiteral("pdfinfo"), {pdfPath}));
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

QStringList pdfFonts(const QString& pdfPath)
{
    // Two heading lines, then one font a line with its name first.
    QStringList lines = run(QStringLiteral("pdffonts"), {pdfPath}).split(QLatin1Char('\n'));
    QStringList names;
    for (const QString& line : lines.mid(2)) {
        const QString name = line.section(QLatin1Char(' '), 0, 0);
        if (!name.isEmpty())
            names << name.section(QLatin1Char('+'), -1);
    }
    return names;
}
