#pragma once

#include "data/status.h"
#include "tickets/technicians.h"

#include <QList>
#include <QString>
#include <optional>

/** Handing open tickets to another technician and changing their priority. */
namespace AssignmentStore {

struct OpenTicket {
    int number = 0;
    QString custId;
    QString priority;
};

/** What the reassignment window offers: the open tickets by number and the active employees. */
struct Choices {
    QList<OpenTicket> tickets;
    QList<Technicians::Technician> employees;
};

/** The whole fill of the reassignment window. */
Result<Choices> load();

/** Whether the ticket exists. */
Result<bool> ticketExists(int ticketNum);
/** The ticket's priority; nothing when there is no such ticket. */
Result<std::optional<QString>> priorityOf(int ticketNum);

/** Gives the ticket to the employee; NotFound when there is no such ticket. */
Status reassign(int ticketNum, const QString& empId);
/** Sets the ticket's priority; NotFound when there is no such ticket. */
Status changePriority(int ticketNum, const QString& priority);

} // namespace AssignmentStore
