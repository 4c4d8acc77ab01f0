#pragma once

#include "data/status.h"

#include <QList>
#include <QString>
#include <cstdint>
#include <optional>

/** The support tickets logged for a customer, and the texts of one ticket. */
namespace HistoryStore {

struct TicketLine {
    std::int32_t ticketNum = 0;
    QString callStatus;
    QString probType;
    QString typeSpecific;
    QString tech;
};

struct TicketDetail {
    std::int32_t ticketNum = 0;
    QString tech;
    QString comments;
    QString quickDescription;
    QString problem;
    QString solution;
};

/** Every ticket of the customer, open or closed, by ticket number. */
Result<QList<TicketLine>> customerTickets(const QString& custId);

/** The ticket's technician, comments and problem texts; nothing when there is no such ticket.
 *  A ticket without problem texts has them empty. */
Result<std::optional<TicketDetail>> ticketDetail(std::int32_t ticketNum);

} // namespace HistoryStore
