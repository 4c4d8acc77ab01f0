#include "data/session.h"
#include "helpdesk/helpdesk.h"
#include "masterdata/customer.h"
#include "masterdata/employee.h"
#include "masterdata/inventory.h"
#include "receivables/payment.h"
#include "support/dbprobe.h"
#include "support/scriptedprompter.h"
#include "support/testfolder.h"
#include "support/widgettesting.h"
#include "tickets/openorders.h"
#include "widgets/tabbedlist.h"

#include <QTabWidget>
#include <QtTest>
#include <functional>
#include <memory>

using namespace WidgetTesting;

namespace {

using Opener = std::function<std::unique_ptr<QWidget>()>;

template <typename W> Opener opener()
{
    return [] { return std::make_unique<W>(); };
}

/** The entries of a combo or the lines of a list. */
int entries(QWidget* control)
{
    if (auto* combo = qobject_cast<QComboBox*>(control))
        return combo->count();
    return qobject_cast<TabbedList*>(control)->count();
}

/** Clicks into the control: the box of an editable combo, the lines of a list. */
void clickInto(QWidget* control)
{
    QWidget* target = control;
    if (auto* combo = qobject_cast<QComboBox*>(control); combo && combo->lineEdit())
        target = combo->lineEdit();
    else if (auto* list = qobject_cast<QAbstractScrollArea*>(control))
        target = list->viewport();
    QTest::mouseClick(target, Qt::LeftButton);
}

} // namespace

Q_DECLARE_METATYPE(Opener)

/** A list that cannot be read says so in the status line, and is read again once the user
 *  comes back to it, without the window being opened anew. */
class TestFailedReads : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void aListThatCannotBeReadSaysSoAndIsReadAgain_data()
    {
        QTest::addColumn<Opener>("open");
        QTest::addColumn<QString>("table");   // renamed while the window opens
        QTest::addColumn<QString>("control"); // the list that cannot be read
        QTest::addColumn<QString>("notice");
        QTest::addColumn<bool>("byTab"); // come back by showing its page rather than clicking it
        QTest::newRow("customers") << opener<Customer>() << "Customer"
                                   << "combCustID"
                                   << "The customer list" << false;
        QTest::newRow("payment's customers") << opener<Payment>() << "Customer"
                                             << "combCustID"
                                             << "The customer list" << false;
        QTest::newRow("parts") << opener<inventory>() << "Inventory"
                               << "combItemID"
                               << "The part list" << false;
        QTest::newRow("employees") << opener<Employee>() << "Employee"
                                   << "combEmpID"
                                   << "The employee list" << false;
        QTest::newRow("ticket log") << opener<OpenOrders>() << "CallLog"
                                    << "lstOpenOrders"
                                    << "The ticket log" << false;
        QTest::newRow("open tickets") << opener<HelpDesk>() << "CallLog"
                                      << "lstOpenTickets"
                                      << "The list of open tickets" << true;
    }

    void aListThatCannotBeReadSaysSoAndIsReadAgain()
    {
        QFETCH(Opener, open);
        QFETCH(QString, table);
        QFETCH(QString, control);
        QFETCH(QString, notice);
        QFETCH(bool, byTab);
        TestFolder folder(TestFolder::Content::Demo);
        ScriptedPrompter prompts;
        Session::setCurrentEmployeeId(QStringLiteral("JTT-1"));
        QVERIFY(DbProbe::exec("ALTER TABLE " + table + " RENAME TO Gone"));
        const std::unique_ptr<QWidget> window = open();
        QVERIFY(showActive(window.get()));
        auto* list = window->findChild<QWidget*>(control);
        QVERIFY(list);

        QCOMPARE(entries(list), 0);
        QVERIFY2(prompts.currentNotice().startsWith(notice + " could not be read: "),
                 qPrintable(prompts.currentNotice()));
        QVERIFY(prompts.notices().contains(prompts.currentNotice()));

        QVERIFY(DbProbe::exec("ALTER TABLE Gone RENAME TO " + table));
        if (byTab) {
            auto* tabs = window->findChild<QTabWidget*>(QStringLiteral("SSTab1"));
            tabs->setCurrentIndex(1);
        } else {
            clickInto(list);
        }
        QVERIFY(entries(list) > 0);
        QCOMPARE(prompts.currentNotice(), QString());
    }
};

QTEST_MAIN(TestFailedReads)
#include "tst_failedreads.moc"
