#pragma once

#include "data/database.h"

#include <QString>
#include <QStringList>
#include <QtGlobal>

/** Reads and writes the test's database directly: to prepare a case and to check what the
 *  program stored. Failures are warned about, so that a broken probe is not a silent pass. */
namespace DbProbe {

/** The first column of the first row as text: "<null>" for a null, "<none>" for no row. */
template <typename... Args> QString value(const QString& sql, const Args&... args)
{
    Database db;
    Query query = db.query(sql, args...);
    if (!query.next()) {
        if (!query.status())
            qWarning("%s: %s", qPrintable(sql), qPrintable(query.status().message()));
        return QStringLiteral("<none>");
    }
    return query.isNull(0) ? QStringLiteral("<null>") : query.text(0);
}

/** The number of rows of `table`, of those that match `where` when it is given. */
template <typename... Args>
qint64 count(const QString& table, const QString& where = {}, const Args&... args)
{
    QString sql = QStringLiteral("SELECT count(*) FROM ") + table;
    if (!where.isEmpty())
        sql += QStringLiteral(" WHERE ") + where;
    const QString counted = value(sql, args...);
    return counted.toLongLong();
}

/** The first column of every row, as text. */
template <typename... Args> QStringList column(const QString& sql, const Args&... args)
{
    Database db;
    Query query = db.query(sql, args...);
    QStringList values;
    while (query.next())
        values << query.text(0);
    if (!query.status())
        qWarning("%s: %s", qPrintable(sql), qPrintable(query.status().message()));
    return values;
}

/** Runs a statement that returns no rows; false, with a warning, when it fails. */
template <typename... Args> bool exec(const QString& sql, const Args&... args)
{
    Database db;
    const Status status = db.exec(sql, args...);
    if (!status)
        qWarning("%s: %s", qPrintable(sql), qPrintable(status.message()));
    return status.isOk();
}

} // namespace DbProbe
