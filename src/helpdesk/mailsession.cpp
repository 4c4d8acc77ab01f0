#include "helpdesk/mailsession.h"

#include "helpdesk/mailmessage.h"

#include <QDateTime>
#include <QThread>
#include <algorithm>
#include <atomic>
#include <cstring>
#include <curl/curl.h>
#include <mutex>

#ifndef Q_OS_WIN
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace {

constexpr long ConnectTimeoutSeconds = 15;

} // namespace

/** One message on its way, shared by the window's thread and the one that sends it. */
struct MailSession::Transfer {
    MailSettings settings;
    QString recipient;
    /** The message bytes that curl reads as the upload, and how many it has read. */
    QByteArray bytes;
    qsizetype offset = 0;
    /** Set by the window's thread to end the transfer early. */
    std::atomic<bool> stopping = false;
    /** Written by the sending thread before it ends. */
    Status outcome;

    /** The connection to the server while it is open, guarded by `socketLock`. */
    curl_socket_t socket = CURL_SOCKET_BAD;
    std::mutex socketLock;

    /**
     * Ends the transfer from the window's thread. Asking curl through its progress callback is
     * not enough: a transfer stopped that way still says goodbye to the server and waits for its
     * answer, so the connection is cut as well.
     */
    void stop()
    {
        stopping = true;
        const std::lock_guard lock(socketLock);
        if (socket == CURL_SOCKET_BAD)
            return;
#ifdef Q_OS_WIN
        ::shutdown(socket, SD_BOTH);
#else
        ::shutdown(socket, SHUT_RDWR);
#endif
    }
};

namespace {

using Transfer = MailSession::Transfer;

size_t readUpload(char* buffer, size_t size, size_t count, void* data)
{
    auto* transfer = static_cast<Transfer*>(data);
    const size_t length =
        std::min(size * count, static_cast<size_t>(transfer->bytes.size() - transfer->offset));
    std::memcpy(buffer, transfer->bytes.constData() + transfer->offset, length);
    transfer->offset += static_cast<qsizetype>(length);
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

/** Called by curl while it waits and transfers: a nonzero answer ends the transfer. */
int stopWhenAsked(void* data, curl_off_t, curl_off_t, curl_off_t, curl_off_t)
{
    return static_cast<const Transfer*>(data)->stopping ? 1 : 0;
}

/** Opens the connection for curl and remembers it, so that stop() can cut it. */
curl_socket_t openSocket(void* data, curlsocktype, curl_sockaddr* address)
{
    auto* transfer = static_cast<Transfer*>(data);
    const std::lock_guard lock(transfer->socketLock);
    if (transfer->stopping)
        return CURL_SOCKET_BAD;
    transfer->socket = ::socket(address->family, address->socktype, address->protocol);
    return transfer->socket;
}

int closeSocket(void* data, curl_socket_t socket)
{
    auto* transfer = static_cast<Transfer*>(data);
    const std::lock_guard lock(transfer->socketLock);
    if (socket == transfer->socket)
        transfer->socket = CURL_SOCKET_BAD;
#ifdef Q_OS_WIN
    return ::closesocket(socket);
#else
    return ::close(socket);
#endif
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

/** Hands the message to the server; runs on the sending thread. */
Status perform(Transfer& transfer)
{
    const MailSettings& settings = transfer.settings;
    const std::unique_ptr<CURL, CurlDeleter> curl(curl_easy_init());
    if (!curl)
        return Status::failed(QStringLiteral("The mail library could not be started."));
    const std::unique_ptr<curl_slist, CurlDeleter> recipients(
        curl_slist_append(nullptr, angled(transfer.recipient).constData()));
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
    curl_easy_setopt(c, CURLOPT_READDATA, &transfer);
    curl_easy_setopt(c, CURLOPT_INFILESIZE_LARGE, static_cast<curl_off_t>(transfer.bytes.size()));
    curl_easy_setopt(c, CURLOPT_ERRORBUFFER, error);
    curl_easy_setopt(c, CURLOPT_DEBUGFUNCTION, keepRefusal);
    curl_easy_setopt(c, CURLOPT_DEBUGDATA, &refusal);
    curl_easy_setopt(c, CURLOPT_VERBOSE, 1L);
    curl_easy_setopt(c, CURLOPT_XFERINFOFUNCTION, stopWhenAsked);
    curl_easy_setopt(c, CURLOPT_XFERINFODATA, &transfer);
    curl_easy_setopt(c, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(c, CURLOPT_OPENSOCKETFUNCTION, openSocket);
    curl_easy_setopt(c, CURLOPT_OPENSOCKETDATA, &transfer);
    curl_easy_setopt(c, CURLOPT_CLOSESOCKETFUNCTION, closeSocket);
    curl_easy_setopt(c, CURLOPT_CLOSESOCKETDATA, &transfer);

    const CURLcode code = curl_easy_perform(c);
    if (code == CURLE_OK)
        return Status::ok();
    if (code == CURLE_ABORTED_BY_CALLBACK)
        return Status::failed(QStringLiteral("The send was stopped."));
    QString reason = QString::fromUtf8(*error ? error : curl_easy_strerror(code));
    if (!refusal.isEmpty())
        reason += QStringLiteral("\nThe mail server answered: ") + QString::fromUtf8(refusal);
    return Status::failed(reason);
}

} // namespace

MailSession::MailSession(QObject* parent) : QObject(parent) {}

MailSession::~MailSession()
{
    stop();
}

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

Status MailSession::startSend(const QString& recipient, const QString& subject, const QString& body)
{
    if (m_thread)
        return Status::failed(QStringLiteral("Another message is still being sent."));
    if (!m_settings)
        signOn();
    if (!m_settings)
        return m_signOnStatus;
    if (!MailFormat::isAddress(recipient))
        return Status::failed(QStringLiteral("%1 is not an e-mail address.").arg(recipient));
    // The library is set up here, on the window's thread, once for the process.
    if (!curlReady())
        return Status::failed(QStringLiteral("The mail library could not be started."));

    auto transfer = std::make_shared<Transfer>();
    transfer->settings = *m_settings;
    transfer->recipient = recipient;
    transfer->bytes = MailFormat::compose({m_settings->sender, recipient, subject, body},
                                          QDateTime::currentDateTime(),
                                          MailFormat::newMessageId(m_settings->sender));
    m_transfer = transfer;
    m_thread = QThread::create([transfer] { transfer->outcome = perform(*transfer); });
    // The end of a send that stop() already dealt with is no news.
    connect(m_thread, &QThread::finished, this, [this, send = ++m_sends] {
        if (send == m_sends && m_thread)
            transferEnded();
    });
    m_thread->start();
    return Status::ok();
}

void MailSession::transferEnded()
{
    m_thread->wait();
    delete m_thread;
    m_thread = nullptr;
    const Status outcome = m_transfer->outcome;
    m_transfer.reset();
    Q_EMIT sent(outcome);
}

bool MailSession::stop()
{
    if (!m_thread)
        return false;
    m_transfer->stop();
    m_thread->wait();
    delete m_thread;
    m_thread = nullptr;
    ++m_sends;
    const bool accepted = m_transfer->outcome.isOk();
    m_transfer.reset();
    return accepted;
}
