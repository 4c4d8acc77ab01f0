#include "widgets/hourglass.h"

#include <QCursor>
#include <QGuiApplication>

Hourglass::Hourglass()
{
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
}

Hourglass::~Hourglass()
{
    QGuiApplication::restoreOverrideCursor();
}
