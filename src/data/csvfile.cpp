#include "data/csvfile.h"

#include <QIODevice>
#include <QSaveFile>

namespace CsvFile {

QString field(const QString& text)
{
    const bool quoted = text.contains(u',') || text.contains(u'"') || text.contains(u'\n') ||
                        text.contains(u'\r') || text.startsWith(u' ') || text.endsWith(u' ');
    if (!quoted)
        return text;
    QString escaped = text;
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
    // save file does not count it as a failure.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
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
