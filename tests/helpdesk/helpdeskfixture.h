#pragma once

#include "data/session.h"
#include "widgets/tabbedlist.h"
#include "data/database.h"
#include "helpdesk/helpdesk.h"
#include "support/scriptedprompter.h"
#include "support/testfolder.h"
#include "support/widgettesting.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <memory>

/** A help desk window on a fresh demo shop, opened by a technician, with scripted messages. */
class HelpDeskFixture {
public:
    explicit HelpDeskFixture(const QString& technician = QStringLiteral("JTT-1"))
        : m_folder(TestFolder::Content::Demo)
    {
        Session::setCurrentEmployeeId(technician);
    }

    /** Opens the window; change the database first where the load step must see it. */
    HelpDesk& open()
    {
        m_window = std::make_unique<HelpDesk>();
        return *m_window;
    }
    HelpDesk& window() { return m_window ? *m_window : open(); }
    ScriptedPrompter& prompts() { return m_prompts; }

    template <typename T> T* find(const char* name)
    {
        return WidgetTesting::child<T>(&window(), name);
    }
    QLineEdit* box(const char* name) { return find<QLineEdit>(name); }
    QPlainTextEdit* area(const char* name) { return find<QPlainTextEdit>(name); }
    QComboBox* combo(const char* name) { return find<QComboBox>(name); }
    void click(const char* name) { find<QPushButton>(name)->click(); }

    /** The customer of the call that fillCall() types. */
    static constexpr const char* CallCustomer = "AES-3   Allen Dental Associates";

    /** Fills the fields of page "Log New Call" in screen order, the first `fields` of them (all
     *  seven by default): a paper jam at the customer's printer. */
    void fillCall(int fields = 7)
    {
        using WidgetTesting::choose;
        const auto step = [&](int n, auto fill) {
            if (n < fields)
                fill();
        };
        step(0, [&] { QVERIFY(choose(combo("combCustIDHD"), QString::fromLatin1(CallCustomer))); });
        step(1, [&] { QVERIFY(choose(combo("combPriority"), QStringLiteral("1-High"))); });
        step(2, [&] { QVERIFY(choose(combo("combCallStatus"), QStringLiteral("Open"))); });
        step(3, [&] { QVERIFY(choose(combo("combProbType"), QStringLiteral("Hardware"))); });
        step(4, [&] { QVERIFY(choose(combo("combTypeSpec"), QStringLiteral("Printer"))); });
        step(5, [&] { box("txtQuickDesc")->setText(QStringLiteral("Paper jam")); });
        step(6, [&] { area("txtProb")->setPlainText(QStringLiteral("Jams on every page.")); });
    }

    /** Chooses a line of a list as a click on it does. */
    static void chooseLine(TabbedList* list, int row)
    {
        list->setCurrentIndex(list->model()->index(row, 0));
    }
    static QStringList items(const QComboBox* combo)
    {
        QStringList texts;
        for (int i = 0; i < combo->count(); ++i)
            texts << combo->itemText(i);
        return texts;
    }
    static QStringList items(const QListWidget* list)
    {
        QStringList texts;
        for (int i = 0; i < list->count(); ++i)
            texts << list->item(i)->text();
        return texts;
    }

    /** A single value read from the database; an invalid variant when there is no row. */
    template <typename... Args> static QString value(const QString& sql, const Args&... args)
    {
        Database db;
        Query query = db.query(sql, args...);
        return query.next() ? (query.isNull(0) ? QStringLiteral("<null>") : query.text(0))
                            : QStringLiteral("<none>");
    }
    template <typename... Args> static bool exec(const QString& sql, const Args&... args)
    {
        Database db;
        return db.exec(sql, args...).isOk();
    }

private:
    TestFolder m_folder;
    ScriptedPrompter m_prompts;
    std::unique_ptr<HelpDesk> m_window;
};
