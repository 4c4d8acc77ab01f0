#include "reports/selectionformula.h"

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
        QString sql = disjunction();
        if (m_token.kind != Token::Kind::End)
            throw FormulaError(QStringLiteral("\"%1\" is not expected here").arg(m_token.text),
                               m_token.position);
        return {sql, m_values};
    }

private:
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

    QString disjunction()
    {
        QString sql = conjunction();
        while (isWord("or")) {
            advance();
            sql = QStringLiteral("%1 OR %2").arg(sql, conjunction());
        }
        return sql;
    }

    QString conjunction()
    {
        QString sql = negation();
        while (isWord("and")) {
            advance();
            sql = QStringLiteral("%1 AND %2").arg(sql, negation());
        }
        return sql;
    }

    QString negation()
    {
        if (isWord("not")) {
            advance();
            return QStringLiteral("NOT (%1)").arg(negation());
        }
        if (isSymbol("(")) {
            advance();
            const QString inner = disjunction();
            expectSymbol(")", QStringLiteral("a closing ) is missing"));
            return QStringLiteral("(%1)").arg(inner);
        }
        return comparison();
    }

    QString comparison()
    {
        if (m_token.kind != Token::Kind::Field)
            throw FormulaError(QStringLiteral("a field such as {Table.Column} is expected"),
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
            return QStringLiteral("%1 BETWEEN ? AND ?").arg(field.sql);
        }
        static const char* const operators[] = {"=", "<>", "<", "<=", ">", ">="};
        for (const char* op : operators) {
            if (isSymbol(op)) {
                advance();
                value(field);
                return QStringLiteral("%1 %2 ?").arg(field.sql, QLatin1String(op));
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
        const QDate date(parts[0], parts[1], parts[2]);
        if (!date.isValid())
            throw FormulaError(QStringLiteral("Date(%1,%2,%3) is not a calendar date")
                                   .arg(parts[0])
                                   .arg(parts[1])
                                   .arg(parts[2]),
                               start);
        return date;
    }

    Lexer m_lexer;
    const FormulaFieldResolver& m_resolve;
    Token m_token;
    QList<SqlValue> m_values;
};

} // namespace

namespace SelectionFormula {

Result<SelectionCondition> parse(const QString& formula, const FormulaFieldResolver& resolve)
{
    if (formula.trimmed().isEmpty())
        return SelectionCondition{};
    try {
        return Parser(formula, resolve).parse();
    } catch (const FormulaError& e) {
        return Status::failed(
            QStringLiteral("Error in the record selection formula: %1 (at character %2).\n\n%3")
                .arg(QString::fromStdString(e.what()))
                .arg(e.position + 1)
                .arg(formula));
    }
}

} // namespace SelectionFormula
