#include "helpdeskfixture.h"

#include <QtTest>

/** Opening the help desk window: its filled lists and next numbers. */
class TestHelpDeskLoad : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void loadFillsListsAndShowsNextNumbers()
    {
        HelpDeskFixture f;
        QCOMPARE(f.window().state().postDate, QDate::currentDate());
        QCOMPARE(f.texts({"txtTech", "txtTicket", "txtWorkOrder", "txtRMA", "txtInvNum",
                          "txtKBaseNum", "txtInvTax", "txtInvTotal"}),
                 QStringLiteral("JTT-1|7|2|2|2|3|0.00|0.00"));
        QCOMPARE(HelpDeskFixture::items(f.combo("combPriority")),
                 (QStringList{"3-Low", "2-Med", "1-High"}));
        for (const char* name : {"combCallStatus", "combclose"})
            QCOMPARE(HelpDeskFixture::items(f.combo(name)), (QStringList{"Open", "Closed"}));
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
        QCOMPARE(f.list("lstOpenTickets")->count(), 2);
        for (const char* name : {"combCustIDHD", "combPriority", "combRepairTech", "combInvPart"})
            QVERIFY2(f.combo(name)->currentText().isEmpty(), name);
    }
};

QTEST_MAIN(TestHelpDeskLoad)
#include "tst_helpdeskload.moc"
