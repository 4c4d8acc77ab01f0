#pragma once

#include <QWidget>

class QLineEdit;
class QPushButton;

/** Replaces a login's password, given the employee ID and the current password. */
class ChangePass : public QWidget {
    Q_OBJECT

public:
    explicit ChangePass(QWidget* parent = nullptr);

    QLineEdit* txtEmpID;
    QLineEdit* txtCurrPass;
    QLineEdit* txtNewPass;
    QPushButton* cmdChgPass;

public Q_SLOTS:
    void cmdChgPass_Click();
};
