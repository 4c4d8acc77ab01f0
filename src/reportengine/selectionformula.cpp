#include "reportengine/selectionformula.h"

#include "data/currency.h"

#include <QDate>
#include <stdexcept>

namespace {

struct Token {
    enum class Kind { End, Field, String, Number, Word, Symbol };
    Kind kind = Kind::End;
    QString text; // field: Table.Column; string: its content; others: as written
    qsizetype position = 0;
};

/** A fault in the formula, with the character position it was found at. */
struct FormulaError : std::runtime_error {
    FormulaError(const QString& text, qsizetype at)
        : std::runtime_error(text.toStdString()), position(at)
    {
    }
    qsizetype position;
};

class Lexer {
public:
    explicit Lexer(const QString& text) : m_text(text) {}

    Token next()
    {
        while (m_at < m_text.size() && m_text[m_at].isSpace())
            ++m_at;
        Token token;
        token.position = m_at;
        if (m_at >= m_text.size())
            return token;
        const QChar c = m_text[m_at];
        if (c == QLatin1Char('{'))
            return field(token);
        if (c == QLatin1Char('\'') || c == QLatin1Char('"'))
            return string(token, c);
        if (c.isDigit() || c == QLatin1Char('.') ||
            (c == QLatin1Char('-') && m_at + 1 < m_text.size() && m_text[m_at + 1].isDigit()))
            return number(token);
        if (c.isLetter())
            return word(token);
        for (const char* symbol : {"<>", "<=", ">=", "=", "<", ">", "(", ")", ","}) {
            const QLatin1String s(symbol);
            if (QStringView(m_text).mid(m_at).startsWith(s)) {
                m_at += s.size();
                token.kind = Token::Kind::Symbol;
                token.text = s;
                return token;
            }
        }
        throw FormulaError(QStringLiteral("the character %1 is not understood").arg(c), m_at);
    }

private:
    Token field(Token& token)
    {
        const qsizetype close = m_text.indexOf(QLatin1Char('}'), m_at);
        if (close < 0)
            throw FormulaError(QStringLiteral("the field name has no closing }"), m_at);
        token.kind = Token::Kind::Field;
        token.text = m_text.mid(m_at + 1, close - m_at - 1).trimmed();
        m_at = close + 1;
        return token;
    }

    Token string(Token& token, QChar quote)
    {
        token.kind = Token::Kind::String;
        ++m_at;
        while (m_at < m_text.size()) {
            if (m_text[m_at] == quote) {
                // A doubled quote stands for the quote itself.
                if (m_at + 1 < m_text.size() && m_text[m_at + 1] == quote) {
                    token.text += quote;
                    m_at += 2;
                    continue;
                }
                ++m_at;
                return token;
            }
            token.text += m_text[m_at++];
        }
        throw FormulaError(QStringLiteral("the text has no closing quote"), token.position);
    }

    Token number(Token& token)
    {
        token.kind = Token::Kind::Number;
        token.text += m_text[m_at++];
        while (m_at < m_text.size() && (m_text[m_at].isDigit() || m_text[m_at] == QLatin1Char('.')))
            token.text += m_text[m_at++];
        return token;
    }

    Token word(Token& token)
    {
        token.kind = Token::Kind::Word;
        while (m_at < m_text.size() && (m_text[m_at].isLetterOrNumber() || m_text[m_at] == '_'))
            token.text += m_text[m_at++];
        return token;
    }

    const QString& m_text;
    qsizetype m_at = 0;
};

class Parser {
public:
    Parser(const QString& text, const FormulaFieldResolver& resolve)
        : m_lexer(text), m_resolve(resolve)
    {
        advance();
    }

    SelectionCondition parse()
    {
        disjunction();
        if (m_token.kind != Token::Kind::End)
            throw FormulaError(QStringLiteral("\"%1\" is not expected here").arg(m_token.text),
                               m_token.position);
        return {m_sql, m_values};
    }

private:
    /** Counts one level of parentheses or "not" while it is open. */
    class Nesting {
    public:
        Nesting(int& depth, qsizetype position) : m_depth(depth)
        {
            if (++m_depth > SelectionFormula::MaxNesting)
                throw FormulaError(
                    QStringLiteral("parentheses and \"not\" are nested more than %1 deep")
                        .arg(SelectionFormula::MaxNesting),
                    position);
        }
        ~Nesting() { --m_depth; }
        Nesting(const Nesting&) = delete;
        Nesting& operator=(const Nesting&) = delete;

    private:
        int& m_depth;
    };

    void advance() { m_token = m_lexer.next(); }

    bool isWord(const char* word) const
    {
        return m_token.kind == Token::Kind::Word &&
               m_token.text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
    }
    bool isSymbol(const char* symbol) const
    {
        return m_token.kind == Token::Kind::Symbol && m_token.text == QLatin1String(symbol);
    }
    void expectSymbol(const char* symbol, const QString& what)
    {
        if (!isSymbol(symbol))
            throw FormulaError(what, m_token.position);
        advance();
    }

    // The SQL is appended as the formula is read, so reading stays linear in its length.

    void disjunction()
    {
        conjunction();
        while (isWord("or")) {
            advance();
            m_sql += QLatin1String(" OR ");
            conjunction();
        }
    }

    void conjunction()
    {
        negation();
        while (isWord("and")) {
            advance();
            m_sql += QLatin1String(" AND ");
            negation();
        }
    }

    // SQL's NOT binds more loosely than a comparison and more tightly than AND, as the
    // formula's "not" does, so its operand needs no parentheses of its own.
    void negation()
    {
        if (isWord("not")) {
            const Nesting level(m_depth, m_token.position);
            advance();
            m_sql += QLatin1String("NOT ");
            negation();
            return;
        }
        if (isSymbol("(")) {
            const Nesting level(m_depth, m_token.position);
            advance();
            m_sql += QLatin1Char('(');
            disjunction();
            expectSymbol(")", QStringLiteral("a closing ) is missing"));
            m_sql += QLatin1Char(')');
            return;
        }
        comparison();
    }

    void comparison()
    {
        if (m_token.kind != Token::Kind::Field)
            throw FormulaError(QStringLiteral("a field such as {Table.Column} is expected"),
                               m_token.position);
        if (++m_comparisons > SelectionFormula::MaxComparisons)
            throw FormulaError(QStringLiteral("the formula has more than %1 comparisons")
                                   .arg(SelectionFormula::MaxComparisons),
                               m_token.position);
        const FormulaField field = resolve(m_token);
        advance();
        if (isWord("in")) {
            advance();
            value(field);
            if (!isWord("to"))
                throw FormulaError(QStringLiteral("\"to\" is expected in a range"),
                                   m_token.position);
            advance();
            value(field);
            m_sql += field.sql + QLatin1String(" BETWEEN ? AND ?");
            return;
        }
        static const char* const operators[] = {"=", "<>", "<", "<=", ">", ">="};
        for (const char* op : operators) {
            if (isSymbol(op)) {
                advance();
                value(field);
                m_sql += field.sql + QLatin1Char(' ') + QLatin1String(op) + QLatin1String(" ?");
                return;
            }
        }
        throw FormulaError(QStringLiteral("a comparison such as = or \"in\" is expected"),
                           m_token.position);
    }

    FormulaField resolve(const Token& token)
    {
        const QStringList parts = token.text.split(QLatin1Char('.'));
        if (parts.size() != 2)
            throw FormulaError(
                QStringLiteral("the field {%1} should read {Table.Column}").arg(token.text),
                token.position);
        Result<FormulaField> field = m_resolve(parts[0].trimmed(), parts[1].trimmed());
        if (!field)
            throw FormulaError(field.status().message(), token.position);
        return field.value();
    }

    /** Reads one value for the field and binds it. */
    void value(const FormulaField& field)
    {
        const Token token = m_token;
        auto mismatch = [&](const QString& expected) {
            return FormulaError(QStringLiteral("%1 is expected for this field").arg(expected),
                                token.position);
        };
        switch (field.type) {
        case FieldType::Text:
            if (token.kind != Token::Kind::String)
                throw mismatch(QStringLiteral("text in quotes"));
            m_values.append(SqlValue(token.text));
            advance();
            return;
        case FieldType::YesNo:
            if (isWord("yes") || isWord("true"))
                m_values.append(SqlValue(true));
            else if (isWord("no") || isWord("false"))
                m_values.append(SqlValue(false));
            else
                throw mismatch(QStringLiteral("Yes or No"));
            advance();
            return;
        case FieldType::Date:
            m_values.append(SqlValue(date()));
            return;
        case FieldType::Number:
            // Yes/no columns are stored as whole numbers; a layout need not declare them.
            if (isWord("yes") || isWord("true") || isWord("no") || isWord("false")) {
                m_values.append(SqlValue(isWord("yes") || isWord("true")));
                advance();
                return;
            }
            [[fallthrough]];
        case FieldType::Decimal:
        case FieldType::Money:
            if (token.kind != Token::Kind::Number)
                throw mismatch(QStringLiteral("a number"));
            m_values.append(number(token, field.type));
            advance();
            return;
        }
    }

    SqlValue number(const Token& token, FieldType type)
    {
        if (type == FieldType::Money) {
            const auto amount = Currency::parse(token.text);
            if (!amount)
                throw FormulaError(QStringLiteral("%1 is not a number").arg(token.text),
                                   token.position);
            return SqlValue(*amount);
        }
        bool whole = false;
        const qlonglong integer = token.text.toLongLong(&whole);
        if (whole)
            return SqlValue(static_cast<std::int64_t>(integer));
        bool ok = false;
        const double real = token.text.toDouble(&ok);
        if (!ok)
            throw FormulaError(QStringLiteral("%1 is not a number").arg(token.text),
                               token.position);
        return SqlValue(real);
    }

    QDate date()
    {
        const qsizetype start = m_token.position;
        if (!isWord("date"))
            throw FormulaError(QStringLiteral("a date such as Date(2004,01,15) is expected"),
                               start);
        advance();
        expectSymbol("(", QStringLiteral("Date needs its ( after the word Date"));
        int parts[3] = {};
        for (int i = 0; i < 3; ++i) {
            bool ok = false;
            parts[i] = m_token.kind == Token::Kind::Number ? m_token.text.toInt(&ok) : 0;
            if (!ok)
                throw FormulaError(
                    QStringLiteral("Date needs a year, a month and a day in whole numbers"),
                    m_token.position);
            advance();
            if (i < 2)
                expectSymbol(",", QStringLiteral("Date needs a year, a month and a day "
                                                 "separated by commas"));
        }
        expectSymbol(")", QStringLiteral("Date needs its closing )"));
        const QString written = QStringLiteral("Date(%1,%2,%3)")
                                    .arg(QString::number(parts[0]), QString::number(parts[1]),
                                         QString::number(parts[2]));
        // The database keeps dates as yyyy-mm-dd text, which has room for four-digit years only.
        if (parts[0] < 1 || parts[0] > 9999)
            throw FormulaError(written + QLatin1String(" has a year outside 1 to 9999"), start);
        const QDate date(parts[0], parts[1], parts[2]);
        if (!date.isValid())
            throw FormulaError(written + QLatin1String(" is not a calendar date"), start);
        return date;
    }

    Lexer m_lexer;
    const FormulaFieldResolver& m_resolve;
    Token m_token;
    QString m_sql;
    QList<SqlValue> m_values;
    int m_depth = 0;
    int m_comparisons = 0;
};

} // namespace

namespace SelectionFormula {

Result<SelectionCondition> parse(const QString& formula, const FormulaFieldResolver& resolve)
{
    if (formula.trimmed().isEmpty())
        return SelectionCondition{};
    if (formula.size() > MaxLength)
        return Status::failed(
            QStringLiteral("Error in the record selection formula: it is longer than %1 "
                           "characters.")
                .arg(MaxLength));
    try {
        return Parser(formula, resolve).parse();
    } catch (const FormulaError& e) {
        // One pass over the pattern: a %1 typed in the formula stays as it was typed.
        return Status::failed(
            QStringLiteral("Error in the record selection formula: %1 (at character %2).\n\n%3")
                .arg(QString::fromStdString(e.what()), QString::number(e.position + 1), formula));
    }
}

} // namespace SelectionFormula
