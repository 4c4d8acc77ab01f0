#pragma once

#include "data/database.h"
#include "data/rowsnapshot.h"

#include <QDate>
#include <QStringList>
#include <cstdint>
#include <optional>

/** A call as the technician logs it. */
struct NewCall {
    QString customerId;
    QString priority;
    QString status;
    QString problemType;
    QString typeSpecific;
    QString comments;
    QString technician;
    QDate openDate;
    QString quickDescription;
    QString problem;
    QString solution;
    bool knowledgeBase = false;
};

/** The work order of a ticket, as the repair frame shows it. */
struct TicketWorkOrder {
    std::int32_t workNumber = 0;
    std::int32_t rmaNumber = 0;
    QString repairTech;
    QString notes;
    bool workOrder = false;
    bool invoiced = false;
};

/** A chosen ticket with its customer, texts and work order. */
struct TicketDetail {
    QString customerId;
    /** Name, street and city lines; empty when the customer no longer exists. */
    QStringList customerLines;
    QString comments;
    QString quickDescription;
    QString problem;
    QString solution;
    std::optional<TicketWorkOrder> workOrder;
    /** The call as loaded, for an update to find out whether it changed since. */
    RowSnapshot loaded;
};

/** A technician's changes to a ticket. */
struct CallUpdate {
    std::int32_t ticket = 0;
    QString status;
    /** Written only when the call is closed. */
    std::optional<QDate> closeDate;
    QString comments;
    QString quickDescription;
    QString problem;
    QString solution;
    bool knowledgeBase = false;
    /** The call as the page loaded it; the update is refused (Changed) when it differs now. */
    RowSnapshot loaded;
};

/** The calls: logging, the technician's open tickets, one ticket's detail and its update. Each
 *  works on a scope of the program's database of its own. */
namespace TicketStore {

/**
 * Saves the call and its problem/solution row and commits the ticket counter, all or nothing.
 * The call gets `shownNumber`, or the counter's next number when it has moved past it since;
 * the number used is returned.
 */
Result<std::int32_t> logCall(const NewCall& call, std::int32_t shownNumber);

/** The technician's open calls as "TicketNum\tCustID\tCustName\tPriority", High first. */
Result<QStringList> openTicketLines(const QString& technician);

/** The call with its customer, its problem/solution row and its first work order. */
Result<TicketDetail> ticketDetail(std::int32_t ticket);

/** Stores the call's status, comments and texts in one transaction. */
Status updateCall(const CallUpdate& update);

} // namespace TicketStore
