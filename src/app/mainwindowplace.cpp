#include "app/mainwindowplace.h"

#include <QGuiApplication>
#include <QMainWindow>
#include <QScreen>
#include <QSettings>

namespace {
const QString Key = QStringLiteral("window/geometry");
} // namespace

namespace MainWindowPlace {

void restore(QMainWindow& window, const QSettings& settings)
{
    const QByteArray kept = settings.value(Key).toByteArray();
    if (kept.isEmpty() || !window.restoreGeometry(kept))
        return;
    // A screen unplugged since leaves the window where it can still be reached.
    if (!QGuiApplication::screenAt(window.geometry().center()))
        window.move(QGuiApplication::primaryScreen()->availableGeometry().topLeft());
}

void remember(const QMainWindow& window, QSettings& settings)
{
    settings.setValue(Key, window.saveGeometry());
}

} // namespace MainWindowPlace
