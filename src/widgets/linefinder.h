#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <vector>

/**
 * Finds the lines that contain a typed text anywhere, case and accents ignored, or whose more text
 * does (a customer's phone number beside "ID - Name"). Typed digits find a number in the more text
 * whatever its punctuation: "555 12" finds "(555) 123-4567". The lines are folded once, so a
 * search over ten thousand of them takes a millisecond or two.
 */
class LineFinder {
public:
    /** The lines to search; `moreByKey` gives more text by a line's key (its first word). */
    void setLines(const QStringList& lines, const QHash<QString, QString>& moreByKey = {});

    /** The indexes of the lines found for `typed`, in line order; none for a blank text. */
    QList<int> find(const QString& typed) const;

    int count() const { return static_cast<int>(m_entries.size()); }
    const QString& line(int index) const { return m_entries[static_cast<size_t>(index)].line; }
    const QString& more(int index) const { return m_entries[static_cast<size_t>(index)].more; }
    /** The lengths of the longest line and of the longest more text, in characters. */
    qsizetype longestLine() const { return m_longestLine; }
    qsizetype longestMore() const { return m_longestMore; }

    /** A line's key: the text before its first blank. */
    static QString keyOf(const QString& line);

private:
    struct Entry {
        QString line;
        QString folded;
        QString more;
        QString moreFolded;
        QString moreDigits;
    };
    std::vector<Entry> m_entries;
    qsizetype m_longestLine = 0;
    qsizetype m_longestMore = 0;
};
