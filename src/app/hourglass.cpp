#include "app/hourglass.h"

#include <QGuiApplication>

Hourglass::Hourglass()
{
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
}

Hourglass::~Hourglass()
{
    QGuiApplication::restoreOverrideCursor();
}
