#include "reportengine/reportcommand.h"
#include "reportengine/reportoutput.h"
#include "reportengine/reportpager.h"
#include "reports/reportpreview.h"
#include "support/dbprobe.h"
#include "support/pdftext.h"
#include "support/testfolder.h"

#include <QLabel>
#include <QPointer>
#include <QtTest>

namespace {

/** Enough inventory items for the inventory list to fill several pages. */
void addItems(int count)
{
    for (int i = 0; i < count; ++i)
        QVERIFY(DbProbe::exec("INSERT INTO Inventory (ItemNo, ItemDescp, ItemPrice1, ItemType) "
                              "VALUES (?, ?, ?, 'Parts')",
                              QStringLiteral("P%1").arg(i, 4, 10, QLatin1Char('0')),
                              QStringLiteral("Part number %1").arg(i), 1000 * i));
}

ReportPreviewWindow* openPreview()
{
    for (QWidget* window : QApplication::topLevelWidgets())
        if (auto* found = qobject_cast<ReportPreviewWindow*>(window); found && found->isVisible())
            return found;
    return nullptr;
}

/** Every item of every page, where it stands and what it says. */
QStringList itemsOf(const QList<ReportPage>& pages)
{
    QStringList items;
    for (const ReportPage& page : pages) {
        for (const PageItem& item : page.items)
            items << QStringLiteral("%1 %2,%3 %4 %5")
                         .arg(static_cast<int>(item.kind))
                         .arg(item.rect.x())
                         .arg(item.rect.y())
                         .arg(item.font)
                         .arg(item.text);
        items << QStringLiteral("--");
    }
    return items;
}

} // namespace

/** The preview of a long report: its first page at once, the others while the user reads. */
class TestReportPreview : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void firstPageAtOnceThenEveryPage()
    {
        TestFolder folder(TestFolder::Content::Demo);
        addItems(400);
        QVERIFY(previewReport(
            {QStringLiteral("Inventory List.rpt"), {}, QStringLiteral("Inventory List"), {}}));
        QPointer<ReportPreviewWindow> preview = openPreview();
        QVERIFY(preview);
        auto* count = preview->findChild<QLabel*>(QStringLiteral("lblPageCount"));
        QCOMPARE(preview->pageCount(), 1);
        QVERIFY(!preview->complete());
        QCOMPARE(count->text(), QString("of 1+"));
        preview->showPage(3);
        QCOMPARE(preview->currentPage(), 1);

        QTRY_VERIFY_WITH_TIMEOUT(preview->complete(), 20000);
        const QString pdf = folder.filePath(QStringLiteral("list.pdf"));
        QCOMPARE(runReportCommand(QStringLiteral("Inventory List"), {}, pdf), 0);
        const int pages = pdfPageCount(pdf);
        QVERIFY(pages > 3);
        QCOMPARE(preview->pageCount(), pages);
        QCOMPARE(count->text(), QStringLiteral("of %1").arg(pages));
        preview->showPage(pages + 1);
        QCOMPARE(preview->currentPage(), pages);
        preview->close();
        QTRY_VERIFY(!preview);
    }

    void slicedPagesMatchOneRun()
    {
        TestFolder folder(TestFolder::Content::Demo);
        addItems(150);
        auto job =
            ReportJob::prepare({resolveLayoutPath(QStringLiteral("Inventory List")), {}, {}, {}});
        QVERIFY(job);
        CollectingPageSink whole;
        QVERIFY(job.value()->run(whole));
        auto pager = ReportPager::open(job.value());
        QVERIFY(pager);
        // Each slice lays out a single record: a break between any two records must not show.
        while (pager.value()->layOutFor(0))
            ;
        QCOMPARE(itemsOf(pager.value()->report().pages), itemsOf(whole.pages));
    }
};

QTEST_MAIN(TestReportPreview)
#include "tst_reportpreview.moc"
