#pragma once

#include "data/session.h"
#include "helpdesk/helpdesk.h"
#include "support/dbprobe.h"
#include "support/scriptedprompter.h"
#include "support/testfolder.h"
#include "support/widgettesting.h"
#include "widgets/tabbedlist.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <memory>

using WidgetTesting::choose;

/** Adds a row of test data: its name and its values, one for each column. */
template <typename... Values> void addRow(const char* name, const Values&... values)
{
    (QTest::newRow(name) << ... << values);
}

/** A help desk window on a fresh demo shop, opened by a technician, with scripted messages. */
class HelpDeskFixture {
public:
    HelpDeskFixture() : m_folder(TestFolder::Content::Demo)
    {
        Session::setCurrentEmployeeId(QStringLiteral("JTT-1"));
    }

    /** Opens the window: change the database first where the load step must see it. */
    HelpDesk& open()
    {
        m_window = std::make_unique<HelpDesk>();
        return *m_window;
    }
    HelpDesk& window() { return m_window ? *m_window : open(); }
    void close() { m_window.reset(); }
    ScriptedPrompter& prompts() { return m_prompts; }

    template <typename T> T* find(const char* name)
    {
        return WidgetTesting::child<T>(&window(), name);
    }
    QLineEdit* box(const char* name) { return find<QLineEdit>(name); }
    QPlainTextEdit* area(const char* name) { return find<QPlainTextEdit>(name); }
    QComboBox* combo(const char* name) { return find<QComboBox>(name); }
    TabbedList* list(const char* name) { return find<TabbedList>(name); }
    QPushButton* button(const char* name) { return find<QPushButton>(name); }
    void click(const char* name) { button(name)->click(); }
    /** Puts `text` into the named box or area. */
    void type(const char* name, const QString& text)
    {
        QWidget* control = find<QWidget>(name);
        control->setProperty(control->inherits("QPlainTextEdit") ? "plainText" : "text", text);
    }
    /** Chooses the entry of the named combo as a click in its list does. */
    void pick(const char* name, const QString& entry) { QVERIFY(choose(combo(name), entry)); }

    /** What the named controls show, joined by '|': a box's or an area's text, a combo's or
     *  a list's entries joined by '/'. */
    QString texts(const QStringList& names)
    {
        QStringList shown;
        for (const QString& name : names) {
            QWidget* control = window().findChild<QWidget*>(name);
            QStringList lines;
            if (auto* combo = qobject_cast<QComboBox*>(control))
                for (int i = 0; i < combo->count(); ++i)
                    lines << combo->itemText(i);
            else if (auto* list = qobject_cast<QListWidget*>(control))
                for (int i = 0; i < list->count(); ++i)
                    lines << list->item(i)->text();
            else if (control)
                lines << control
                             ->property(control->inherits("QPlainTextEdit") ? "plainText" : "text")
                             .toString();
            shown << (control ? lines.join('/') : "<no " + name + '>');
        }
        return shown.join('|');
    }

    /** Fills the fields of page "Log New Call" in screen order, the first `fields` of them (all
     *  seven by default): a paper jam at the printer of AES-3, Allen Dental Associates. */
    void fillCall(int fields = 7)
    {
        const QList<std::pair<const char*, QString>> choices = {
            {"combCustIDHD", "AES-3   Allen Dental Associates"},
            {"combPriority", "1-High"},
            {"combCallStatus", "Open"},
            {"combProbType", "Hardware"},
            {"combTypeSpec", "Printer"}};
        for (int n = 0; n < std::min<int>(fields, choices.size()); ++n)
            pick(choices[n].first, choices[n].second);
        type("txtQuickDesc", fields > 5 ? "Paper jam" : "");
        type("txtProb", fields > 6 ? "Jams on every page." : "");
    }

    /** Chooses the ticket's line of the open tickets as a click on it does. */
    void chooseTicket(int number)
    {
        const QStringList lines = list("lstOpenTickets")->lines();
        for (int row = 0; row < lines.size(); ++row)
            if (lines[row].section(QLatin1Char('\t'), 0, 0) == QString::number(number))
                return chooseLine(list("lstOpenTickets"), row);
        QFAIL("ticket not listed");
    }
    /** Chooses a line of a list as a click on it does. */
    static void chooseLine(TabbedList* list, int row)
    {
        list->setCurrentIndex(list->model()->index(row, 0));
    }

private:
    TestFolder m_folder;
    ScriptedPrompter m_prompts;
    std::unique_ptr<HelpDesk> m_window;
};
