#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

/** A plain-text e-mail between two addresses. */
struct MailMessage {
    QString from;
    QString to;
    QString subject;
    QString body;
};

/** The internet message format: addresses and the bytes that travel to the mail server. */
namespace MailFormat {

/**
 * Whether `text` is a plain address (local@domain, printable ASCII, no spaces, quotes or
 * brackets): the only kind handed to the server, so that no typed text can reach the SMTP
 * conversation as a command.
 */
bool isAddress(const QString& text);

/**
 * The message as sent: headers (Date, Message-ID, From, To, Subject in RFC 2047 words where
 * plain ASCII will not do, MIME version and type), a blank line and the body as UTF-8 in
 * quoted-printable; every line ends with CRLF and only an address line may pass 78 characters.
 */
QByteArray compose(const MailMessage& message, const QDateTime& date, const QString& messageId);

/** A new, world-unique Message-ID for a message from `sender`, angle brackets included. */
QString newMessageId(const QString& sender);

} // namespace MailFormat
