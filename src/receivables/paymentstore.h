#pragma once

#include "data/currency.h"
#include "data/status.h"

#include <QDate>
#include <QList>
#include <QString>
#include <cstdint>
#include <optional>

/** Customers' open invoices and the payments recorded against them. */
namespace PaymentStore {

struct Address {
    QString name;
    QString street;
    QString city;
    QString state;
    QString zip;
};

struct OpenInvoice {
    std::int32_t invNum = 0;
    QDate invDate;
    Currency total;
    /** Sum of the payments recorded so far. */
    Currency paid;
    Currency balance() const { return total - paid; }
};

/** The customer's name and address; nothing when there is no such customer. */
Result<std::optional<Address>> customerAddress(const QString& custId);

/** The customer's unpaid invoices with what has been paid on each, by invoice number. */
Result<QList<OpenInvoice>> openInvoices(const QString& custId);

/** One unpaid invoice of the customer; nothing when it is paid or not the customer's. */
Result<std::optional<OpenInvoice>> openInvoice(const QString& custId, std::int32_t invNum);

/** A payment recorded against an invoice. */
struct RecordedPayment {
    QDate payDate;
    Currency amount;
    /** The check's number, or nothing for a credit memo payment or one recorded before
     *  payments kept their numbers. */
    std::optional<std::int32_t> checkNo;
    QString creditMemo;
};

/** The payments recorded against the invoice, in the order they were made. */
Result<QList<RecordedPayment>> payments(std::int32_t invNum);

struct Payment {
    std::int32_t invNum = 0;
    QString custId;
    Currency amount;
    QDate payDate;
    /** A credit memo payment writes creditMemo; a check payment writes checkNo. */
    bool byCreditMemo = false;
    std::int32_t checkNo = 0;
    QString creditMemo;
};

enum class Outcome {
    /** The amount equalled the balance due: the invoice is now paid. */
    PaidInFull,
    /** Recorded; the invoice stays open with a smaller balance. */
    PartlyPaid,
    /** Nothing written: the invoice is not an open invoice of this customer. */
    NotOpen,
    /** Nothing written: the amount is more than the balance due. */
    MoreThanBalance,
};

/**
 * Records a payment in one transaction: the invoice's payment details (and its paid flag when
 * the amount equals the balance due at this moment), a new AmountPaid row with the payment's own
 * check or credit memo number, and the paid flag of every line of the invoice. Either all of it
 * is written or none.
 */
Result<Outcome> record(const Payment& payment);

} // namespace PaymentStore
