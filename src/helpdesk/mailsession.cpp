#include "helpdesk/mailsession.h"

#include "helpdesk/mailmessage.h"

#include <QDateTime>
#include <algorithm>
#include <cstring>
#include <curl/curl.h>
#include <memory>

namespace {

constexpr long ConnectTimeoutSeconds = 15;

/** The message bytes that curl reads as the upload. */
struct Upload {
    QByteArray bytes;
    qsizetype offset = 0;
};

size_t readUpload(char* buffer, size_t size, size_t count, void* data)
{
    auto* upload = static_cast<Upload*>(data);
    const size_t length =
        std::min(size * count, static_cast<size_t>(upload->bytes.size() - upload->offset));
    std::memcpy(buffer, upload->bytes.constData() + upload->offset, length);
    upload->offset += static_cast<qsizetype>(length);
    return length;
}

/** Keeps the server's last refusal (a 4xx or 5xx reply): it explains a failure better than
 *  curl's summary, and the goodbye that follows it must not hide it. */
int keepRefusal(CURL*, curl_infotype type, char* text, size_t size, void* data)
{
    const QByteArray reply = QByteArray(text, static_cast<qsizetype>(size)).trimmed();
    if (type == CURLINFO_HEADER_IN && (reply.startsWith('4') || reply.startsWith('5')))
        *static_cast<QByteArray*>(data) = reply;
    return 0;
}

bool curlReady()
{
    static const bool ready = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
    return ready;
}

struct CurlDeleter {
    void operator()(CURL* curl) const { curl_easy_cleanup(curl); }
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};

QByteArray angled(const QString& address)
{
    return '<' + address.toLatin1() + '>';
}

Status transfer(const MailSettings& settings, const QString& recipient, Upload& upload)
{
    const std::unique_ptr<CURL, CurlDeleter> curl(curlReady() ? curl_easy_init() : nullptr);
    if (!curl)
        return Status::failed(QStringLiteral("The mail library could not be started."));
    const std::unique_ptr<curl_slist, CurlDeleter> recipients(
        curl_slist_append(nullptr, angled(recipient).constData()));
    const QByteArray url = settings.server.toUtf8();
    const QByteArray from = angled(settings.sender);
    const QByteArray user = settings.userName.toUtf8();
    const QByteArray password = settings.password.toUtf8();
    char error[CURL_ERROR_SIZE] = {};
    QByteArray refusal;

    CURL* c = curl.get();
    curl_easy_setopt(c, CURLOPT_URL, url.constData());
    curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "smtp,smtps");
    curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT,
                     std::min<long>(ConnectTimeoutSeconds, settings.timeoutSeconds));
    curl_easy_setopt(c, CURLOPT_TIMEOUT, static_cast<long>(settings.timeoutSeconds));
    curl_easy_setopt(c, CURLOPT_USE_SSL,
                     static_cast<long>(settings.startTls ? CURLUSESSL_ALL : CURLUSESSL_NONE));
    if (!user.isEmpty()) {
        curl_easy_setopt(c, CURLOPT_USERNAME, user.constData());
        curl_easy_setopt(c, CURLOPT_PASSWORD, password.constData());
    }
    curl_easy_setopt(c, CURLOPT_MAIL_FROM, from.constData());
    curl_easy_setopt(c, CURLOPT_MAIL_RCPT, recipients.get());
    curl_easy_setopt(c, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(c, CURLOPT_READFUNCTION, readUpload);
    curl_easy_setopt(c, CURLOPT_READDATA, &upload);
    curl_easy_setopt(c, CURLOPT_INFILESIZE_LARGE, static_cast<curl_off_t>(upload.bytes.size()));
    curl_easy_setopt(c, CURLOPT_ERRORBUFFER, error);
    curl_easy_setopt(c, CURLOPT_DEBUGFUNCTION, keepRefusal);
    curl_easy_setopt(c, CURLOPT_DEBUGDATA, &refusal);
    curl_easy_setopt(c, CURLOPT_VERBOSE, 1L);

    const CURLcode code = curl_easy_perform(c);
    if (code == CURLE_OK)
        return Status::ok();
    QString reason = QString::fromUtf8(*error ? error : curl_easy_strerror(code));
    if (!refusal.isEmpty())
        reason += QStringLiteral("\nThe mail server answered: ") + QString::fromUtf8(refusal);
    return Status::failed(reason);
}

} // namespace

void MailSession::signOn()
{
    const Result<MailSettings> settings = MailSettings::read();
    if (settings) {
        m_settings = *settings;
        m_signOnStatus = Status::ok();
    } else {
        m_settings.reset();
        m_signOnStatus = settings.status();
    }
}

void MailSession::signOff()
{
    m_settings.reset();
    m_signOnStatus = Status::ok();
}

Status MailSession::send(const QString& recipient, const QString& subject, const QString& body)
{
    if (!m_settings)
        signOn();
    if (!m_settings)
        return m_signOnStatus;
    if (!MailFormat::isAddress(recipient))
        return Status::failed(QStringLiteral("%1 is not an e-mail address.").arg(recipient));

    const MailMessage message{m_settings->sender, recipient, subject, body};
    Upload upload{MailFormat::compose(message, QDateTime::currentDateTime(),
                                      MailFormat::newMessageId(m_settings->sender))};
    return transfer(*m_settings, recipient, upload);
}
