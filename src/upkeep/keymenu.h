#pragma once

#include <QObject>

class QMenu;

/** The File menu's entries for the shop's key: moving a file of an older release to a key of
 *  its own, and keeping the key safe as a file or a printed recovery sheet. They concern the
 *  shop's file only; the main window connects its menu entries to these slots. */
class KeyMenu : public QObject {
    Q_OBJECT

public:
    explicit KeyMenu(QObject* parent = nullptr);

    /** Shows in `fileMenu` only the entries that apply to the shop now: none on a server, the
     *  move to a key of its own for a file with the old password, saving and printing the key
     *  for a file that has one. */
    static void showEntriesIn(QMenu* fileMenu);

public Q_SLOTS:
    void mnuOwnKey_Click();
    void mnuSaveKey_Click();
    void mnuKeySheet_Click();
};
