#include "helpdesk/mailsettings.h"

#include "data/programfolder.h"
#include "helpdesk/mailmessage.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QUrl>

namespace {

/** One key's text. The ini format reads an unquoted comma as a list separator, which would
 *  quietly cut a password, so such a value is refused with the cure. */
Result<QString> text(const QSettings& file, const char* key)
{
    const QVariant value = file.value(QStringLiteral("mail/") + QLatin1String(key));
    if (value.typeId() == QMetaType::QStringList)
        return Status::failed(QStringLiteral("the value of %1 in the [mail] section holds a comma: "
                                             "put the value in double quotes.")
                                  .arg(QLatin1String(key)));
    // A password may begin or end with blanks when it is quoted.
    return key == QLatin1String("password") ? value.toString() : value.toString().trimmed();
}

Status problem(const QString& path, const QString& what)
{
    return Status::failed(QStringLiteral("The mail settings in %1 cannot be used: %2")
                              .arg(QDir::toNativeSeparators(path), what));
}

} // namespace

Result<MailSettings> MailSettings::read()
{
    return readFile(ProgramFolder::filePath(QString::fromLatin1(FileName)));
}

Result<MailSettings> MailSettings::readFile(const QString& path)
{
    if (!QFileInfo(path).isFile())
        return Status::failed(QStringLiteral("No mail settings: %1 does not exist.")
                                  .arg(QDir::toNativeSeparators(path)));
    const QSettings file(path, QSettings::IniFormat);
    if (file.status() != QSettings::NoError)
        return Status::failed(
            QStringLiteral("%1 could not be read.").arg(QDir::toNativeSeparators(path)));

    MailSettings settings;
    for (auto [key, target] : {std::pair{"server", &settings.server},
                               {"sender", &settings.sender},
                               {"user", &settings.userName},
                               {"password", &settings.password}}) {
        const Result<QString> value = text(file, key);
        if (!value)
            return problem(path, value.status().message());
        *target = *value;
    }

    const QUrl url(settings.server, QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    if (settings.server.isEmpty())
        return problem(path, QStringLiteral("server is not set (for example "
                                            "server=smtp://mail.example.com:587)."));
    if ((scheme != QLatin1String("smtp") && scheme != QLatin1String("smtps")) ||
        url.host().isEmpty())
        return problem(path, QStringLiteral("server must be smtp://host:port or "
                                            "smtps://host:port, not %1.")
                                 .arg(settings.server));
    if (settings.sender.isEmpty())
        return problem(path, QStringLiteral("sender is not set."));
    if (!MailFormat::isAddress(settings.sender))
        return problem(path,
                       QStringLiteral("sender %1 is not an e-mail address.").arg(settings.sender));

    const QString startTls = file.value(QStringLiteral("mail/starttls"), QStringLiteral("on"))
                                 .toString()
                                 .trimmed()
                                 .toLower();
    if (QStringList{"on", "true", "yes", "1"}.contains(startTls))
        settings.startTls = true;
    else if (QStringList{"off", "false", "no", "0"}.contains(startTls))
        settings.startTls = false;
    else
        return problem(path, QStringLiteral("starttls must be on or off."));

    bool isNumber = false;
    settings.timeoutSeconds =
        file.value(QStringLiteral("mail/timeout"), DefaultTimeoutSeconds).toInt(&isNumber);
    if (!isNumber || settings.timeoutSeconds < 1 || settings.timeoutSeconds > 600)
        return problem(path, QStringLiteral("timeout must be a number of seconds from 1 to 600."));
    return settings;
}
