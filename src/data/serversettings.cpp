#include "data/serversettings.h"

#include "data/postgresconnection.h"
#include "data/programfolder.h"

#include <QDateTime>
#include <QFileInfo>
#include <QSettings>
#include <libpq-fe.h>
#include <map>
#include <memory>

namespace {

/** The settings read from one file as it was at one moment. */
struct ReadSettings {
    QString file;
    QDateTime modified;
    qint64 size = 0;
    QString address;
    int answerLimitMs = PostgresConnection::DefaultAnswerLimitMs;
};

/** The [database] settings as the program folder's quorvane.ini has them now; read again only
 *  when the file changes. */
const ReadSettings& current()
{
    static ReadSettings last;
    const QString file = ProgramFolder::filePath(QStringLiteral("quorvane.ini"));
    const QFileInfo info(file);
    const QDateTime modified = info.exists() ? info.lastModified() : QDateTime();
    const qint64 size = info.exists() ? info.size() : 0;
    if (file == last.file && modified == last.modified && size == last.size)
        return last;
    last = {file, modified, size, QString(), PostgresConnection::DefaultAnswerLimitMs};
    if (!info.exists())
        return last;
    const QSettings settings(file, QSettings::IniFormat);
    // A URL naming several hosts holds commas, which the ini format reads as a list.
    last.address = settings.value(QStringLiteral("database/server"))
                       .toStringList()
                       .join(QLatin1Char(','))
                       .trimmed();
    bool isNumber = false;
    const double seconds =
        settings.value(QStringLiteral("database/timeout")).toString().toDouble(&isNumber);
    if (isNumber && seconds > 0 && seconds < 86400)
        last.answerLimitMs = static_cast<int>(seconds * 1000);
    return last;
}

using Options = std::map<QString, QString>;

/** The connection options libpq reads from the settings, passwords included. */
Options optionsOf(const QString& address)
{
    Options options;
    char* error = nullptr;
    std::unique_ptr<PQconninfoOption, decltype(&PQconninfoFree)> parsed(
        PQconninfoParse(address.toUtf8().constData(), &error), PQconninfoFree);
    PQfreemem(error);
    if (!parsed)
        return options;
    for (const PQconninfoOption* option = parsed.get(); option->keyword; ++option)
        if (option->val && *option->val)
            options[QString::fromUtf8(option->keyword)] = QString::fromUtf8(option->val);
    return options;
}

QString option(const Options& options, const char* key, const QString& fallback = {})
{
    const auto found = options.find(QString::fromLatin1(key));
    return found == options.end() ? fallback : found->second;
}

} // namespace

namespace ServerSettings {

QString address()
{
    return current().address;
}

int answerLimitMs()
{
    return current().answerLimitMs;
}

QString describe(const QString& address)
{
    const QString reported = PostgresConnection::reportedName(address);
    return reported.isEmpty() ? QStringLiteral("PostgreSQL (not connected)") : reported;
}

bool isPlainRemote(const QString& address)
{
    const Options options = optionsOf(address);
    const QString host = option(options, "host", QStringLiteral("localhost"));
    const QString mode = option(options, "sslmode", QStringLiteral("prefer"));
    const bool local = host.startsWith(QLatin1Char('/')) || host == QLatin1String("localhost") ||
                       host == QLatin1String("127.0.0.1") || host == QLatin1String("::1");
    return !local && mode != QLatin1String("require") && mode != QLatin1String("verify-ca") &&
           mode != QLatin1String("verify-full");
}

} // namespace ServerSettings
