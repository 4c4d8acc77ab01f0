#include "helpdesk/workorderstore.h"

#include "data/counters.h"

namespace WorkOrderStore {

Result<WorkOrderNumbers> create(Database& db, const NewWorkOrder& order, WorkOrderNumbers shown)
{
    Transaction transaction(db);
    if (!transaction.isActive())
        return transaction.beginStatus();
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
    if (status)
        status = transaction.commit();
    if (!status)
        return status;
    return WorkOrderNumbers{*workOrder, *rma};
}

Status updateNotes(Database& db, std::int32_t workNumber, const QString& notes)
{
    return db.inTransaction([&](Database&) {
        const Status status =
            db.exec(QStringLiteral("UPDATE RepairOrder SET RepairNotes = ? WHERE WorkNum = ?"),
                    notes, workNumber);
        if (status && db.changes() == 0)
            return Status::error(Status::Kind::NotFound,
                                 QStringLiteral("There is no work order %1.").arg(workNumber));
        return status;
    });
}

} // namespace WorkOrderStore
