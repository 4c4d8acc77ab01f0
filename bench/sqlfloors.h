#pragma once

#include <QString>

class Database;

/**
 * The statements each measured action needs, run directly with the data layer and every
 * column of every row read as text: what the action would cost without any widget. A window
 * that takes much longer than its floor spends the time in its own code.
 */
namespace SqlFloors {

void login(Database& db, const QString& empId, const QString& password);
void openHelpDesk(Database& db, const QString& technician);
void chooseOpenTicket(Database& db, int ticket);
void logCall(Database& db, const QString& customerId, const QString& technician);
void searchKnowledgeBase(Database& db, const QString& text);
/** The ticket log's reads, with the first `lines` ticket lines (-1: all). */
void openOpenOrders(Database& db, int lines);
void chooseTechnician(Database& db, const QString& technician);
/** The active customers' lines that fill a receivables window's customer combo. */
void customerLines(Database& db);
void choosePaymentCustomer(Database& db, const QString& customerId);
void chooseHistoryCustomer(Database& db, const QString& customerId);
/** Reads the layout's records as the report engine does, without laying out any page. */
void reportRecords(Database& db, const QString& layoutName);

} // namespace SqlFloors
