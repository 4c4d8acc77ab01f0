#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <atomic>
#include <mutex>
#include <thread>

/**
 * An SMTP server on 127.0.0.1 and a free port for tests. It talks to one client at a time on a
 * thread of its own and keeps every command and every message it accepted.
 */
class SmtpTestServer {
public:
    enum class Mode {
        /** Takes every message. */
        Accept,
        /** Answers 550 to every RCPT TO. */
        RefuseRecipients,
        /** Takes connections and never says a word. */
        Silent,
    };

    /** A message as the server took it: its envelope and its data, dots unstuffed. */
    struct Message {
        QByteArray mailFrom;
        QList<QByteArray> recipients;
        QByteArray data;
    };

    explicit SmtpTestServer(Mode mode = Mode::Accept);
    ~SmtpTestServer();
    SmtpTestServer(const SmtpTestServer&) = delete;
    SmtpTestServer& operator=(const SmtpTestServer&) = delete;

    bool isListening() const { return m_listener >= 0; }
    quint16 port() const { return m_port; }
    QString url() const { return QStringLiteral("smtp://127.0.0.1:%1").arg(m_port); }

    QList<Message> messages() const;
    /** Every command line received, in order, without its CRLF. */
    QList<QByteArray> commands() const;
    /** The decoded credentials of AUTH PLAIN: "\0user\0password"; empty without sign-in. */
    QByteArray authentication() const;

    /** A port on 127.0.0.1 that nothing listens on. */
    static quint16 closedPort();

    /** From now on holds back the answer that settles a message (to RCPT TO when recipients
     *  are refused, to the end of the data otherwise) until release(), as a slow server does. */
    void stall() { m_stalled = true; }
    /** Gives the answer held back, and those that follow, at once again. */
    void release() { m_stalled = false; }
    /** Whether a client is waiting now for an answer held back. */
    bool isHolding() const { return m_holding; }

private:
    class Connection;
    void serve();
    void converse(int socket);
    /** Waits while the server is stalled. */
    void holdWhileStalled();

    Mode m_mode;
    int m_listener = -1;
    quint16 m_port = 0;
    std::atomic<bool> m_stopping = false;
    std::atomic<bool> m_stalled = false;
    std::atomic<bool> m_holding = false;
    mutable std::mutex m_mutex;
    QList<Message> m_messages;
    QList<QByteArray> m_commands;
    QByteArray m_authentication;
    std::thread m_thread;
};
