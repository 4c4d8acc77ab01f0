#pragma once

#include "data/status.h"

#include <QString>

/** Sizes of a generated shop. */
struct ShopSize {
    int customers = 10000;
    int employees = 25;
    int inventory = 2000;
    int tickets = 200000;
    int invoices = 60000;
    int invoiceLines = 200000;
    int payments = 60000;
    int knowledgeBase = 2000;

    /** The full shop shrunk by `scale` (0..1), at least one of each; the staff stays. */
    static ShopSize scaled(double scale);
};

/** The worst cases the benchmarks measure: the customer with the longest history (every
 *  hundredth ticket and invoice, about 2,000 tickets and 600 invoices, the invoices still open
 *  and partly paid) and the technician who holds every fourth open ticket besides a share of
 *  the others. */
namespace BusiestShop {
inline const QString CustomerId = QStringLiteral("C1-1");
inline const QString TechnicianId = QStringLiteral("T1");
inline constexpr int CustomerEvery = 100;
inline constexpr int TechnicianEvery = 4;
} // namespace BusiestShop

/** Fills a new database at `path` with a shop of `size`, the same for the same seed: ten years of
 *  tickets with their problem texts, invoices with lines and payments. The administrator ADMIN
 *  has the password "admin"; every technician T<n> has "tech". */
Status generateShop(const QString& path, const ShopSize& size, unsigned seed = 20261206);
