#include "app/newshop.h"

#include "data/databasesetup.h"
#include "data/programfolder.h"
#include "widgets/formbuilder.h"
#include "widgets/hourglass.h"
#include "widgets/inputhelpers.h"
#include "widgets/prompter.h"
#include "widgets/windowconventions.h"

#include <QDir>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

NewShop::NewShop(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("NewShop"));
    setWindowTitle(QStringLiteral("New Shop"));
    WindowConventions::applyIcon(this);

    auto* intro = new QLabel(
        QStringLiteral("There is no shop in %1 yet. Create your shop, or open the demo shop to "
                       "try the program.")
            .arg(QDir::toNativeSeparators(ProgramFolder::path())),
        this);
    intro->setWordWrap(true);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    layout->addWidget(newShopGroup());
    layout->addWidget(demoShopGroup());
    setFixedWidth(440);
    adjustSize();

    InputHelpers::selectOnFocus({txtAdminPwd, txtAdminPwdAgain});
    InputHelpers::enterAsTab(txtAdminPwd);
    InputHelpers::enterAsTab(txtAdminPwdAgain, [this] { cmdCreate->click(); });
    connect(cmdCreate, &QPushButton::clicked, this, &NewShop::cmdCreate_Click);
    connect(cmdDemo, &QPushButton::clicked, this, &NewShop::cmdDemo_Click);
}

QWidget* NewShop::newShopGroup()
{
    const FormBuilder build(this);
    txtAdminPwd = build.textBox(QStringLiteral("txtAdminPwd"));
    txtAdminPwd->setEchoMode(QLineEdit::Password);
    txtAdminPwdAgain = build.textBox(QStringLiteral("txtAdminPwdAgain"));
    txtAdminPwdAgain->setEchoMode(QLineEdit::Password);
    cmdCreate = build.make<QPushButton>(QStringLiteral("cmdCreate"), QStringLiteral("Create Shop"));
    auto* form = new QFormLayout;
    form->addRow(build.label(QStringLiteral("You log in as ADMIN with this password (at least %1 "
                                            "characters).")
                                 .arg(DatabaseSetup::MinimumAdminPassword)));
    form->addRow(QStringLiteral("Password"), txtAdminPwd);
    form->addRow(QStringLiteral("Once more"), txtAdminPwdAgain);
    form->addRow(cmdCreate);
    return build.frame(QStringLiteral("New shop"), form);
}

QWidget* NewShop::demoShopGroup()
{
    const FormBuilder build(this);
    cmdDemo = build.make<QPushButton>(QStringLiteral("cmdDemo"), QStringLiteral("Open Demo Shop"));
    QLabel* logins = build.label(QStringLiteral("Log in as ADMIN with password %1, as the manager "
                                                "SLM-2 with manager or as the technician JTT-1 "
                                                "with tech.")
                                     .arg(demoAdminPassword()));
    logins->setWordWrap(true);
    auto* layout = new QVBoxLayout;
    layout->addWidget(logins);
    layout->addWidget(cmdDemo);
    return build.frame(QStringLiteral("Demo shop"), layout);
}

void NewShop::cmdCreate_Click()
{
    if (const QString problem = DatabaseSetup::adminPasswordProblem(txtAdminPwd->text());
        !problem.isEmpty()) {
        prompter().message(problem);
        txtAdminPwd->setFocus();
        return;
    }
    if (txtAdminPwdAgain->text() != txtAdminPwd->text()) {
        prompter().message(QStringLiteral("The two passwords differ."));
        txtAdminPwdAgain->setFocus();
        return;
    }
    create(txtAdminPwd->text(), false);
}

void NewShop::cmdDemo_Click()
{
    create(demoAdminPassword(), true);
}

void NewShop::create(const QString& adminPassword, bool demo)
{
    const Status created =
        Hourglass::around([&] { return DatabaseSetup::createShop(adminPassword, demo); });
    if (!created) {
        prompter().message(
            QStringLiteral("The shop could not be created: %1").arg(created.message()),
            Prompter::defaultTitle(), Prompter::Icon::Critical);
        return;
    }
    Q_EMIT shopCreated();
    close();
}
