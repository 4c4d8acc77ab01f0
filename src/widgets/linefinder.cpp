#include "widgets/linefinder.h"

namespace {

// Case and accents ignored: "renee" finds "Renée", "MULL" finds "Müller".
QString folded(const QString& text)
{
    const QString decomposed = text.normalized(QString::NormalizationForm_KD);
    QString bare;
    bare.reserve(decomposed.size());
    for (QChar c : decomposed)
        if (c.category() != QChar::Mark_NonSpacing)
            bare += c;
    return bare.toCaseFolded();
}

QString digitsOf(const QString& text)
{
    QString digits;
    for (QChar c : text)
        if (c.isDigit())
            digits += c;
    return digits;
}

// Text typed as a phone number: digits, perhaps written with the usual punctuation.
bool looksLikeNumber(const QString& typed)
{
    bool digit = false;
    for (QChar c : typed) {
        if (c.isDigit())
            digit = true;
        else if (!c.isSpace() && !QStringLiteral("()-./+").contains(c))
            return false;
    }
    return digit;
}

} // namespace

void LineFinder::setLines(const QStringList& lines, const QHash<QString, QString>& moreByKey)
{
    m_entries.clear();
    m_entries.reserve(static_cast<size_t>(lines.size()));
    m_longestLine = 0;
    m_longestMore = 0;
    for (const QString& line : lines) {
        const QString more = moreByKey.value(keyOf(line));
        m_entries.push_back({line, folded(line), more, folded(more), digitsOf(more)});
        m_longestLine = std::max(m_longestLine, line.size());
        m_longestMore = std::max(m_longestMore, more.size());
    }
}

QList<int> LineFinder::find(const QString& typed) const
{
    const QString text = folded(typed.trimmed());
    if (text.isEmpty())
        return {};
    const QString digits = looksLikeNumber(text) ? digitsOf(text) : QString();
    QList<int> found;
    for (size_t i = 0; i < m_entries.size(); ++i) {
        const Entry& entry = m_entries[i];
        if (entry.folded.contains(text) || entry.moreFolded.contains(text) ||
            (!digits.isEmpty() && entry.moreDigits.contains(digits)))
            found << static_cast<int>(i);
    }
    return found;
}

QString LineFinder::keyOf(const QString& line)
{
    const qsizetype blank = line.indexOf(QLatin1Char(' '));
    return blank < 0 ? line : line.left(blank);
}
