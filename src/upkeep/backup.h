#pragma once

#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;

/** The pop-up that copies the database to a file the user names; it stays above the other
 *  windows while open and closes itself once a backup has been tried. */
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

private:
    void leaveTopmostBand();
};
