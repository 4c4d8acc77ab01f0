#pragma once

#include <QString>

/** Gives a new control the object name that handlers and tests find it by; returns it. */
template <typename T> T* named(T* widget, const char* name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}
