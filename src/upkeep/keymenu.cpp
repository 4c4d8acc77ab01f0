#include "upkeep/keymenu.h"

#include "data/database.h"
#include "data/serversettings.h"
#include "reports/recoverysheet.h"
#include "upkeep/ownkey.h"
#include "upkeep/shopplace.h"
#include "widgets/hourglass.h"
#include "widgets/prompter.h"

#include <QAction>
#include <QDir>
#include <QMenu>

namespace {

const QString OwnKeyTitle = QStringLiteral("Protect with the Shop's Own Key");
const QString SaveKeyTitle = QStringLiteral("Save the Shop's Key");

/** The key the shop's file opens with, or why there is none: the shop is on a server, or its
 *  file cannot be read. */
Result<ShopKey> fileKey()
{
    if (const QString server = ServerSettings::address(); !server.isEmpty())
        return Status::failed(QStringLiteral("The shop's data is on the database server %1, "
                                             "which protects it with its own sign-in; there is "
                                             "no key file to keep.")
                                  .arg(ServerSettings::describe(server)));
    const Result<ShopKey> key =
        Database::read([](Database& db) -> Result<ShopKey> { return db.fileKey().value(); });
    if (!key)
        return Status::failed(
            QStringLiteral("The shop's key cannot be read: %1").arg(key.status().message()));
    return key;
}

/** The shop's own key, or a message that says why there is none to keep. */
std::optional<ShopKey> ownKeyOrSay()
{
    const Result<ShopKey> key = fileKey();
    if (!key)
        prompter().message(key.status().message(), Prompter::defaultTitle(),
                           Prompter::Icon::Warning);
    else if (key->isOldPassword())
        prompter().message(QStringLiteral("The shop's database has no key of its own yet: "
                                          "protect it with one first (File menu)."));
    else
        return *key;
    return std::nullopt;
}

} // namespace

KeyMenu::KeyMenu(QObject* parent) : QObject(parent) {}

void KeyMenu::showEntriesIn(QMenu* fileMenu)
{
    const Result<ShopKey> key = fileKey();
    const bool oldPassword = key && key->isOldPassword();
    const bool ownKey = key && !key->isOldPassword();
    for (QAction* action : fileMenu->actions()) {
        const QString name = action->objectName();
        if (name == QLatin1String("mnuOwnKey"))
            action->setVisible(oldPassword);
        else if (name == QLatin1String("mnuSaveKey") || name == QLatin1String("mnuKeySheet"))
            action->setVisible(ownKey);
    }
}

void KeyMenu::mnuOwnKey_Click()
{
    if (!prompter().confirm(
            QStringLiteral(
                "The shop's database is encrypted with the password that every copy of older "
                "releases shares. Protect it with a random key of its own?\n\nA backup of the "
                "database is made first, beside it; that backup keeps the old password. The new "
                "key is written to the key file %1 beside the database, and from then on only "
                "that key opens the database and its new backups: every other workstation that "
                "opens the database needs the key file beside it too. Afterwards save the key "
                "to a file or print its recovery sheet (File menu), and keep it away from the "
                "computer.")
                .arg(QString::fromLatin1(ShopKey::FileName)),
            OwnKeyTitle, Prompter::Icon::Question, Prompter::Answer::No))
        return;
    const Result<OwnKey::Moved> moved = Hourglass::around([] { return OwnKey::protect(); });
    if (!moved) {
        prompter().message(
            ShopPlace::naming(QStringLiteral("The database has not been given a key of its own "
                                             "and is as it was. %1")
                                  .arg(moved.status().message())),
            OwnKeyTitle, Prompter::Icon::Warning);
        return;
    }
    prompter().message(
        ShopPlace::naming(
            QStringLiteral("The shop's database is now protected with its own key, in %1. Copy "
                           "that file beside the database on every other workstation, and save "
                           "the key or print its recovery sheet to keep away from the computer. "
                           "The backup made before, %2, still opens with the old password.")
                .arg(QDir::toNativeSeparators(moved->keyFile),
                     QDir::toNativeSeparators(moved->backup))),
        OwnKeyTitle);
}

void KeyMenu::mnuSaveKey_Click()
{
    const std::optional<ShopKey> key = ownKeyOrSay();
    if (!key)
        return;
    const QString path =
        prompter().saveFileName(SaveKeyTitle, QString::fromLatin1(ShopKey::FileName),
                                QStringLiteral("Key files (*.key);;All Files (*)"));
    if (path.isEmpty())
        return;
    if (const Status written = key->writeFile(path); !written) {
        prompter().message(QStringLiteral("The key has not been saved. %1").arg(written.message()),
                           SaveKeyTitle, Prompter::Icon::Warning);
        return;
    }
    prompter().message(
        QStringLiteral("The shop's key has been saved to %1, readable by your account only. "
                       "Keep it away from the computer and its backups: whoever has it can read "
                       "the database. To recover, copy it as %2 beside the database.")
            .arg(QDir::toNativeSeparators(path), QString::fromLatin1(ShopKey::FileName)),
        SaveKeyTitle);
}

void KeyMenu::mnuKeySheet_Click()
{
    if (!ownKeyOrSay())
        return;
    if (const Status shown = Hourglass::around([] { return RecoverySheet::preview(); }); !shown)
        prompter().message(shown.message(), Prompter::defaultTitle(), Prompter::Icon::Warning);
}
