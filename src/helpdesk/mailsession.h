#pragma once

#include "data/status.h"
#include "helpdesk/mailsettings.h"

#include <optional>

/**
 * The help desk window's way out for e-mail: signing on reads the mail settings, each send
 * hands one message to the SMTP server and waits, within the set timeout, for its answer.
 */
class MailSession {
public:
    /** Reads the settings; a failure is kept and reported by the next send. */
    void signOn();
    /** Forgets the settings, the password with them. */
    void signOff();
    bool isSignedOn() const { return m_settings.has_value(); }

    /**
     * Sends a plain-text message from the configured sender to `recipient`. Succeeds only once
     * the server has accepted the message; otherwise the status says why, in words. Settings
     * missing at sign-on are read again first, so that a corrected file needs no new window.
     */
    Status send(const QString& recipient, const QString& subject, const QString& body);

private:
    std::optional<MailSettings> m_settings;
    Status m_signOnStatus;
};
