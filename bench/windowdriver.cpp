#include "windowdriver.h"

#include "data/database.h"
#include "helpdesk/helpdesk.h"
#include "helpdesk/logcallpage.h"
#include "helpdesk/openticketspage.h"
#include "helpdesk/searchkbpage.h"
#include "login/login.h"
#include "receivables/custhistory.h"
#include "receivables/payment.h"
#include "reportengine/reportjob.h"
#include "reportengine/reportoutput.h"
#include "reports/reportpreview.h"
#include "support/scriptedprompter.h"
#include "support/widgettesting.h"
#include "tickets/openorders.h"
#include "widgets/tabbedlist.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <algorithm>
#include <memory>
#include <vector>

using BenchHarness::medianMs;

namespace {

// The help desk pages, in tab order.
constexpr int OpenTicketsTab = 1;
constexpr int SearchTab = 2;

void chooseFirst(QComboBox* combo)
{
    if (combo->count() == 0)
        return;
    combo->setCurrentIndex(0);
    Q_EMIT combo->activated(0);
}

template <typename Window> std::unique_ptr<Window> shown()
{
    auto window = std::make_unique<Window>();
    window->show();
    QApplication::processEvents();
    return window;
}

} // namespace

void WindowDriver::close(QWidget* window)
{
    delete window;
    QApplication::processEvents();
}

bool WindowDriver::chooseByKey(QComboBox* combo, const QString& key)
{
    for (int i = 0; i < combo->count(); ++i) {
        if (combo->itemText(i).startsWith(key + QLatin1Char(' '))) {
            combo->setCurrentIndex(i);
            Q_EMIT combo->activated(i);
            return true;
        }
    }
    qWarning("No entry %s in %s", qPrintable(key), qPrintable(combo->objectName()));
    return false;
}

void WindowDriver::clickLine(TabbedList* list, int row)
{
    const QRect line = list->visualRect(list->model()->index(row, 0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, line.center());
}

double WindowDriver::timeLogin(int runs, const QString& empId, const QString& password)
{
    Login* window = nullptr;
    return medianMs(
        runs, [&] { window->cmdLogin->click(); },
        [&] {
            window = new Login;
            WidgetTesting::showActive(window);
            WidgetTesting::typeInto(window->txtEmpID, empId);
            WidgetTesting::typeInto(window->txtPwd, password);
        },
        [&] { close(window); });
}

double WindowDriver::timeChoosingOpenTicket(int runs)
{
    auto window = shown<HelpDesk>();
    window->SSTab1->setCurrentIndex(OpenTicketsTab);
    QApplication::processEvents();
    TabbedList* list = window->openTicketsPage()->lstOpenTickets;
    int run = 0;
    // A click on the line already chosen does nothing, so the runs alternate between lines.
    const double ms = medianMs(runs, [&] { clickLine(list, run++ % 2); });
    m_chosenTicket = list->currentLine().section(QLatin1Char('\t'), 0, 0).toInt();
    return ms;
}

double WindowDriver::timeLoggingCall(int runs)
{
    auto window = shown<HelpDesk>();
    LogCallPage* page = window->logCallPage();
    return medianMs(
        runs, [&] { page->cmdLogCall->click(); },
        [&] {
            // Any customer will do; the busiest would only be slower to find.
            chooseFirst(page->combCustIDHD);
            chooseFirst(page->combPriority);
            chooseFirst(page->combCallStatus);
            chooseFirst(page->combProbType);
            chooseFirst(page->combTypeSpec);
            page->txtQuickDesc->setText(QStringLiteral("Paper jam"));
            page->txtProb->setPlainText(QStringLiteral("Jams on every page."));
        });
}

double WindowDriver::timeKnowledgeBaseSearch(int runs, const QString& text)
{
    auto window = shown<HelpDesk>();
    window->SSTab1->setCurrentIndex(SearchTab);
    QApplication::processEvents();
    SearchKbPage* page = window->searchKbPage();
    WidgetTesting::typeInto(page->txtSearchProb, text);
    const double ms = medianMs(runs, [&] {
        page->cmdGetSearch->click();
        QApplication::processEvents();
    });
    m_lineCount = page->lstSearchRes->count();
    return ms;
}

namespace {

int ticketCount()
{
    Database db;
    Query q = db.query(QStringLiteral("SELECT COUNT(*) FROM CallLog"));
    return q.next() ? static_cast<int>(q.integer(0)) : 0;
}

} // namespace

double WindowDriver::waitForTicketLog(OpenOrders* window)
{
    const int total = ticketCount();
    double longestPause = 0;
    QElapsedTimer waited;
    waited.start();
    while (window->lstOpenOrders->count() < total && waited.elapsed() < WaitLimitMs) {
        QElapsedTimer pause;
        pause.start();
        QApplication::processEvents();
        longestPause = std::max(longestPause, static_cast<double>(pause.nsecsElapsed()) / 1e6);
    }
    if (window->lstOpenOrders->count() < total)
        qWarning("The ticket log listed %d of %d tickets", window->lstOpenOrders->count(), total);
    return longestPause;
}

double WindowDriver::timeOpeningTicketLog(int runs)
{
    std::vector<double> times;
    std::vector<double> counts;
    for (int run = 0; run < std::max(1, runs); ++run) {
        const std::uint64_t counted = BenchHarness::countNow();
        QElapsedTimer timer;
        timer.start();
        double paintedMs = -1;
        auto* window = new OpenOrders;
        QObject::connect(window->lstOpenOrders, &TabbedList::painted, window, [&] {
            if (paintedMs < 0) {
                paintedMs = static_cast<double>(timer.nsecsElapsed()) / 1e6;
                counts.push_back(static_cast<double>(BenchHarness::countNow() - counted));
            }
        });
        window->show();
        while (paintedMs < 0 && timer.elapsed() < WaitLimitMs)
            QApplication::processEvents();
        times.push_back(paintedMs);
        close(window);
    }
    BenchHarness::noteCounts(std::move(counts));
    return BenchHarness::median(std::move(times));
}

double WindowDriver::timeFillingTicketLog(int runs)
{
    OpenOrders* window = nullptr;
    std::vector<double> pauses;
    const double ms = BenchHarness::medianMs(
        runs,
        [&] {
            window = new OpenOrders;
            window->show();
            pauses.push_back(waitForTicketLog(window));
        },
        {}, [&] { close(window); });
    m_longestPause = BenchHarness::median(std::move(pauses));
    return ms;
}

double WindowDriver::timeChoosingTechnician(int runs, const QString& empId)
{
    auto window = shown<OpenOrders>();
    waitForTicketLog(window.get());
    window->SSTab1->setCurrentIndex(1);
    QApplication::processEvents();
    return medianMs(runs, [&] {
        chooseByKey(window->combTech, empId);
        QApplication::processEvents();
    });
}

double WindowDriver::timeChoosingIn(int runs, QWidget* window, const QString& custId,
                                    TabbedList* filledList)
{
    auto* combo = window->findChild<QComboBox*>(QStringLiteral("combCustID"));
    const double ms = medianMs(runs, [&] {
        chooseByKey(combo, custId);
        QApplication::processEvents();
    });
    m_lineCount = filledList->count();
    return ms;
}

double WindowDriver::timeChoosingPaymentCustomer(int runs, const QString& custId)
{
    auto window = shown<Payment>();
    return timeChoosingIn(runs, window.get(), custId, window->List2);
}

double WindowDriver::timeChoosingHistoryCustomer(int runs, const QString& custId)
{
    auto window = shown<CustHistory>();
    return timeChoosingIn(runs, window.get(), custId, window->lstHistory);
}

double WindowDriver::timeFindingCustomer(int runs, const QString& start, const QString& key)
{
    auto window = shown<Payment>();
    QComboBox* combo = window->combCustID;
    combo->setFocus();
    // Escape after each run puts back the empty box the next run starts from.
    const double ms = medianMs(
        runs,
        [&] {
            QTest::keyClicks(combo, key);
            QApplication::processEvents();
        },
        [&] {
            QTest::keyClicks(combo, start);
            QApplication::processEvents();
        },
        [&] { QTest::keyClick(combo, Qt::Key_Escape); });
    QTest::keyClicks(combo, start + key);
    auto* found = combo->findChild<TabbedList*>(QStringLiteral("lstFound"));
    m_lineCount = found && found->isVisible() ? found->count() : 0;
    QTest::keyClick(combo, Qt::Key_Escape);
    return ms;
}

double WindowDriver::timeReport(int runs, const QString& layout, const QString& pdfPath)
{
    return medianMs(
        runs,
        [&] {
            auto job = ReportJob::prepare({resolveLayoutPath(layout), QString(), QString(), {}});
            if (!job) {
                m_prompts.message(job.status().message(), layout, Prompter::Icon::None);
                return;
            }
            PdfPageSink sink(pdfPath, job.value()->title(), job.value()->layout().landscape);
            Status status = job.value()->run(sink);
            if (status)
                status = sink.close();
            if (!status)
                m_prompts.message(status.message(), layout, Prompter::Icon::None);
            m_pageCount = sink.pageCount();
        },
        {}, [&] { QFile::remove(pdfPath); });
}

ReportPreviewWindow* WindowDriver::reportPreview()
{
    for (QWidget* window : QApplication::topLevelWidgets())
        if (auto* found = qobject_cast<ReportPreviewWindow*>(window))
            return found;
    return nullptr;
}

double WindowDriver::timeReportFirstPage(int runs, const QString& layout)
{
    return medianMs(
        runs,
        [&] {
            previewReport({layout + QStringLiteral(".rpt"), {}, layout, {}});
            QApplication::processEvents();
            m_pageCount = reportPreview() ? reportPreview()->pageCount() : 0;
        },
        {}, [&] { close(reportPreview()); });
}

double WindowDriver::timeReportAllPages(int runs, const QString& layout)
{
    return medianMs(
        runs,
        [&] {
            previewReport({layout + QStringLiteral(".rpt"), {}, layout, {}});
            ReportPreviewWindow* preview = reportPreview();
            QElapsedTimer waited;
            waited.start();
            while (preview && !preview->complete() && waited.elapsed() < WaitLimitMs)
                QApplication::processEvents();
            m_pageCount = preview ? preview->pageCount() : 0;
        },
        {}, [&] { close(reportPreview()); });
}

double WindowDriver::peakMemoryWithAllWindowsOpen(const QString& custId, const QString& empId)
{
    auto helpDesk = shown<HelpDesk>();
    auto openOrders = shown<OpenOrders>();
    waitForTicketLog(openOrders.get());
    chooseByKey(openOrders->combTech, empId);
    auto payment = shown<Payment>();
    chooseByKey(payment->combCustID, custId);
    auto history = shown<CustHistory>();
    chooseByKey(history->combCustID, custId);
    QApplication::processEvents();
    return BenchHarness::peakMemoryMb();
}

QStringList WindowDriver::unexpectedMessages() const
{
    return m_prompts.messages();
}
