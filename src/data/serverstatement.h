#pragma once

#include <QByteArray>
#include <QString>
#include <vector>

/** A portable statement rewritten for the PostgreSQL server: its `?` placeholders numbered
 *  `$1..$n`, and the placeholders whose type the server cannot infer from their place. */
struct ServerStatement {
    /** Rewrites `sql` in one pass; a `?` inside a string, a quoted name or a comment stays. */
    static ServerStatement fromPortable(const QString& sql);

    QByteArray text;
    /** One entry a placeholder: true where nothing around it gives it a type (`? IS NULL`), so
     *  that a text or null value must be sent typed as text. */
    std::vector<bool> needsType;
    /** CREATE, ALTER or DROP: statements prepared before may no longer fit the tables. */
    bool changesSchema = false;
};
