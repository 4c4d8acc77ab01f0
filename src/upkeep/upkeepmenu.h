#pragma once

#include <QObject>
#include <QPointer>

class Backup;

/** The File menu's upkeep entries: backup, compaction, restore from a backup and the purges of
 * tickets, invoices and knowledge-base solutions. The main window connects its menu entries to
 * these slots. */
class UpkeepMenu : public QObject {
    Q_OBJECT

public:
    explicit UpkeepMenu(QObject* parent = nullptr);

    /** The open Backup window, if any. */
    Backup* backupWindow() const;

public Q_SLOTS:
    void mnubackup_Click();
    void mnucompact_Click();
    void mnurestore_Click();
    void mnudeloneticket_Click();
    void mnuDelAllTic_Click();
    void mnudelinv_Click();
    void mnudelallinv_Click();
    void mnuDelOneSol_Click();
    void mnuDelAllSols_Click();

private:
    QPointer<Backup> m_backup;
};
