#include "upkeep/backup.h"

#include "data/serversettings.h"
#include "upkeep/backupfile.h"
#include "upkeep/serverbackup.h"
#include "upkeep/shopplace.h"
#include "widgets/formbuilder.h"
#include "widgets/hourglass.h"
#include "widgets/inputhelpers.h"
#include "widgets/prompter.h"
#include "widgets/windowconventions.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

const char* const Prompt =
    "Please select a directory and drive to back up the database or type in the drive and path.";

QString failureMessage(const BackupFile::Outcome& outcome, const QString& target)
{
    using BackupFile::Failure;
    switch (outcome.failure) {
    case Failure::DiskFull:
        return QStringLiteral("Disk is full!");
    case Failure::PermissionDenied:
        return QStringLiteral("You can not save the database in the same directory as this "
                              "program,\nplease select a different directory to backup the "
                              "database!");
    case Failure::InvalidPath:
        return QStringLiteral("Please enter a valid path!");
    case Failure::PathNotFound:
        return QStringLiteral("Path not found") + QLatin1Char('\n') +
               QDir::toNativeSeparators(QFileInfo(target).absolutePath());
    case Failure::None:
    case Failure::Other:
        break;
    }
    return QStringLiteral("The database could not be backed up: %1").arg(outcome.detail);
}

} // namespace

Backup::Backup(QWidget* parent) : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("Backup"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Backup Database"));
    WindowConventions::applyIcon(this);
    const FormBuilder build(this);
    Label1 = build.make<QLabel>(QStringLiteral("Label1"), QString::fromLatin1(Prompt));
    Label1->setWordWrap(true);
    txtDrivePath = build.textBox(QStringLiteral("txtDrivePath"));
    txtDrivePath->setMinimumWidth(300);
    Label2 =
        build.make<QLabel>(QStringLiteral("Label2"), QStringLiteral("Exapmle: C:\\helpdesk.mdb"));
    cmdBrowes = build.make<QPushButton>(QStringLiteral("cmdBrowes"), QStringLiteral("Browes"));
    cmdBackup = build.make<QPushButton>(QStringLiteral("cmdBackup"), QStringLiteral("Backup"));

    auto* layout = new QGridLayout(this);
    layout->addWidget(Label1, 0, 0, 1, 2);
    layout->addWidget(txtDrivePath, 1, 0);
    layout->addWidget(cmdBrowes, 1, 1);
    layout->addWidget(Label2, 2, 0);
    layout->addWidget(cmdBackup, 2, 1);

    InputHelpers::selectOnFocus({txtDrivePath});
    InputHelpers::enterAsTab(txtDrivePath, [this] { cmdBackup->click(); });
    connect(cmdBrowes, &QPushButton::clicked, this, &Backup::cmdBrowes_Click);
    connect(cmdBackup, &QPushButton::clicked, this, &Backup::cmdBackup_Click);
    m_dump = new ServerBackup(this);
    connect(m_dump, &ServerBackup::finished, this, [this](const Status& status) {
        tell(status ? doneMessage() : status.message(), status.isOk());
    });

    adjustSize();
    WindowConventions::centreOnMainWindow(this);
}

void Backup::cmdBrowes_Click()
{
    const QString chosen =
        prompter().saveFileName(QStringLiteral("Save As"), QStringLiteral("helpdesk.mdb"),
                                QStringLiteral("db Files (*.mdb)"));
    if (!chosen.isEmpty())
        txtDrivePath->setText(chosen);
}

void Backup::cmdBackup_Click()
{
    const QString target = txtDrivePath->text();
    if (target.isEmpty()) {
        prompter().message(QStringLiteral("Please enter a directory to backup the Database to!"));
        return;
    }
    if (const QString server = ServerSettings::address(); !server.isEmpty()) {
        // The dump may take a while: the window shows that it works, the others go on.
        txtDrivePath->setReadOnly(true);
        cmdBrowes->setEnabled(false);
        cmdBackup->setEnabled(false);
        Label1->setText(QStringLiteral("Backing up the database to %1 ...").arg(target));
        setCursor(Qt::BusyCursor);
        m_dump->start(server, target);
        return;
    }
    const BackupFile::Outcome outcome =
        Hourglass::around([&] { return BackupFile::copyDatabaseTo(target); });
    tell(outcome.isOk() ? doneMessage() : failureMessage(outcome, target), outcome.isOk());
}

QString Backup::doneMessage() const
{
    return QStringLiteral("Database has been backedup to: ") + txtDrivePath->text();
}

void Backup::tell(const QString& message, bool made)
{
    unsetCursor();
    if (made) {
        leaveTopmostBand();
        prompter().message(ShopPlace::naming(message));
        close();
        return;
    }
    txtDrivePath->setReadOnly(false);
    cmdBrowes->setEnabled(true);
    cmdBackup->setEnabled(true);
    Label1->setText(QString::fromLatin1(Prompt));
    prompter().message(ShopPlace::naming(message));
    txtDrivePath->setFocus();
    txtDrivePath->selectAll();
}

void Backup::closeEvent(QCloseEvent* event)
{
    // The window closes with its result; the dump is not cut off on the way.
    if (m_dump->isRunning())
        event->ignore();
    else
        QWidget::closeEvent(event);
}

void Backup::leaveTopmostBand()
{
    // The window closes right after the message; hiding it now keeps the message on top.
    setWindowFlag(Qt::WindowStaysOnTopHint, false);
    hide();
}
