#include "helpdesk/workorderstore.h"

#include "data/counters.h"

namespace {

Result<WorkOrderNumbers> insertOrder(Database& db, const NewWorkOrder& order,
                                     WorkOrderNumbers shown)
{
    const auto workOrder = Counters::numberToSave(db, Counter::WorkOrder, shown.workOrder);
    if (!workOrder)
        return workOrder.status();
    const auto rma = Counters::numberToSave(db, Counter::Rma, shown.rma);
    if (!rma)
        return rma.status();

    Status status = db.exec(QStringLiteral("INSERT INTO RepairOrder (WorkNum, RMANum, RepairTech, "
                                           "RepairNotes, CustID, TicketNum, WrkOrd) "
                                           "VALUES (?, ?, ?, ?, ?, ?, ?)"),
                            *workOrder, *rma, order.repairTech, order.notes, order.customerId,
                            order.ticket, !order.notes.isEmpty());
    if (status.isDuplicate())
        return Status::error(Status::Kind::Duplicate,
                             QStringLiteral("Work order %1 already exists.").arg(*workOrder));
    if (status)
        status = Counters::commit(db, Counter::WorkOrder, *workOrder);
    if (status)
        status = Counters::commit(db, Counter::Rma, *rma);
    if (!status)
        return status;
    return WorkOrderNumbers{*workOrder, *rma};
}

} // namespace

namespace WorkOrderStore {

Result<WorkOrderNumbers> create(const NewWorkOrder& order, WorkOrderNumbers shown)
{
    return Database::write([&](Database& db) { return insertOrder(db, order, shown); });
}

Status updateNotes(std::int32_t workNumber, const QString& notes)
{
    return Database::write([&](Database& db) {
        return db.changeRow(QStringLiteral("There is no work order %1.").arg(workNumber),
                            QStringLiteral("UPDATE RepairOrder SET RepairNotes = ? "
                                           "WHERE WorkNum = ?"),
                            notes, workNumber);
    });
}

} // namespace WorkOrderStore
