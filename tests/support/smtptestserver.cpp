#include "support/smtptestserver.h"

#include <arpa/inet.h>
#include <chrono>
#include <netinet/in.h>
#include <optional>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr int PollMilliseconds = 50;

/** Binds a socket to 127.0.0.1 and a port the system picks; -1 on failure. */
int boundSocket(quint16& port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    if (fd < 0)
        return -1;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        ::close(fd);
        return -1;
    }
    port = ntohs(address.sin_port);
    return fd;
}

} // namespace

/** Line-wise reading and writing on one client's socket, giving up when the server stops. */
class SmtpTestServer::Connection {
public:
    Connection(int socket, const std::atomic<bool>& stopping)
        : m_socket(socket), m_stopping(stopping)
    {
    }
    ~Connection() { ::close(m_socket); }

    void write(const QByteArray& reply)
    {
        const QByteArray line = reply + "\r\n";
        qsizetype sent = 0;
        while (sent < line.size()) {
            const ssize_t n =
                ::send(m_socket, line.constData() + sent, line.size() - sent, MSG_NOSIGNAL);
            if (n <= 0)
                return;
            sent += n;
        }
    }

    /** The next line without its CRLF; nothing once the client has gone. */
    std::optional<QByteArray> readLine()
    {
        while (!m_buffer.contains("\r\n")) {
            if (m_stopping)
                return std::nullopt;
            pollfd wait{m_socket, POLLIN, 0};
            if (::poll(&wait, 1, PollMilliseconds) <= 0)
                continue;
            char chunk[4096];
            const ssize_t n = ::recv(m_socket, chunk, sizeof chunk, 0);
            if (n <= 0)
                return std::nullopt;
            m_buffer.append(chunk, n);
        }
        const qsizetype end = m_buffer.indexOf("\r\n");
        const QByteArray line = m_buffer.left(end);
        m_buffer.remove(0, end + 2);
        return line;
    }

private:
    int m_socket;
    const std::atomic<bool>& m_stopping;
    QByteArray m_buffer;
};

SmtpTestServer::SmtpTestServer(Mode mode) : m_mode(mode)
{
    m_listener = boundSocket(m_port);
    if (m_listener >= 0 && ::listen(m_listener, 4) != 0) {
        ::close(m_listener);
        m_listener = -1;
    }
    if (m_listener >= 0)
        m_thread = std::thread(&SmtpTestServer::serve, this);
}

SmtpTestServer::~SmtpTestServer()
{
    m_stopping = true;
    if (m_thread.joinable())
        m_thread.join();
    if (m_listener >= 0)
        ::close(m_listener);
}

quint16 SmtpTestServer::closedPort()
{
    quint16 port = 0;
    const int fd = boundSocket(port);
    if (fd >= 0)
        ::close(fd);
    return port;
}

QList<SmtpTestServer::Message> SmtpTestServer::messages() const
{
    const std::lock_guard lock(m_mutex);
    return m_messages;
}

QList<QByteArray> SmtpTestServer::commands() const
{
    const std::lock_guard lock(m_mutex);
    return m_commands;
}

QByteArray SmtpTestServer::authentication() const
{
    const std::lock_guard lock(m_mutex);
    return m_authentication;
}

void SmtpTestServer::serve()
{
    while (!m_stopping) {
        pollfd wait{m_listener, POLLIN, 0};
        if (::poll(&wait, 1, PollMilliseconds) <= 0)
            continue;
        const int client = ::accept(m_listener, nullptr, nullptr);
        if (client >= 0)
            converse(client);
    }
}

void SmtpTestServer::holdWhileStalled()
{
    m_holding = m_stalled.load();
    while (m_stalled && !m_stopping)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    m_holding = false;
}

void SmtpTestServer::converse(int socket)
{
    Connection client(socket, m_stopping);
    if (m_mode == Mode::Silent) {
        while (client.readLine()) {
        }
        return;
    }
    client.write("220 127.0.0.1 ESMTP test server");
    Message message;
    while (const std::optional<QByteArray> line = client.readLine()) {
        {
            const std::lock_guard lock(m_mutex);
            m_commands << *line;
        }
        const QList<QByteArray> words = line->split(' ');
        const QByteArray verb = words.first().toUpper();
        if (verb == "EHLO") {
            client.write("250-127.0.0.1\r\n250 AUTH PLAIN");
        } else if (verb == "AUTH") {
            QByteArray response = words.value(2);
            if (response.isEmpty()) {
                client.write("334 ");
                response = client.readLine().value_or(QByteArray());
            }
            const std::lock_guard lock(m_mutex);
            m_authentication = QByteArray::fromBase64(response);
            client.write("235 2.7.0 Authentication successful");
        } else if (line->toUpper().startsWith("MAIL FROM:")) {
            message = Message{line->mid(10).trimmed(), {}, {}};
            client.write("250 2.1.0 Ok");
        } else if (line->toUpper().startsWith("RCPT TO:")) {
            if (m_mode == Mode::RefuseRecipients) {
                holdWhileStalled();
                client.write("550 5.1.1 " + line->mid(8).trimmed() +
                             ": Recipient address rejected: User unknown");
            } else {
                message.recipients << line->mid(8).trimmed();
                client.write("250 2.1.5 Ok");
            }
        } else if (verb == "DATA") {
            client.write("354 End data with <CR><LF>.<CR><LF>");
            while (const std::optional<QByteArray> data = client.readLine()) {
                if (*data == ".")
                    break;
                message.data += (data->startsWith('.') ? data->mid(1) : *data) + "\r\n";
            }
            {
                const std::lock_guard lock(m_mutex);
                m_messages << message;
            }
            holdWhileStalled();
            client.write("250 2.0.0 Ok: queued");
        } else if (verb == "QUIT") {
            client.write("221 2.0.0 Bye");
            return;
        } else if (verb == "RSET" || verb == "NOOP") {
            client.write("250 2.0.0 Ok");
        } else {
            client.write("502 5.5.2 Error: command not recognized");
        }
    }
}
