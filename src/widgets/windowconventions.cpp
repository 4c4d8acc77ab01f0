#include "widgets/windowconventions.h"

#include <QApplication>
#include <QScreen>
#include <QWidget>

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
    popup->move(area.left() + area.width() / 2 - size.width() / 2,
                area.top() + area.height() / 2 - size.height() / 2);
}

} // namespace WindowConventions
