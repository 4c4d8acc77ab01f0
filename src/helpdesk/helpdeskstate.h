#pragma once

#include <QDate>
#include <QString>
#include <cstdint>

/** What the help desk window remembers besides its controls; its pages and frames share it. */
struct HelpDeskState {
    /** The customer chosen on the call page: the ID part of the chosen line. */
    QString selectedCustomerId;
    /** The ticket chosen on the open-tickets page; 0 until one is chosen. */
    std::int32_t currentTicket = 0;
    /** Today's date when the window opened: a window left open past midnight keeps it. */
    QDate postDate;
};
