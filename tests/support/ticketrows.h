#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

/** Builders and readers of call-log rows for tests, working on the current program folder. */
namespace TicketRows {

struct Ticket {
    int number = 0;
    QString custId = QStringLiteral("JTH-1");
    QString priority = QStringLiteral("2-Med");
    QString status = QStringLiteral("Open");
    QString tech = QStringLiteral("JTT-1");
    QDate opened = QDate(2024, 1, 10);
    QDate closed{};
    QString problemType = QStringLiteral("Software");
    QString specific = QStringLiteral("Windows");
};

/** Appends a call-log row; false (with a warning) when it cannot be written. */
bool add(const Ticket& ticket);
/** Runs one statement with its values; false (with a warning) on failure. */
bool exec(const QString& sql, const QString& value = QString());
/** The first column of the statement's first row, as text; empty when there is none. */
QString value(const QString& sql, int ticketNum);
/** The ticket numbers of the technician's open tickets, as the workspace lists them. */
QList<int> openTicketsOf(const QString& empId);
/** Every field before the first tab of each line, as numbers. */
QList<int> leadingNumbers(const QStringList& lines);

} // namespace TicketRows
