#include "app/newshop.h"

#include "widgets/hourglass.h"
#include "widgets/inputhelpers.h"
#include "widgets/prompter.h"
#include "widgets/windowconventions.h"
#include "data/databasesetup.h"
#include "data/programfolder.h"

#include <QDir>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <optional>

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

    txtAdminPwd = new QLineEdit(this);
    txtAdminPwd->setObjectName(QStringLiteral("txtAdminPwd"));
    txtAdminPwd->setEchoMode(QLineEdit::Password);
    txtAdminPwdAgain = new QLineEdit(this);
    txtAdminPwdAgain->setObjectName(QStringLiteral("txtAdminPwdAgain"));
    txtAdminPwdAgain->setEchoMode(QLineEdit::Password);
    cmdCreate = new QPushButton(QStringLiteral("Create Shop"), this);
    cmdCreate->setObjectName(QStringLiteral("cmdCreate"));
    auto* create = new QGroupBox(QStringLiteral("New shop"), this);
    auto* form = new QFormLayout(create);
    form->addRow(new QLabel(QStringLiteral("You log in as ADMIN with this password (at least %1 "
                                           "characters).")
                                .arg(DatabaseSetup::MinimumAdminPassword),
                            create));
    form->addRow(QStringLiteral("Password"), txtAdminPwd);
    form->addRow(QStringLiteral("Once more"), txtAdminPwdAgain);
    form->addRow(cmdCreate);

    cmdDemo = new QPushButton(QStringLiteral("Open Demo Shop"), this);
    cmdDemo->setObjectName(QStringLiteral("cmdDemo"));
    auto* demo = new QGroupBox(QStringLiteral("Demo shop"), this);
    auto* demoLayout = new QVBoxLayout(demo);
    auto* logins = new QLabel(QStringLiteral("Log in as ADMIN with password %1, as the manager "
                                             "SLM-2 with manager or as the technician JTT-1 "
                                             "with tech.")
                                  .arg(demoAdminPassword()),
                              demo);
    logins->setWordWrap(true);
    demoLayout->addWidget(logins);
    demoLayout->addWidget(cmdDemo);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    layout->addWidget(create);
    layout->addWidget(demo);
    setFixedWidth(440);
    adjustSize();

    InputHelpers::selectOnFocus({txtAdminPwd, txtAdminPwdAgain});
    InputHelpers::enterAsTab(txtAdminPwd);
    InputHelpers::enterAsTab(txtAdminPwdAgain, [this] { cmdCreate->click(); });
    connect(cmdCreate, &QPushButton::clicked, this, &NewShop::cmdCreate_Click);
    connect(cmdDemo, &QPushButton::clicked, this, &NewShop::cmdDemo_Click);
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
    std::optional<Hourglass> busy(std::in_place);
    const Status created = DatabaseSetup::createShop(adminPassword, demo);
    busy.reset();
    if (!created) {
        prompter().message(
            QStringLiteral("The shop could not be created: %1").arg(created.message()),
            Prompter::defaultTitle(), Prompter::Icon::Critical);
        return;
    }
    Q_EMIT shopCreated();
    close();
}
