#include "data/serverstatement.h"

namespace {

bool isWordChar(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
           c == '$' || static_cast<unsigned char>(c) >= 0x80;
}

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

/** Reads the statement one token of interest at a time; every method leaves `pos` after what it
 *  read, so that the whole statement is read once. */
class Scanner {
public:
    explicit Scanner(const QByteArray& sql) : s(sql), n(sql.size()) {}

    char at(qsizetype i) const { return i < n ? s[i] : '\0'; }

    // A quoted run ending at an unpaired `quote`; E'' strings also escape with a backslash.
    qsizetype skipQuoted(qsizetype i, char quote, bool backslash) const
    {
        for (++i; i < n; ++i) {
            if (backslash && s[i] == '\\')
                ++i;
            else if (s[i] == quote) {
                if (at(i + 1) != quote)
                    return i + 1;
                ++i;
            }
        }
        return n;
    }

    // Block comments nest on the server.
    qsizetype skipBlockComment(qsizetype i) const
    {
        int depth = 0;
        while (i < n) {
            if (s[i] == '/' && at(i + 1) == '*') {
                ++depth;
                i += 2;
            } else if (s[i] == '*' && at(i + 1) == '/') {
                i += 2;
                if (--depth == 0)
                    return i;
            } else {
                ++i;
            }
        }
        return n;
    }

    // `$tag$ ... $tag$`; returns `i` itself when the dollar does not open such a string.
    qsizetype skipDollarQuoted(qsizetype i) const
    {
        qsizetype j = i + 1;
        if (j < n && s[j] >= '0' && s[j] <= '9')
            return i;
        while (j < n && s[j] != '$' && isWordChar(s[j]))
            ++j;
        if (j >= n || s[j] != '$')
            return i;
        const QByteArray tag = s.mid(i, j - i + 1);
        const qsizetype close = s.indexOf(tag, j + 1);
        return close < 0 ? n : close + tag.size();
    }

    QByteArray wordAt(qsizetype& i) const
    {
        while (i < n && isSpace(s[i]))
            ++i;
        const qsizetype start = i;
        while (i < n && isWordChar(s[i]))
            ++i;
        return s.mid(start, i - start).toUpper();
    }

    // Whether the placeholder ending before `i` is tested for null and nothing else.
    bool testedForNull(qsizetype i) const
    {
        while (i < n && (isSpace(s[i]) || s[i] == ')'))
            ++i;
        QByteArray word = wordAt(i);
        if (word == "ISNULL" || word == "NOTNULL")
            return true;
        if (word != "IS")
            return false;
        word = wordAt(i);
        if (word == "NOT")
            word = wordAt(i);
        return word == "NULL";
    }

    const QByteArray& s;
    const qsizetype n;
};

} // namespace

ServerStatement ServerStatement::fromPortable(const QString& sql)
{
    const QByteArray source = sql.toUtf8();
    const Scanner scan(source);
    ServerStatement out;
    out.text.reserve(source.size() + 16);
    qsizetype first = 0;
    const QByteArray keyword = scan.wordAt(first);
    out.changesSchema = keyword == "CREATE" || keyword == "ALTER" || keyword == "DROP";

    qsizetype i = 0;
    while (i < scan.n) {
        const char c = source[i];
        qsizetype end = i + 1;
        if (c == '\'') {
            const bool escapes = i > 0 && (source[i - 1] == 'E' || source[i - 1] == 'e') &&
                                 (i == 1 || !isWordChar(source[i - 2]));
            end = scan.skipQuoted(i, c, escapes);
        } else if (c == '"') {
            end = scan.skipQuoted(i, c, false);
        } else if (c == '-' && scan.at(i + 1) == '-') {
            end = source.indexOf('\n', i);
            end = end < 0 ? scan.n : end;
        } else if (c == '/' && scan.at(i + 1) == '*') {
            end = scan.skipBlockComment(i);
        } else if (c == '$' && (i == 0 || !isWordChar(source[i - 1]))) {
            end = std::max(end, scan.skipDollarQuoted(i));
        } else if (c == '?') {
            out.needsType.push_back(scan.testedForNull(end));
            out.text += '$';
            out.text += QByteArray::number(static_cast<qsizetype>(out.needsType.size()));
            i = end;
            continue;
        }
        out.text.append(source.constData() + i, end - i);
        i = end;
    }
    return out;
}
