#include "data/csvfile.h"

#include "data/privatefile.h"

#include <QIODevice>
#include <QRegularExpression>
#include <QSaveFile>

namespace CsvFile {

namespace {

/** Control characters have no place in a spreadsheet's cell; line breaks and tabs are text. */
QString withoutControls(const QString& text)
{
    QString kept;
    kept.reserve(text.size());
    for (const QChar c : text) {
        if (c.category() != QChar::Other_Control || c == u'\n' || c == u'\r' || c == u'\t')
            kept += c;
    }
    return kept;
}

/** A plain decimal number, such as -12.50: a spreadsheet reads it as the number, never as a
 *  formula, so it stays as it is. */
bool isPlainNumber(const QString& text)
{
    static const QRegularExpression number(QStringLiteral("^[-+]?[0-9]+(\\.[0-9]+)?$"));
    return number.match(text).hasMatch();
}

/** Whether a spreadsheet would take the text for a formula (or start one with it). */
bool opensAsFormula(const QString& text)
{
    qsizetype first = 0;
    while (first < text.size() && text.at(first) == u' ')
        ++first;
    if (first == text.size())
        return false;
    const QChar c = text.at(first);
    const bool leads =
        c == u'=' || c == u'+' || c == u'-' || c == u'@' || c == u'\t' || c == u'\r' || c == u'\n';
    return leads && !isPlainNumber(text.trimmed());
}

} // namespace

QString field(const QString& text)
{
    QString escaped = withoutControls(text);
    // A leading apostrophe makes a spreadsheet show the cell as text instead of running it.
    const bool formula = opensAsFormula(escaped);
    if (formula)
        escaped.prepend(u'\'');
    const bool quoted = formula || escaped.contains(u',') || escaped.contains(u'"') ||
                        escaped.contains(u'\n') || escaped.contains(u'\r') ||
                        escaped.startsWith(u' ') || escaped.endsWith(u' ');
    if (!quoted)
        return escaped;
    escaped.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    return u'"' + escaped + u'"';
}

QString line(const QStringList& fields)
{
    QStringList out;
    out.reserve(fields.size());
    for (const QString& text : fields)
        out << field(text);
    return out.join(u',') + QStringLiteral("\r\n");
}

QString write(QIODevice& out, const QStringList& headings, const std::vector<QStringList>& rows)
{
    QByteArray chunk = line(headings).toUtf8();
    // Every byte must have been taken: a short write is as much a failure as -1.
    const auto put = [&] {
        const bool whole = out.write(chunk) == qint64(chunk.size());
        chunk.clear();
        return whole;
    };
    for (const QStringList& row : rows) {
        chunk += line(row).toUtf8();
        if (chunk.size() >= 1 << 16 && !put())
            return out.errorString();
    }
    if (!put())
        return out.errorString();
    return {};
}

QString write(const QString& path, const QStringList& headings,
              const std::vector<QStringList>& rows)
{
    QSaveFile file(path);
    // Unbuffered, every write reaches the file at once and a full disk fails the write that
    // hits it, with the system's reason; a buffer would meet it only while closing, where the
    // save file does not count it as a failure. The file holds the shop's data: owner-only.
    if (const PrivateFile::CreationGuard ownerOnly;
        !file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return file.errorString();
    if (QString problem = write(static_cast<QIODevice&>(file), headings, rows);
        !problem.isEmpty()) {
        file.cancelWriting();
        return problem;
    }
    if (!file.commit())
        return file.errorString();
    return {};
}

std::vector<QStringList> parse(const QString& text)
{
    std::vector<QStringList> rows;
    QStringList row;
    QString current;
    bool inQuotes = false;
    bool rowHasContent = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (inQuotes) {
            if (c == u'"' && i + 1 < text.size() && text.at(i + 1) == u'"') {
                current += u'"';
                ++i;
            } else if (c == u'"') {
                inQuotes = false;
            } else {
                current += c;
            }
            continue;
        }
        if (c == u'"') {
            inQuotes = true;
            rowHasContent = true;
        } else if (c == u',') {
            row << current;
            current.clear();
            rowHasContent = true;
        } else if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n')
                ++i;
            if (rowHasContent || !current.isEmpty()) {
                row << current;
                rows.push_back(row);
            }
            row.clear();
            current.clear();
            rowHasContent = false;
        } else {
            current += c;
            rowHasContent = true;
        }
    }
    if (rowHasContent || !current.isEmpty()) {
        row << current;
        rows.push_back(row);
    }
    return rows;
}

} // namespace CsvFile
