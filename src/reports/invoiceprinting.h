#pragma once

#include "data/status.h"

#include <cstdint>

/** Printing invoices and recording that they were printed. */
namespace InvoicePrinting {

/** Shows one invoice ("invoice2.rpt") in the preview, then marks it printed. Nothing is marked
 *  when the report could not run (the engine has shown why); a failed write is shown too. */
Status printInvoice(std::int32_t invoiceNumber);

/** Shows every invoice not yet printed ("invoice.rpt"), then marks those invoices printed in
 *  one transaction. Only invoices that were unprinted when the run began are marked; when they
 *  cannot be read, that is shown and nothing is printed. */
Status printAllUnprinted();

} // namespace InvoicePrinting
