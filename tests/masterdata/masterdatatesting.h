#pragma once

#include "support/dbprobe.h"
#include "support/scriptedprompter.h"
#include "support/testfolder.h"
#include "support/widgettesting.h"

namespace MasterDataTesting {

/** A fresh program folder, prepared by the `setup` statements, and a scripted prompter. */
struct Fixture {
    explicit Fixture(TestFolder::Content content = TestFolder::Content::Demo,
                     const QStringList& setup = {})
        : folder(content)
    {
        for (const QString& sql : setup)
            QVERIFY(DbProbe::exec(sql));
    }
    TestFolder folder;
    ScriptedPrompter prompts;
};

/** The window `W` on a fixture of its own, shown and active; the fixture goes after it. */
template <typename W> struct Shown : Fixture, W {
    template <typename... Args> explicit Shown(Args&&... args) : Fixture(args...)
    {
        QVERIFY(WidgetTesting::showActive(this));
    }
};

/** Chooses the list line whose first word is `key`, as a click in the list does. */
inline bool chooseKey(QComboBox* combo, const QString& key)
{
    for (int i = 0; i < combo->count(); ++i) {
        if (combo->itemText(i).section(QLatin1Char(' '), 0, 0) == key)
            return WidgetTesting::choose(combo, combo->itemText(i));
    }
    return false;
}

/** The `columns` of the rows of `table` that `where` picks, joined by bars, a line a row. */
inline QString stored(const QString& table, const QString& columns, const QString& where)
{
    return DbProbe::column("SELECT " + columns.split(',').join(" || '|' || ") + " FROM " + table +
                           " WHERE " + where)
        .join('\n');
}

} // namespace MasterDataTesting
