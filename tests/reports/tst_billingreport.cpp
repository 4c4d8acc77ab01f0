#include "reports/billingreport.h"
#include "reports/saletax.h"
#include "support/reportcapture.h"
#include "support/scriptedprompter.h"
#include "support/testfolder.h"
#include "support/widgettesting.h"

#include <QPushButton>
#include <QtTest>

using namespace WidgetTesting;

/** The two "Enter Report Dates" windows: date boxes, their checks and the dated report. */
class TestBillingReport : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void leavingADateBox_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("after");
        QTest::addColumn<bool>("warned");
        auto row = [](const char* name, const char* typed, const char* after, bool warned) {
            QTest::newRow(name) << typed << after << warned;
        };
        row("six digits", "011504", "01/15/04", false);
        row("a date stays", "1/5/04", "1/5/04", false);
        row("four digits", "1231", "1231", true);
        row("seven digits", "1231045", "1231045", true);
        row("words", "yesterday", "YESTERDAY", true);
        row("empty passes", "", "", false);
    }

    void leavingADateBox()
    {
        QFETCH(QString, typed);
        QFETCH(QString, after);
        QFETCH(bool, warned);
        TestFolder folder(TestFolder::Content::Demo);
        ScriptedPrompter prompts;
        SaleTax window;
        QVERIFY(showActive(&window));
        // The end box passes letters through the capitals filter; check both boxes alike.
        for (QLineEdit* box : {window.txtEDate, window.txtSDate}) {
            prompts.clear();
            typeInto(box, typed);
            (box == window.txtSDate ? window.txtEDate : window.txtSDate)->setFocus();
            QCOMPARE(box->text().toUpper(), after.toUpper());
            QCOMPARE(prompts.messages(),
                     warned ? QStringList({"Please enter a valid date in mm/dd/yy format!"})
                            : QStringList());
        }
    }

    void getReportNeedsBothDates()
    {
        TestFolder folder(TestFolder::Content::Demo);
        ScriptedPrompter prompts;
        ReportCapture capture;
        BillingReport window;
        QVERIFY(showActive(&window));
        window.txtEDate->setText("02/01/04");
        window.Command1->click();
        QCOMPARE(prompts.lastMessage(),
                 QString("Please enter a start date in the mm/dd/yy format"));
        QCOMPARE(QApplication::focusWidget(), window.txtSDate);
        window.txtSDate->setText("01/15/04");
        window.txtEDate->clear();
        window.Command1->click();
        QCOMPARE(prompts.lastMessage(), QString("Please enter a end date in the mm/dd/yy format"));
        QCOMPARE(QApplication::focusWidget(), window.txtEDate);
        QVERIFY(capture.runs().isEmpty());

        // A box left unformatted reaches the engine, which names the formula it cannot read.
        window.txtSDate->setText("1231");
        window.txtEDate->setText("02/01/04");
        window.Command1->click();
        QVERIFY(capture.runs().isEmpty());
        QVERIFY(prompts.lastMessage().startsWith("Error in the record selection formula:"));
        QVERIFY(prompts.lastMessage().endsWith(
            "{ARINVOICE.InvDate} in Date(1231) to Date (2004,02,01)"));
    }

    void getReportRunsTheDatedLayout_data()
    {
        QTest::addColumn<bool>("billing");
        QTest::addColumn<QString>("layout");
        QTest::addColumn<QString>("title");
        QTest::newRow("billing") << true << "Bill.rpt"
                                 << "Billing Statement By Date";
        QTest::newRow("sales tax") << false << "Sales Tax.rpt"
                                   << "Sales Tax Report By Date";
    }

    void getReportRunsTheDatedLayout()
    {
        QFETCH(bool, billing);
        QFETCH(QString, layout);
        QFETCH(QString, title);
        TestFolder folder(TestFolder::Content::Demo);
        ScriptedPrompter prompts;
        ReportCapture capture;
        auto open = [billing] {
            QPointer<ReportDateWindow> window =
                billing ? static_cast<ReportDateWindow*>(new BillingReport) : new SaleTax;
            window->setAttribute(Qt::WA_DeleteOnClose);
            return window;
        };
        QPointer<ReportDateWindow> window = open();
        QVERIFY(showActive(window));
        typeInto(window->txtSDate, "011504");
        typeInto(window->txtEDate, "020104");
        QTest::keyClick(window->txtEDate, Qt::Key_Return); // Enter leaves the box as Tab does
        QCOMPARE(window->txtEDate->text(), QString("02/01/04"));
        window->Command1->click();
        QCOMPARE(capture.runs().size(), 1);
        QCOMPARE(capture.last().reportFileName, folder.filePath("Reports/" + layout));
        QCOMPARE(capture.last().selectionFormula,
                 QString("{ARINVOICE.InvDate} in Date(2004,01,15) to Date (2004,02,01)"));
        QCOMPARE(capture.last().windowTitle, title);
        QVERIFY(capture.text(capture.last()).contains("No invoices match this selection."));
        QTRY_VERIFY(!window); // the dates window makes way for its report

        // A range around the demo invoice finds it.
        window = open();
        const QDate today = QDate::currentDate();
        window->txtSDate->setText(today.addDays(-30).toString("MM/dd/yy"));
        window->txtEDate->setText(today.toString("MM/dd/yy"));
        window->Command1->click();
        QVERIFY(capture.text(capture.last()).contains("144.82"));
    }
};

QTEST_MAIN(TestBillingReport)
#include "tst_billingreport.moc"
