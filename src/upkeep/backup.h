#pragma once

#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;
class ServerBackup;

/** The pop-up that copies the database to a file the user names; it stays above the other
 *  windows while open and closes itself once a backup is made. A failed backup keeps it open
 *  with the path as typed, for another try. A server's dump runs
 *  while the other windows go on answering; meanwhile this one shows that it works and stays
 *  open. */
class Backup : public QWidget {
    Q_OBJECT

public:
    explicit Backup(QWidget* parent = nullptr);

    QLabel* Label1;
    QLineEdit* txtDrivePath;
    QLabel* Label2;
    QPushButton* cmdBrowes;
    QPushButton* cmdBackup;

public Q_SLOTS:
    void cmdBrowes_Click();
    void cmdBackup_Click();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QString doneMessage() const;
    /** Shows the outcome; a backup that was made closes the window, a failed one gives the
     *  window back to the user with the path as typed. */
    void tell(const QString& message, bool made);
    void leaveTopmostBand();

    ServerBackup* m_dump;
};
