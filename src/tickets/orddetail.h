#pragma once

#include <QWidget>

class QLineEdit;
class QPlainTextEdit;

/** The details of one ticket chosen in the ticket log, shown read-only above all windows. */
class OrdDetail : public QWidget {
    Q_OBJECT

public:
    /** `technician` is the technician entry the ticket was chosen under. */
    OrdDetail(int ticketNum, const QString& technician, QWidget* parent = nullptr);

    /** Shows another ticket in the open window. */
    void showTicket(int ticketNum, const QString& technician);
    int ticketNum() const { return m_ticketNum; }

    QLineEdit* txtTech;
    QLineEdit* txtTicknum;
    QLineEdit* txtProbType;
    QPlainTextEdit* txtProbOT;
    QPlainTextEdit* txtSolOT;
    QPlainTextEdit* txtComm;

private:
    int m_ticketNum = 0;
};
