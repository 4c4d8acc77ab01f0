#pragma once

#include "helpdesk/helpdeskstate.h"

#include <QWidget>

class AddKbPage;
class LogCallPage;
class OpenTicketsPage;
class QTabWidget;
class SearchKbPage;

/**
 * The technician's workspace: calls are logged, open tickets worked with their repair and
 * invoice, and the knowledge base searched and extended, each on its own page.
 */
class HelpDesk : public QWidget {
    Q_OBJECT

public:
    explicit HelpDesk(QWidget* parent = nullptr);

    const HelpDeskState& state() const { return m_state; }
    LogCallPage* logCallPage() const { return m_logCall; }
    OpenTicketsPage* openTicketsPage() const { return m_openTickets; }
    SearchKbPage* searchKbPage() const { return m_searchKb; }
    AddKbPage* addKbPage() const { return m_addKb; }

    QTabWidget* SSTab1;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void load();
    /** Opens the mail session that e-mailed solutions go out through. */
    void signOnToMail();
    /** Closes the mail session again. */
    void signOffFromMail();

    HelpDeskState m_state;
    LogCallPage* m_logCall;
    OpenTicketsPage* m_openTickets;
    SearchKbPage* m_searchKb;
    AddKbPage* m_addKb;
};
