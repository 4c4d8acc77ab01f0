#pragma once

#include "benchharness.h"

#include <QApplication>
#include <QStringList>

class QComboBox;
class OpenOrders;
class ReportPreviewWindow;
class ScriptedPrompter;
class TabbedList;

/** Drives the program's real windows as a user would and times each step by its median. The
 *  windows are shown (offscreen) and their events handled inside the timing, so that layout
 *  and the first paint count. */
class WindowDriver {
public:
    explicit WindowDriver(ScriptedPrompter& prompts) : m_prompts(prompts) {}

    /** Constructing the window, showing it and handling its first events. */
    template <typename Window> double timeOpening(int runs)
    {
        Window* window = nullptr;
        return BenchHarness::medianMs(
            runs,
            [&] {
                window = new Window;
                window->show();
                QApplication::processEvents();
            },
            {}, [&] { close(window); });
    }

    double timeLogin(int runs, const QString& empId, const QString& password);
    /** Clicks a line of lstOpenTickets in an open help desk (the first lines in turn). */
    double timeChoosingOpenTicket(int runs);
    int lastChosenTicket() const { return m_chosenTicket; }
    /** Fills the Log New Call page untimed, then times the click on cmdLogCall. */
    double timeLoggingCall(int runs);
    double timeKnowledgeBaseSearch(int runs, const QString& text);
    int lastHitCount() const { return m_lineCount; }
    /** Opens the ticket log, timed until its first lines have been painted. */
    double timeOpeningTicketLog(int runs);
    /** Opens the ticket log and waits until its last page of lines has been added. */
    double timeFillingTicketLog(int runs);
    /** The longest the ticket log kept the program busy at a time while adding later pages
     *  (the median over the fills timed last). */
    double lastLongestPause() const { return m_longestPause; }
    double timeChoosingTechnician(int runs, const QString& empId);
    /** Chooses the customer in an open Payment window: the open invoices are listed. */
    double timeChoosingPaymentCustomer(int runs, const QString& custId);
    /** Chooses the customer in an open CustHistory window: the tickets are listed. */
    double timeChoosingHistoryCustomer(int runs, const QString& custId);
    int lastLineCount() const { return m_lineCount; }
    /** In an open Payment window, types `start` into the customer box untimed, then times the
     *  key `key` until the found customers are listed and painted. */
    double timeFindingCustomer(int runs, const QString& start, const QString& key);
    double timeReport(int runs, const QString& layout, const QString& pdfPath);
    /** Opens the report's preview, timed until its first page has been painted; the preview
     *  is then left laying out the rest. */
    double timeReportFirstPage(int runs, const QString& layout);
    /** Opens the report's preview and waits until every page is laid out. */
    double timeReportAllPages(int runs, const QString& layout);
    int lastPageCount() const { return m_pageCount; }

    /** Opens every measured window at once, each with its busiest choice made, and reads the
     *  process's peak memory in megabytes. */
    double peakMemoryWithAllWindowsOpen(const QString& custId, const QString& empId);

    /** Messages the windows showed; a correct run shows none. */
    QStringList unexpectedMessages() const;

private:
    static void close(QWidget* window);
    /** The open report preview, if any. */
    static ReportPreviewWindow* reportPreview();
    /** Lets the ticket log add its later pages, which it does while the program is idle, until
     *  every ticket is listed, and returns the longest time one turn of the events took. */
    static double waitForTicketLog(OpenOrders* window);
    /** Chooses the entry whose text starts with `key` followed by a space, as a click in the
     *  drop-down list does. */
    static bool chooseByKey(QComboBox* combo, const QString& key);
    static void clickLine(TabbedList* list, int row);
    double timeChoosingIn(int runs, QWidget* window, const QString& custId, TabbedList* filledList);

    ScriptedPrompter& m_prompts;
    int m_chosenTicket = 0;
    int m_lineCount = 0;
    int m_pageCount = 0;
    double m_longestPause = 0;
    static constexpr qint64 WaitLimitMs = 60000;
};
