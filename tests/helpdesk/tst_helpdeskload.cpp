#include "helpdeskfixture.h"

#include <QGroupBox>
#include <QTabWidget>
#include <QtTest>

/** Opening the help desk window: its pages, frames, filled lists and next numbers. */
class TestHelpDeskLoad : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void pagesAndFramesCarryTheirCaptions()
    {
        HelpDeskFixture f;
        HelpDesk& window = f.window();
        QCOMPARE(window.windowTitle(), QStringLiteral("HelpDesk"));
        QCOMPARE(window.size(), QSize(800, 600));
        QTabWidget* tabs = window.SSTab1;
        QCOMPARE(tabs->objectName(), QStringLiteral("SSTab1"));
        QCOMPARE(tabs->count(), 4);
        QCOMPARE(tabs->currentIndex(), 0);
        const QStringList captions = {"Log New Call", "Open Tickets", "Search Knowledge Base",
                                      "Add to Knowledge Base"};
        for (int i = 0; i < captions.size(); ++i)
            QCOMPARE(tabs->tabText(i), captions[i]);
        QStringList frames;
        for (QGroupBox* box : tabs->widget(1)->findChildren<QGroupBox*>())
            frames << box->title();
        frames.sort();
        QCOMPARE(frames, (QStringList{"Comments", "Customer", "Invoice", "Open Tickets", "Problem",
                                      "Repair", "Solution"}));
        QVERIFY(f.find<QGroupBox>("Repair")->isAncestorOf(f.find<QGroupBox>("Invoice")));

        const QList<std::pair<const char*, const char*>> buttons = {
            {"cmdLogCall", "Log Call"},       {"cmdClearCall", "Clear"},
            {"cmdClearOT", "Clear"},          {"cmdCreateWrkOrd", "Create "},
            {"cmdRepairEdit", "Edit"},        {"cmdClearRepair", "Clear"},
            {"cmdInvoice", "Invoice"},        {"cmdClearInv", "Clear"},
            {"cmdUpdateCall", "Update Call"}, {"cmdClearAll", "Clear All"},
            {"cmdGetSearch", "Search"},       {"cmdClearSearch", "Clear"},
            {"cmdAddKBase", "Add"},           {"cmdClearKBase", "Clear"}};
        for (const auto& [name, caption] : buttons)
            QCOMPARE(f.find<QPushButton>(name)->text(), QString::fromLatin1(caption));
        QVERIFY(f.find<QPushButton>("cmdEmail"));
        QCOMPARE(f.find<QCheckBox>("chkKnowBase")->text(),
                 QStringLiteral("Save to Knowledge Base"));
        QCOMPARE(f.find<QCheckBox>("chkKnowOT")->text(), QStringLiteral("Save to Knowledge Base"));
        for (const char* name : {"txtQuickDesc", "txtProbType", "txtSearchProb", "txtKQDesc"})
            QCOMPARE(f.box(name)->maxLength(), 50);
    }

    void loadFillsListsAndShowsNextNumbers()
    {
        HelpDeskFixture f;
        QCOMPARE(f.box("txtTech")->text(), QStringLiteral("JTT-1"));
        QCOMPARE(f.window().state().postDate, QDate::currentDate());
        QCOMPARE(f.box("txtTicket")->text(), QStringLiteral("7"));
        QCOMPARE(f.box("txtWorkOrder")->text(), QStringLiteral("2"));
        QCOMPARE(f.box("txtRMA")->text(), QStringLiteral("2"));
        QCOMPARE(f.box("txtInvNum")->text(), QStringLiteral("2"));
        QCOMPARE(f.box("txtKBaseNum")->text(), QStringLiteral("3"));
        QCOMPARE(f.box("txtInvTax")->text(), QStringLiteral("0.00"));
        QCOMPARE(f.box("txtInvTotal")->text(), QStringLiteral("0.00"));
        QCOMPARE(HelpDeskFixture::items(f.combo("combPriority")),
                 (QStringList{"3-Low", "2-Med", "1-High"}));
        QCOMPARE(HelpDeskFixture::items(f.combo("combCallStatus")),
                 (QStringList{"Open", "Closed"}));
        QCOMPARE(HelpDeskFixture::items(f.combo("combclose")), (QStringList{"Open", "Closed"}));
        QCOMPARE(f.combo("combProbType")->count(), 7);
        QCOMPARE(HelpDeskFixture::items(f.combo("combCustIDHD")),
                 (QStringList{"AES-3   Allen Dental Associates", "BEY-4   Brenda Bradley",
                              "JTH-1   John Smith", "KEN-7   Kim Chen", "MIA-2   Maria Garcia",
                              "PKS-5   Prairie State Books"}));
        QCOMPARE(HelpDeskFixture::items(f.combo("combRepairTech")),
                 (QStringList{"ADMIN   System  Administrator", "JTT-1   Jack  Thompson",
                              "RP-3   Raj  Patel", "SLM-2   Sarah  Miller"}));
        QCOMPARE(f.combo("combInvPart")->itemText(0),
                 QStringLiteral("AV-1YR - Antivirus, one-year licence"));
        QCOMPARE(f.combo("combInvPart")->count(), 7);
        QCOMPARE(f.find<TabbedList>("lstOpenTickets")->count(), 2);
        for (const char* name : {"combCustIDHD", "combPriority", "combRepairTech", "combInvPart"})
            QVERIFY2(f.combo(name)->currentText().isEmpty(), name);
    }

    void freshDatabaseStartsAtOne()
    {
        TestFolder folder;
        ScriptedPrompter prompts;
        Session::setCurrentEmployeeId(QStringLiteral("ADMIN"));
        HelpDesk window;
        for (const char* name : {"txtTicket", "txtWorkOrder", "txtRMA", "txtInvNum", "txtKBaseNum"})
            QCOMPARE(WidgetTesting::child<QLineEdit>(&window, name)->text(), QStringLiteral("1"));
        QCOMPARE(WidgetTesting::child<TabbedList>(&window, "lstOpenTickets")->count(), 0);
    }
};

QTEST_MAIN(TestHelpDeskLoad)
#include "tst_helpdeskload.moc"
