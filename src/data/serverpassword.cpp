#include "data/serverpassword.h"

#include <QRegularExpression>
#include <QStringList>
#include <QUrl>
#include <algorithm>
#include <libpq-fe.h>
#include <memory>

namespace {

/** The parts of a URL's password that libpq read as something else: the password split at its
 *  unencoded / and @ (and :), as written and decoded; empty when the settings are no URL or
 *  its user part holds no such character. */
QStringList misreadParts(const QString& address)
{
    static const QRegularExpression scheme(QStringLiteral("^postgres(ql)?://"),
                                           QRegularExpression::CaseInsensitiveOption);
    const QString text = address.trimmed();
    const QRegularExpressionMatch url = scheme.match(text);
    if (!url.hasMatch())
        return {};
    // The user part ends at the last @ before the query; an unencoded / or @ before that one
    // makes libpq end it sooner.
    const QString beforeQuery = text.mid(url.capturedLength()).section(QLatin1Char('?'), 0, 0);
    const QString userPart =
        beforeQuery.left(std::max<qsizetype>(beforeQuery.lastIndexOf(QLatin1Char('@')), 0));
    const qsizetype colon = userPart.indexOf(QLatin1Char(':'));
    if (colon < 0 || (!userPart.contains(QLatin1Char('/')) && !userPart.contains(QLatin1Char('@'))))
        return {};
    static const QRegularExpression separators(QStringLiteral("[/@:]"));
    QStringList parts;
    for (const QString& part : userPart.mid(colon + 1).split(separators, Qt::SkipEmptyParts)) {
        parts << part;
        if (const QString decoded = QUrl::fromPercentEncoding(part.toUtf8()); decoded != part)
            parts << decoded;
    }
    return parts;
}

/** The password libpq reads from the settings; empty when they give none. */
QString passwordOf(const QString& address)
{
    std::unique_ptr<PQconninfoOption, decltype(&PQconninfoFree)> parsed(
        PQconninfoParse(address.toUtf8().constData(), nullptr), PQconninfoFree);
    if (!parsed)
        return {};
    for (const PQconninfoOption* option = parsed.get(); option->keyword; ++option)
        if (qstrcmp(option->keyword, "password") == 0 && option->val)
            return QString::fromUtf8(option->val);
    return {};
}

/** A value as a keyword string holds it: quoted, with its quotes and backslashes escaped. */
QString quoted(const char* value)
{
    QString text = QString::fromUtf8(value);
    text.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    text.replace(QLatin1Char('\''), QLatin1String("\\'"));
    return QLatin1Char('\'') + text + QLatin1Char('\'');
}

} // namespace

namespace ServerPassword {

Split split(const QString& address)
{
    std::unique_ptr<PQconninfoOption, decltype(&PQconninfoFree)> parsed(
        PQconninfoParse(address.toUtf8().constData(), nullptr), PQconninfoFree);
    if (!parsed)
        return {};
    Split split;
    QStringList options;
    for (const PQconninfoOption* option = parsed.get(); option->keyword; ++option) {
        if (!option->val || !*option->val)
            continue;
        if (qstrcmp(option->keyword, "password") == 0)
            split.password = QString::fromUtf8(option->val);
        else
            options << QString::fromUtf8(option->keyword) + QLatin1Char('=') + quoted(option->val);
    }
    split.settings = options.join(QLatin1Char(' '));
    return split;
}

QString hiddenIn(const QString& address, const QString& reason)
{
    for (const QString& part : misreadParts(address))
        if (reason.contains(part))
            return QStringLiteral(
                "the password in the server's URL holds a / or @, which a URL must give "
                "percent-encoded (%2F for /, %40 for @). Correct server= in the [database] "
                "section of quorvane.ini.");
    // libpq does not quote a password it read, but a setting it quotes back may still hold one.
    const QString password = passwordOf(address);
    if (password.isEmpty())
        return reason;
    static const QRegularExpression quotedPart(QStringLiteral("\"[^\"]*\""));
    QString told;
    qsizetype from = 0;
    for (const QRegularExpressionMatch& part : quotedPart.globalMatch(reason)) {
        told += reason.mid(from, part.capturedStart() - from);
        told += part.captured().contains(password) ? QStringLiteral("\"...\"") : part.captured();
        from = part.capturedEnd();
    }
    return told + reason.mid(from);
}

} // namespace ServerPassword
