#pragma once

#include <QByteArray>
#include <QString>

/** The bytes of a file; empty when it cannot be read. */
QByteArray contentsOf(const QString& path);

/** Writes the bytes as the whole file; false when that fails. */
bool writeFile(const QString& path, const QByteArray& bytes);
