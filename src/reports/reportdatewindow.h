#pragma once

#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;

/** The "Enter Report Dates" window: a start and an end date, then the report of invoices
 *  dated between them. BillingReport and SaleTax differ only in layout and preview title. */
class ReportDateWindow : public QWidget {
    Q_OBJECT

public:
    ReportDateWindow(QString layoutFile, QString windowTitle, QWidget* parent,
                     Qt::WindowFlags flags);

    /** The selection formula for two dates as typed: dates become "yyyy,mm,dd", other text
     *  passes unchanged (and the engine then reports the formula it cannot read). */
    static QString dateRangeFormula(const QString& start, const QString& end);

    QLabel* Label3;
    QLabel* Label1;
    QLineEdit* txtSDate;
    QLabel* Label2;
    QLineEdit* txtEDate;
    QPushButton* Command1;

public Q_SLOTS:
    void txtSDate_LostFocus();
    void txtEDate_LostFocus();
    void Command1_Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    static void checkDateBox(QLineEdit* box);

    QString m_layoutFile;
    QString m_windowTitle;
};
