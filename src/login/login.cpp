#include "login/login.h"

#include "login/loginstore.h"
#include "widgets/formbuilder.h"
#include "widgets/hourglass.h"
#include "widgets/inputhelpers.h"
#include "widgets/prompter.h"
#include "widgets/windowconventions.h"

#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

Login::Login(QWidget* parent) : QWidget(parent)
{
    Hourglass busy;
    setObjectName(QStringLiteral("Login"));
    setWindowTitle(QStringLiteral("Login"));
    WindowConventions::applyIcon(this);

    const FormBuilder build(this);
    txtEmpID = build.textBox(QStringLiteral("txtEmpID"));
    txtPwd = build.textBox(QStringLiteral("txtPwd"));
    txtPwd->setEchoMode(QLineEdit::Password);
    cmdLogin = build.make<QPushButton>(QStringLiteral("cmdLogin"), QStringLiteral("Login"));

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Employee ID"), txtEmpID);
    form->addRow(QStringLiteral("Password"), txtPwd);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(cmdLogin, 0, Qt::AlignRight);
    setFixedSize(300, 130);

    InputHelpers::selectOnFocus({txtEmpID, txtPwd});
    InputHelpers::upperCaseInput(txtEmpID);
    InputHelpers::enterAsTab(txtEmpID);
    InputHelpers::enterAsTab(txtPwd, [this] { cmdLogin->click(); });
    connect(cmdLogin, &QPushButton::clicked, this, &Login::cmdLogin_Click);

    if (!LoginStore::reachable()) {
        m_reachable = false;
        prompter().message(QStringLiteral("Unable to connect, server is down!"));
        return;
    }
    txtEmpID->setText(LastEmployee::read());
}

void Login::cmdLogin_Click()
{
    if (txtEmpID->text().isEmpty()) {
        prompter().message(QStringLiteral("Please enter a user name"));
        txtEmpID->setFocus();
        return;
    }
    if (txtPwd->text().isEmpty()) {
        prompter().message(QStringLiteral("Please enter a password"));
        txtPwd->setFocus();
        return;
    }
    const auto check =
        Hourglass::around([&] { return LoginStore::check(txtEmpID->text(), txtPwd->text()); });
    if (!check) {
        // Another workstation holding the database a while (compacting it) is no outage.
        prompter().message(check.status().kind() == Status::Kind::Busy
                               ? check.status().message()
                               : QStringLiteral("Unable to connect, server is down!"));
        return;
    }
    if (!check->matched) {
        prompter().message(QStringLiteral("Incorrect Employee ID or Password!"));
        txtPwd->setFocus();
        txtPwd->selectAll();
        return;
    }
    {
        Hourglass busy;
        Q_EMIT loggedIn(txtEmpID->text(), check->rights);
        LastEmployee::write(txtEmpID->text());
    }
    close();
}
