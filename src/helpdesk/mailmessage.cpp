#include "helpdesk/mailmessage.h"

#include <QUuid>

namespace {

constexpr int LineLimit = 78;
// An encoded word may be 75 characters, of which "=?UTF-8?B?" and "?=" take 12.
constexpr qsizetype EncodedWordLimit = 75;
constexpr qsizetype WordFrame = 12;
const QByteArray Crlf = QByteArrayLiteral("\r\n");

bool isPlainHeaderText(const QString& text)
{
    for (const QChar c : text) {
        if (c.unicode() < 0x20 || c.unicode() > 0x7e)
            return false;
    }
    return !text.contains(QLatin1String("=?"));
}

/** UTF-8 cut before `limit` bytes without splitting a character. */
qsizetype utf8Cut(const QByteArray& bytes, qsizetype from, qsizetype limit)
{
    qsizetype end = std::min(from + limit, bytes.size());
    while (end < bytes.size() && end > from && (static_cast<uchar>(bytes[end]) & 0xc0) == 0x80)
        --end;
    return end;
}

/** The Subject line, folded as RFC 2047 words when the text is not short plain ASCII. */
QByteArray subjectHeader(const QString& text)
{
    QByteArray line = "Subject: ";
    if (isPlainHeaderText(text) && line.size() + text.size() <= LineLimit)
        return line + text.toLatin1() + Crlf;
    const QByteArray utf8 = text.toUtf8();
    qsizetype from = 0;
    qsizetype lineStart = 0;
    do {
        if (from > 0) {
            line += Crlf + ' ';
            lineStart = line.size() - 1;
        }
        // Base64 turns each 3 bytes into 4 characters.
        const qsizetype room = std::min(EncodedWordLimit, LineLimit - (line.size() - lineStart));
        const qsizetype end = utf8Cut(utf8, from, (room - WordFrame) / 4 * 3);
        line += "=?UTF-8?B?" + utf8.mid(from, end - from).toBase64() + "?=";
        from = end;
    } while (from < utf8.size());
    return line + Crlf;
}

bool isLiteral(uchar c)
{
    return c >= 33 && c <= 126 && c != '=';
}

/** One line of text as quoted-printable, with soft breaks keeping each part within 76. */
QByteArray quotedPrintableLine(const QByteArray& line)
{
    QByteArray encoded;
    qsizetype width = 0;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const uchar c = static_cast<uchar>(line[i]);
        const bool last = i + 1 == line.size();
        // Spaces survive only inside a line; a leading dot or "From " may be altered in
        // transit, so they are written encoded as well.
        const bool guarded = i == 0 && (c == '.' || line.startsWith("From "));
        const bool literal = (isLiteral(c) && !guarded) || ((c == ' ' || c == '\t') && !last);
        const QByteArray piece =
            literal ? QByteArray(1, static_cast<char>(c))
                    : "=" + QByteArray::number(c, 16).toUpper().rightJustified(2, '0');
        if (width + piece.size() > (last ? 76 : 75)) {
            encoded += "=" + Crlf;
            width = 0;
        }
        encoded += piece;
        width += piece.size();
    }
    return encoded;
}

QByteArray quotedPrintable(const QString& text)
{
    QString unified = text;
    unified.replace(QLatin1String("\r\n"), QLatin1String("\n"))
        .replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QByteArray body;
    for (const QString& line : unified.split(QLatin1Char('\n')))
        body += quotedPrintableLine(line.toUtf8()) + Crlf;
    return body;
}

} // namespace

namespace MailFormat {

bool isAddress(const QString& text)
{
    const qsizetype at = text.indexOf(QLatin1Char('@'));
    if (at <= 0 || at != text.lastIndexOf(QLatin1Char('@')) || text.size() > 254)
        return false;
    const QString domain = text.mid(at + 1);
    if (domain.isEmpty() || domain.startsWith(QLatin1Char('.')) ||
        domain.endsWith(QLatin1Char('.')) || domain.contains(QLatin1String("..")))
        return false;
    for (const QChar c : text) {
        if (c.unicode() <= 0x20 || c.unicode() >= 0x7f ||
            QStringLiteral("<>()[]\\,;:\"").contains(c))
            return false;
    }
    return true;
}

QByteArray compose(const MailMessage& message, const QDateTime& date, const QString& messageId)
{
    return QByteArray("Date: ") + date.toString(Qt::RFC2822Date).toLatin1() + Crlf +
           "Message-ID: " + messageId.toLatin1() + Crlf + "From: " + message.from.toLatin1() +
           Crlf + "To: " + message.to.toLatin1() + Crlf + subjectHeader(message.subject) +
           "MIME-Version: 1.0" + Crlf + "Content-Type: text/plain; charset=UTF-8" + Crlf +
           "Content-Transfer-Encoding: quoted-printable" + Crlf + Crlf +
           quotedPrintable(message.body);
}

QString newMessageId(const QString& sender)
{
    QString domain = sender.section(QLatin1Char('@'), 1);
    if (domain.isEmpty())
        domain = QStringLiteral("quorvane.invalid");
    return QLatin1Char('<') + QUuid::createUuid().toString(QUuid::WithoutBraces) +
           QLatin1Char('@') + domain + QLatin1Char('>');
}

} // namespace MailFormat
