#include "upkeep/upkeepmenu.h"

#include "data/conversions.h"
#include "data/serversettings.h"
#include "data/shopkey.h"
#include "upkeep/backup.h"
#include "upkeep/compactdatabase.h"
#include "upkeep/purge.h"
#include "upkeep/restore.h"
#include "upkeep/shopplace.h"
#include "widgets/hourglass.h"
#include "widgets/prompter.h"
#include "widgets/windowconventions.h"

#include <QFileInfo>

namespace {

/** The texts of one "Delete One ..." entry; the record's name is "Ticket", "Invoice" or
 *  "Solution". */
struct DeleteOne {
    Purge::Target target;
    QString name;
};

struct DeleteAll {
    Purge::Target target;
    QString title;
    QString question;
    QString done;
};

void deleteOne(const DeleteOne& entry)
{
    const std::optional<QString> answer = prompter().input(
        QStringLiteral("Please enter the %1 number you want to delete").arg(entry.name));
    const auto number = conv::toInt32(answer.value_or(QString()));
    if (number.error == conv::Whole<std::int32_t>::Error::NotNumeric) {
        prompter().message(QStringLiteral("Please enter only numbers!"));
        return;
    }
    // A number beyond the 32-bit range cannot belong to any record.
    const QString shown = number.ok() ? QString::number(number.value) : answer->trimmed();
    const QString notFound = QStringLiteral("There is no %1 #: %2.").arg(entry.name, shown);
    if (!number.ok()) {
        prompter().message(notFound);
        return;
    }
    if (!prompter().confirm(QStringLiteral("Are you sure that you want to delete %1 #%2?")
                                .arg(entry.name, shown))) {
        prompter().message(QStringLiteral("Deletion has been canclled"));
        return;
    }
    const Result<bool> deleted =
        Hourglass::around([&] { return Purge::deleteOne(entry.target, number.value); });
    if (!deleted)
        prompter().message(QStringLiteral("%1 #: %2 could not be deleted. %3")
                               .arg(entry.name, shown, deleted.status().message()));
    else if (!deleted.value())
        prompter().message(notFound);
    else
        prompter().message(QStringLiteral("%1 #: %2 has been deleted.").arg(entry.name, shown));
}

void deleteAll(const DeleteAll& entry)
{
    if (!prompter().confirm(entry.question, entry.title)) {
        prompter().message(QStringLiteral("Delete has been canceled"));
        return;
    }
    const Result<int> deleted = Hourglass::around([&] { return Purge::deleteAll(entry.target); });
    if (!deleted)
        prompter().message(
            QStringLiteral("Nothing has been deleted. %1").arg(deleted.status().message()));
    else
        prompter().message(entry.done);
}

/** Tells that the database is left as it is after a restore that did not happen. */
void refuseRestore(const QString& why)
{
    prompter().message(ShopPlace::naming(why + QStringLiteral(" The database is left as it is.")),
                       Prompter::defaultTitle(), Prompter::Icon::Warning);
}

/** Asks for the key file of a backup that none of the shop's keys opens (one from another
 *  shop, or from before the shop's key file was lost): nothing when the user chooses none or
 *  the file holds no key, which is then said. */
std::optional<ShopKey> askForKeyFile(const QString& backup, const Status& refusal)
{
    prompter().message(refusal.message() +
                       QStringLiteral("\n\nChoose the key file it was made with (the %1 of the "
                                      "shop it comes from, or a saved copy of it).")
                           .arg(QString::fromLatin1(ShopKey::FileName)));
    const QString path = prompter().openFileName(
        QStringLiteral("Key File of the Backup"), QFileInfo(backup).absolutePath(),
        QStringLiteral("Key files (*.key);;All Files (*)"));
    if (path.isEmpty()) {
        refuseRestore(refusal.message());
        return std::nullopt;
    }
    const Result<ShopKey> key = ShopKey::readFile(path);
    if (!key) {
        refuseRestore(
            QStringLiteral("%1 cannot be restored: %2").arg(backup, key.status().message()));
        return std::nullopt;
    }
    return *key;
}

} // namespace

UpkeepMenu::UpkeepMenu(QObject* parent) : QObject(parent) {}

Backup* UpkeepMenu::backupWindow() const
{
    return m_backup;
}

void UpkeepMenu::mnubackup_Click()
{
    if (m_backup) {
        m_backup->raise();
    } else {
        m_backup = new Backup(WindowConventions::mainWindow());
        m_backup->show();
    }
    m_backup->activateWindow();
}

void UpkeepMenu::mnucompact_Click()
{
    const Status compacted = Hourglass::around([] { return CompactDatabase::run(); });
    if (compacted)
        prompter().message(ShopPlace::naming(QStringLiteral("Database has been compacted!")));
    else
        prompter().message(ShopPlace::naming(
            QStringLiteral("The database could not be compacted and has been left as it was. %1")
                .arg(compacted.message())));
}

void UpkeepMenu::mnurestore_Click()
{
    if (const QString server = ServerSettings::address(); !server.isEmpty()) {
        prompter().message(Restore::serverAdvice(server));
        return;
    }
    const QString backup =
        prompter().openFileName(QStringLiteral("Restore Database"), QString(),
                                QStringLiteral("Backups (*.bak *.mdb);;All Files (*)"));
    if (backup.isEmpty())
        return;
    std::optional<ShopKey> key;
    Result<Restore::Contents> contents =
        Hourglass::around([&] { return Restore::inspect(backup); });
    if (!contents && contents.status().kind() == Status::Kind::WrongKey) {
        key = askForKeyFile(backup, contents.status());
        if (!key)
            return;
        contents = Hourglass::around([&] { return Restore::inspect(backup, key); });
        if (!contents && contents.status().kind() == Status::Kind::WrongKey) {
            refuseRestore(QStringLiteral("%1 cannot be restored: the key file chosen does not open "
                                         "it either.")
                              .arg(backup));
            return;
        }
    }
    if (!contents) {
        refuseRestore(contents.status().message());
        return;
    }
    if (!prompter().confirm(
            QStringLiteral("The backup %1 holds:\n\n%2\n\nReplace the shop's database with it? "
                           "Everything entered since the backup was made is then no longer in "
                           "it; the current database is kept beside it.")
                .arg(backup, Restore::describe(*contents)),
            QStringLiteral("Restore Database"), Prompter::Icon::Warning, Prompter::Answer::No))
        return;
    const Result<QString> kept = Hourglass::around([&] { return Restore::run(backup, key); });
    if (kept)
        prompter().message(ShopPlace::naming(
            QStringLiteral("The database has been restored from %1. The database it replaced "
                           "has been kept as %2.")
                .arg(backup, *kept)));
    else
        prompter().message(ShopPlace::naming(
            QStringLiteral("The database could not be restored and has been left as it was. %1")
                .arg(kept.status().message())));
}

void UpkeepMenu::mnudeloneticket_Click()
{
    deleteOne({Purge::Target::Ticket, QStringLiteral("Ticket")});
}

void UpkeepMenu::mnudelinv_Click()
{
    deleteOne({Purge::Target::Invoice, QStringLiteral("Invoice")});
}

void UpkeepMenu::mnuDelOneSol_Click()
{
    deleteOne({Purge::Target::Solution, QStringLiteral("Solution")});
}

void UpkeepMenu::mnuDelAllTic_Click()
{
    deleteAll({Purge::Target::Ticket, QStringLiteral("Delete All Closed Tickets?"),
               QStringLiteral("Are you sure you want to delete all closed Tickets?"),
               QStringLiteral("All closed Ticket numbers have been deleted.")});
}

void UpkeepMenu::mnudelallinv_Click()
{
    deleteAll({Purge::Target::Invoice, QStringLiteral("Delete All Closed Invoices?"),
               QStringLiteral("Are you sure you want to delete all closed Invoices?"),
               QStringLiteral("All closed Invoice numbers have been deleted.")});
}

void UpkeepMenu::mnuDelAllSols_Click()
{
    deleteAll({Purge::Target::Solution, QStringLiteral("Delete All Solutions?"),
               QStringLiteral("Are you sure you want to delete all Knowledge Base Solutions?"),
               QStringLiteral("All Knowledge Base Solutions have been deleted.")});
}
