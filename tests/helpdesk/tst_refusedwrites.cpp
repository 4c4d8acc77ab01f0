#include "helpdeskfixture.h"

#include <QtTest>

/** Every action of the help desk window that writes: refused by the database, it says why,
 *  keeps what was typed and leaves the database as it was. */
class TestRefusedWrites : public QObject {
    Q_OBJECT

    /** The rows and numbers the actions write, in one line. */
    static QString database()
    {
        return DbProbe::value(
            "SELECT (SELECT count(*) FROM CallLog) || '/' || (SELECT count(*) FROM ProbSol) || '/' "
            "|| (SELECT count(*) FROM RepairOrder) || '/' || (SELECT count(*) FROM InvDetail) || "
            "'/' || (SELECT SUM(Invoiced) FROM RepairOrder) || '/' || (SELECT TicketNum FROM "
            "TicketCount) || '' || (SELECT KnowNum FROM KnowBaseCount) || '' || (SELECT WkOrdNum "
            "FROM "
            "WorkOrdCount) || '' || (SELECT InvNum FROM InvNumCount) || '/' || COALESCE((SELECT "
            "CallStatus || COALESCE(ClosePostDate, '') || COALESCE(Comm, '') FROM CallLog WHERE "
            "TicketNum = 3), '') || (SELECT Solution FROM ProbSol WHERE TicketNum = 3)");
    }
    /** Fills the page of an action as the user would; gives back the action's button and the
     *  controls that must keep what was typed. */
    static QStringList fill(HelpDeskFixture& f, int action)
    {
        if (action >= 1 && action <= 3)
            f.chooseTicket(3);
        switch (action) {
        case 0:
            f.fillCall();
            return {"cmdLogCall", "txtTicket", "txtQuickDesc", "txtProb", "combCustIDHD"};
        case 1:
            f.type("txtSolOT", "Typed solution");
            f.pick("combclose", "Closed");
            return {"cmdUpdateCall", "txtCustID", "txtSolOT", "txtComm"};
        case 2:
            f.pick("combRepairTech", "RP-3   Raj  Patel");
            f.type("txtRepairNotes", "Reinstall.");
            return {"cmdCreateWrkOrd", "txtWorkOrder", "txtRMA", "txtRepairNotes"};
        case 3:
            f.pick("combInvPart", "DIAG - Diagnostic fee");
            WidgetTesting::typeInto(f.box("txtInvQty"), QStringLiteral("2"));
            QTest::keyClick(f.box("txtInvQty"), Qt::Key_Tab);
            return {"cmdInvoice", "txtInvNum", "txtInvTax", "txtInvTotal", "lstInvItems"};
        default:
            f.type("txtKQDesc", "Fan noise");
            f.type("txtKProb", "Loud fan.");
            f.type("txtKSol", "Cleaned it.");
            return {"cmdAddKBase", "txtKBaseNum", "txtKQDesc", "txtKProb", "txtKSol"};
        }
    }

private Q_SLOTS:
    void refusedWriteKeepsThePageAndTheDatabase_data()
    {
        QTest::addColumn<QString>("cause");
        QTest::addColumn<int>("action");
        QTest::addColumn<QString>("message");
        // A cause is a statement run before the action, or "refuse <event> ON <table>".
        const QString refuse = QStringLiteral("refuse %1");
        addRow("call: texts refused", refuse.arg("INSERT ON ProbSol"), 0,
               "The call could not be logged.\ndisk full");
        addRow("call: number taken",
               "INSERT INTO CallLog (TicketNum, CustID, CallStatus, Tech) VALUES (7, 'KEN-7', "
               "'Open', 'RP-3')",
               0, "The call could not be logged.\nTicket 7 already exists.");
        addRow("update: texts refused", refuse.arg("UPDATE ON ProbSol"), 1,
               "The call could not be updated.\ndisk full");
        addRow("update: ticket removed", "DELETE FROM CallLog WHERE TicketNum = 3", 1,
               "The call could not be updated.\nTicket 3 no longer exists.");
        addRow("work order: number taken",
               "INSERT INTO RepairOrder (WorkNum, TicketNum) VALUES (2, 99)", 2,
               "The work order could not be created.\nWork order 2 already exists.");
        addRow("invoice: number taken", "INSERT INTO ARInvoice (InvNum, CustID) VALUES (2, 'X')", 3,
               "The invoice could not be written.\nInvoice 2 already exists.");
        addRow("invoice: lines refused", refuse.arg("INSERT ON InvDetail"), 3,
               "The invoice could not be written.\ndisk full");
        addRow("entry: counter refused", refuse.arg("UPDATE ON KnowBaseCount"), 4,
               "The entry could not be added to the knowledge base.\ndisk full");
    }
    void refusedWriteKeepsThePageAndTheDatabase()
    {
        QFETCH(QString, cause);
        QFETCH(int, action);
        QFETCH(QString, message);
        HelpDeskFixture f;
        QVERIFY(WidgetTesting::showActive(&f.window()));
        QStringList controls = fill(f, action);
        const QByteArray button = controls.takeFirst().toLatin1();
        if (cause.startsWith(QLatin1String("refuse ")))
            QVERIFY(TestFolder::refuseWrites(cause.mid(7), QStringLiteral("disk full")));
        else
            QVERIFY(DbProbe::exec(cause));
        const QString typed = f.texts(controls);
        const QString stored = database();
        f.click(button.constData());
        QCOMPARE(f.prompts().messages(), QStringList{message});
        QCOMPARE(f.texts(controls), typed);
        QCOMPARE(database(), stored);
    }
};

QTEST_MAIN(TestRefusedWrites)
#include "tst_refusedwrites.moc"
