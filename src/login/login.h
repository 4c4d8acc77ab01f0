#pragma once

#include <QList>
#include <QWidget>
#include <optional>

class QLineEdit;
class QPushButton;

/** The login window: an employee ID and password that must match a login before any menu of
 *  the main window can be used. */
class Login : public QWidget {
    Q_OBJECT

public:
    explicit Login(QWidget* parent = nullptr);

    /** False when the database could not be reached at load; the window has said so. */
    bool databaseReachable() const { return m_reachable; }

    QLineEdit* txtEmpID;
    QLineEdit* txtPwd;
    QPushButton* cmdLogin;

public Q_SLOTS:
    void cmdLogin_Click();

Q_SIGNALS:
    /** A login matched; `rights` holds the employee's 25 access flags, when it has any. */
    void loggedIn(const QString& empId, const std::optional<QList<bool>>& rights);

private:
    bool m_reachable = true;
};
