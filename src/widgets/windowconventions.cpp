#include "widgets/windowconventions.h"

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

// The icon is compiled into the program's library, whose resources must be registered by hand.
static QIcon loadApplicationIcon()
{
    Q_INIT_RESOURCE(resources);
    return QIcon(QStringLiteral(":/quorvane.svg"));
}

namespace WindowConventions {

QIcon applicationIcon()
{
    static const QIcon icon = loadApplicationIcon();
    return icon;
}

void applyIcon(QWidget* window)
{
    window->setWindowIcon(applicationIcon());
}

QWidget* mainWindow()
{
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == QLatin1String("MDIHelpDesk"))
            return widget;
    }
    return nullptr;
}

void centreOnMainWindow(QWidget* popup)
{
    QRect area;
    if (QWidget* main = mainWindow())
        area = main->frameGeometry();
    else if (QScreen* screen = QApplication::primaryScreen())
        area = screen->availableGeometry();
    const QSize size = popup->frameGeometry().size();
    QPoint place(area.left() + area.width() / 2 - size.width() / 2,
                 area.top() + area.height() / 2 - size.height() / 2);
    // Over a main window partly off the screen, the pop-up still opens wholly on it.
    if (const QScreen* screen = QGuiApplication::screenAt(area.center())) {
        const QRect room = screen->availableGeometry();
        place.setX(
            std::clamp(place.x(), room.left(), std::max(room.left(), room.right() - size.width())));
        place.setY(
            std::clamp(place.y(), room.top(), std::max(room.top(), room.bottom() - size.height())));
    }
    popup->move(place);
}

} // namespace WindowConventions
