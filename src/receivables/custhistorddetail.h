#pragma once

#include <QWidget>
#include <cstdint>

class QLineEdit;
class QPlainTextEdit;

/** Shows one ticket's technician, problem, solution and comments, above all other windows. */
class CustHistOrdDetail : public QWidget {
    Q_OBJECT

public:
    /** A pop-up (top-level) window showing `ticketNum`; it deletes itself when closed. */
    explicit CustHistOrdDetail(std::int32_t ticketNum, QWidget* parent = nullptr);

    QLineEdit* txtTicknum;
    QLineEdit* txtTech;
    QLineEdit* txtProbType;
    QPlainTextEdit* txtProbOT;
    QPlainTextEdit* txtSolOT;
    QPlainTextEdit* txtComm;

    /** Reads `ticketNum` afresh; boxes of a ticket that cannot be read stay empty. */
    void showTicket(std::int32_t ticketNum);
};
