#pragma once

#include "data/database.h"

#include <QString>
#include <cstdint>

/** A repair work order as the repair frame creates it. */
struct NewWorkOrder {
    QString repairTech;
    QString notes;
    QString customerId;
    /** The ticket it belongs to; 0 when none was chosen. */
    std::int32_t ticket = 0;
};

/** The work order and RMA numbers of one work order. */
struct WorkOrderNumbers {
    std::int32_t workOrder = 0;
    std::int32_t rma = 0;
};

/** The repair work orders: creation under the work order and RMA counters, and their notes;
 *  each on a scope of the program's database of its own. */
namespace WorkOrderStore {

/**
 * Saves the work order and commits both counters, all or nothing. Each number is the one shown,
 * or the counter's next number when the counter has moved past it since; the numbers used are
 * returned.
 */
Result<WorkOrderNumbers> create(const NewWorkOrder& order, WorkOrderNumbers shown);

/** Replaces the notes of work order `workNumber`; NotFound when there is no such work order. */
Status updateNotes(std::int32_t workNumber, const QString& notes);

} // namespace WorkOrderStore
