#pragma once

#include <QWidget>

class QLineEdit;
class QPushButton;

/** The first start of a folder without a shop's database: creates a new shop with its
 *  administrator's password, or the demo shop. */
class NewShop : public QWidget {
    Q_OBJECT

public:
    explicit NewShop(QWidget* parent = nullptr);

    /** The demo shop's administrator password, shown on the window. */
    static QString demoAdminPassword() { return QStringLiteral("admin"); }

    QLineEdit* txtAdminPwd;
    QLineEdit* txtAdminPwdAgain;
    QPushButton* cmdCreate;
    QPushButton* cmdDemo;

public Q_SLOTS:
    void cmdCreate_Click();
    void cmdDemo_Click();

Q_SIGNALS:
    /** The database exists now; the window closes. */
    void shopCreated();

private:
    QWidget* newShopGroup();
    QWidget* demoShopGroup();
    void create(const QString& adminPassword, bool demo);
};
