#pragma once

#include "data/status.h"
#include "helpdesk/mailsettings.h"

#include <QObject>
#include <memory>
#include <optional>

class QThread;

/**
 * The help desk window's way out for e-mail: signing on reads the mail settings, and each send
 * hands one message to the SMTP server on a thread of its own, so that the window goes on
 * working while the server takes its time (up to the set timeout).
 */
class MailSession : public QObject {
    Q_OBJECT

public:
    explicit MailSession(QObject* parent = nullptr);
    /** Stops a send that is still running; see stop(). */
    ~MailSession() override;

    /** Reads the settings; a failure is kept and reported by the next send. */
    void signOn();
    /** Forgets the settings, the password with them. A send already running goes on. */
    void signOff();
    bool isSignedOn() const { return m_settings.has_value(); }

    /**
     * Starts sending a plain-text message from the configured sender to `recipient`; sent()
     * follows once the transfer has ended. Settings missing at sign-on are read again first, so
     * that a corrected file needs no new window. A message that cannot be sent at all (no usable
     * settings, no plain address, another send still running) is refused here, with the reason,
     * and no sent() follows.
     */
    Status startSend(const QString& recipient, const QString& subject, const QString& body);
    bool isSending() const { return m_thread != nullptr; }

    /**
     * Stops a send that is running and waits the moment its transfer takes to notice, and gives
     * back whether the server had taken the message before it stopped; false when no send was
     * running. No sent() follows.
     */
    bool stop();

    /** One message on its way, between the window's thread and the one that sends it. */
    struct Transfer;

Q_SIGNALS:
    /** The send ended: ok only once the server has accepted the message, else why not. */
    void sent(const Status& outcome);

private:
    void transferEnded();

    std::optional<MailSettings> m_settings;
    Status m_signOnStatus;
    std::shared_ptr<Transfer> m_transfer;
    QThread* m_thread = nullptr;
    /** Counts the sends begun and stopped, so that a late word of a stopped one is ignored. */
    unsigned m_sends = 0;
};
