#pragma once

class QMainWindow;
class QSettings;

/** Where the main window was on this workstation, kept in the user's settings: the next start
 *  opens it there again, maximised when it was. */
namespace MainWindowPlace {

/** Puts `window` where it last was, before it is shown; nothing on a first start or when that
 *  place lies on no screen now. */
void restore(QMainWindow& window, const QSettings& settings);
/** Keeps where `window` is now, its size before maximising included. */
void remember(const QMainWindow& window, QSettings& settings);

} // namespace MainWindowPlace
