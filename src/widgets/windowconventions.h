#pragma once

#include <QIcon>
#include <QSize>

class QWidget;

/** What every window of the program shares: its icon, the size of the large task windows and
 *  the placing of pop-ups over the main window. */
namespace WindowConventions {

/** The large task windows: 12000 by 9000 twips at 96 dots per inch. */
inline constexpr QSize TaskWindowSize{800, 600};

QIcon applicationIcon();
/** Gives `window` the application icon. */
void applyIcon(QWidget* window);
/** The main window (object name MDIHelpDesk), or nullptr when it is not open. */
QWidget* mainWindow();
/** Places `popup` at the centre of the main window (or of the screen when there is none),
 *  wholly on the screen. */
void centreOnMainWindow(QWidget* popup);

} // namespace WindowConventions
