#include "login/changepass.h"

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

ChangePass::ChangePass(QWidget* parent) : QWidget(parent)
{
    Hourglass busy;
    setObjectName(QStringLiteral("ChangePass"));
    setWindowTitle(QStringLiteral("Change Password"));
    WindowConventions::applyIcon(this);

    const FormBuilder build(this);
    txtEmpID = build.textBox(QStringLiteral("txtEmpID"));
    txtCurrPass = build.textBox(QStringLiteral("txtCurrPass"));
    txtCurrPass->setEchoMode(QLineEdit::Password);
    txtNewPass = build.textBox(QStringLiteral("txtNewPass"));
    txtNewPass->setEchoMode(QLineEdit::Password);
    cmdChgPass = build.make<QPushButton>(QStringLiteral("cmdChgPass"), QStringLiteral("Change"));

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("EmpID"), txtEmpID);
    form->addRow(QStringLiteral("Current Password"), txtCurrPass);
    form->addRow(QStringLiteral("New Password"), txtNewPass);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(cmdChgPass, 0, Qt::AlignRight);
    setFixedSize(340, 160);

    InputHelpers::selectOnFocus({txtEmpID, txtCurrPass, txtNewPass});
    InputHelpers::upperCaseInput(txtEmpID);
    InputHelpers::enterAsTab(txtNewPass, [this] { cmdChgPass->click(); });
    connect(cmdChgPass, &QPushButton::clicked, this, &ChangePass::cmdChgPass_Click);

    txtEmpID->setText(LastEmployee::read());
}

void ChangePass::cmdChgPass_Click()
{
    if (txtEmpID->text().isEmpty() || txtCurrPass->text().isEmpty() ||
        txtNewPass->text().isEmpty()) {
        prompter().message(
            QStringLiteral("You must enter your user ID, old password and new password!"));
        return;
    }
    const auto change = Hourglass::around([&] {
        return LoginStore::changePassword(txtEmpID->text(), txtCurrPass->text(),
                                          txtNewPass->text());
    });
    if (!change) {
        prompter().message(
            QStringLiteral("The password could not be changed: %1").arg(change.status().message()));
        return;
    }
    switch (*change) {
    case LoginStore::PasswordChange::NoMatch:
        prompter().message(
            QStringLiteral("Old Password does not match database, please try again."));
        return;
    case LoginStore::PasswordChange::IdDiffers:
        prompter().message(QStringLiteral("Current password does not match please try again"));
        return;
    case LoginStore::PasswordChange::Changed:
        LastEmployee::write(txtEmpID->text());
        prompter().message(QStringLiteral("Your password has been changed"));
        close();
        return;
    }
}
