#include "data/programfolder.h"
#include "data/serversettings.h"
#include "helpdesk/mailmessage.h"
#include "helpdesk/openticketspage.h"
#include "helpdeskfixture.h"
#include "support/smtptestserver.h"

#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <QTimer>
#include <QtTest>

/** E-mailing a ticket's solution from page "Open Tickets" through a real SMTP conversation. */
class TestEmail : public QObject {
    Q_OBJECT

    using Mode = SmtpTestServer::Mode;
    static constexpr int Ticket = 2;
    static inline const QString Sent = QStringLiteral("Solution has been emailed to customer!");
    static inline const QString NotSent = QStringLiteral("The solution could not be e-mailed.\n");
    static inline const QString Pat = QStringLiteral("pat@customer.test");

    static QString settingsFor(const QString& server, const QString& more = {})
    {
        return QStringLiteral("[mail]\nserver=%1\nsender=helpdesk@shop.test\nstarttls=off\n%2")
            .arg(server, more);
    }
    static QString emailSol(int ticket = Ticket)
    {
        return DbProbe::value("SELECT EmailSol FROM CallLog WHERE TicketNum = ?", ticket);
    }
    /** Writes the settings (none when empty), chooses the ticket and fills address and solution.
     *  A shop on a server keeps its [database] section in the same file. */
    static void prepare(HelpDeskFixture& f, const QString& settings, const QString& recipient = Pat)
    {
        QFile file(ProgramFolder::filePath(QStringLiteral("quorvane.ini")));
        const QString server = ServerSettings::address();
        const QString database =
            server.isEmpty() ? QString() : "\n[database]\nserver=\"" + server + "\"\n";
        if (!settings.isEmpty())
            QVERIFY(file.open(QIODevice::WriteOnly) &&
                    file.write((settings + database).toUtf8()) > 0);
        file.close();
        f.chooseTicket(Ticket);
        f.box("txtRecipient")->setText(recipient);
        f.type("txtSolOT", "Replaced the power supply.");
    }
    /** Presses the send button and waits for the send to end. */
    static void send(HelpDeskFixture& f)
    {
        f.click("cmdEmail");
        QTRY_VERIFY_WITH_TIMEOUT(f.button("cmdEmail")->isEnabled(), 15000);
    }
    /** Presses the send button with a server that holds back its answer. */
    static void sendToStalledServer(HelpDeskFixture& f, SmtpTestServer& server)
    {
        server.stall();
        prepare(f, settingsFor(server.url()));
        f.click("cmdEmail");
        QTRY_VERIFY(server.isHolding());
        // The window's thread runs its events meanwhile; only the send button waits.
        bool ran = false;
        QTimer::singleShot(0, [&] { ran = true; });
        QTRY_VERIFY(ran);
        QVERIFY(!f.button("cmdEmail")->isEnabled() && f.button("cmdUpdateCall")->isEnabled());
        QVERIFY(f.prompts().shown().isEmpty());
        QCOMPARE(emailSol(), "0");
    }

    /** A header's value with its folded lines joined; the body follows the first blank line. */
    static QByteArray header(const QByteArray& message, const QByteArray& name)
    {
        QByteArray head = message.left(message.indexOf("\r\n\r\n"));
        head.replace("\r\n ", " ").replace("\r\n\t", "\t");
        for (const QByteArray& line : head.split('\n'))
            if (line.toLower().startsWith(name + ':'))
                return line.mid(name.size() + 1).trimmed();
        return "<none>";
    }
    static QString decodeWords(const QByteArray& value)
    {
        static const QRegularExpression word(
            QStringLiteral(R"(=\?([^?]+)\?([BbQq])\?([^?]*)\?=(\s+(?==\?))?)"));
        QString decoded;
        qsizetype from = 0;
        const QString text = QString::fromLatin1(value);
        for (auto match = word.globalMatch(text); match.hasNext();) {
            const auto m = match.next();
            decoded += text.mid(from, m.capturedStart() - from);
            QByteArray bytes = m.captured(3).toLatin1();
            bytes = m.captured(2).toUpper() == QLatin1String("B")
                        ? QByteArray::fromBase64(bytes)
                        : QByteArray::fromPercentEncoding(bytes.replace('_', ' '), '=');
            decoded += QString::fromUtf8(bytes);
            from = m.capturedEnd();
        }
        return decoded + text.mid(from);
    }
    static QString decodedBody(const QByteArray& message)
    {
        QByteArray body = message.mid(message.indexOf("\r\n\r\n") + 4);
        return QString::fromUtf8(QByteArray::fromPercentEncoding(body.replace("=\r\n", ""), '='));
    }

private Q_SLOTS:
    void sendsTheShownSolutionAndMarksTheTicket()
    {
        SmtpTestServer server;
        HelpDeskFixture f;
        prepare(f, settingsFor(server.url(), "user=clerk\npassword=\" p,w;d \"\n"));
        const QString subject = QStringLiteral("PC startet nicht – Netzteil prüfen");
        const QString solution =
            QStringLiteral("Dear Pat,\n.tested under load = fine \n\nCafé ☕ %1\nFrom here on: ok.")
                .arg(QString(120, QLatin1Char('x')));
        f.box("txtProbType")->setText(subject);
        f.area("txtSolOT")->setPlainText(solution);
        send(f);
        QCOMPARE(f.prompts().messages(), QStringList{Sent});
        QCOMPARE(emailSol(), "1");
        QCOMPARE(server.authentication(), QByteArray("\0clerk\0 p,w;d ", 14));
        QCOMPARE(server.messages().size(), 1);
        const SmtpTestServer::Message mail = server.messages().first();
        QCOMPARE(mail.mailFrom + mail.recipients.value(0),
                 "<helpdesk@shop.test><pat@customer.test>");
        QByteArray headers;
        for (const char* name :
             {"from", "to", "mime-version", "content-type", "content-transfer-encoding"})
            headers += header(mail.data, name) + '|';
        QCOMPARE(headers, "helpdesk@shop.test|pat@customer.test|1.0|text/plain; charset=UTF-8|"
                          "quoted-printable|");
        QCOMPARE(decodeWords(header(mail.data, "subject")), subject);
        QCOMPARE(decodedBody(mail.data), QString(solution).replace("\n", "\r\n") + "\r\n");

        // Nothing on the page changes and the unsaved solution is not stored by sending.
        QCOMPARE(f.texts({"txtSolOT", "txtRecipient"}), solution + "|" + Pat);
        QCOMPARE(DbProbe::value("SELECT Solution FROM ProbSol WHERE TicketNum = 2"), QString());
    }

    void aSlowServerLeavesTheWindowWorking_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("closed");
        QTest::addColumn<QString>("flag");
        addRow("accepted", int(Mode::Accept), false, QStringLiteral("1"));
        addRow("refused", int(Mode::RefuseRecipients), false, QStringLiteral("0"));
        addRow("window closed meanwhile", int(Mode::Accept), true, QStringLiteral("0"));
    }
    void aSlowServerLeavesTheWindowWorking()
    {
        QFETCH(int, mode);
        QFETCH(bool, closed);
        QFETCH(QString, flag);
        SmtpTestServer server(static_cast<Mode>(mode));
        HelpDeskFixture f;
        sendToStalledServer(f, server);
        QElapsedTimer timer;
        timer.start();
        if (closed) {
            f.close();
            QVERIFY2(timer.elapsed() < 3000, "the send is stopped, not waited for");
        } else {
            f.chooseTicket(3); // not the one the solution goes out for
            server.release();
            QTRY_VERIFY_WITH_TIMEOUT(f.button("cmdEmail")->isEnabled(), 15000);
            QCOMPARE(f.prompts().messages().size(), 1);
            QCOMPARE(f.prompts().lastMessage() == Sent, flag == QLatin1String("1"));
        }
        QCOMPARE(emailSol() + emailSol(3), flag + "0");
    }

    void checksTheFieldsInScreenOrderAndSettingsAsTheyAreNow()
    {
        SmtpTestServer server;
        HelpDeskFixture f;
        f.box("txtRecipient")->setText(Pat);
        f.type("txtSolOT", "Fixed.");
        f.click("cmdEmail");
        prepare(f, QString(), QString());
        f.click("cmdEmail");
        f.box("txtRecipient")->setText(Pat);
        f.area("txtSolOT")->clear();
        f.click("cmdEmail");
        QCOMPARE(f.prompts().messages(), (QStringList{"Please select a customer to email.",
                                                      "Please enter a customer email address.",
                                                      "Please fill in a solution to email."}));
        QVERIFY(server.commands().isEmpty());

        // Settings written while the window is open are read at the next send; a ticket gone
        // meanwhile is reported after it.
        QVERIFY(!f.window().openTicketsPage()->mailSession().isSignedOn());
        prepare(f, settingsFor(server.url()));
        QVERIFY(DbProbe::exec("DELETE FROM CallLog WHERE TicketNum = 2"));
        f.prompts().clear();
        send(f);
        QCOMPARE(f.prompts().messages(),
                 (QStringList{Sent, "The solution was e-mailed, but the ticket could not be "
                                    "marked as e-mailed.\nTicket 2 no longer exists."}));
        QCOMPARE(server.messages().size(), 1);
    }

    void failedSendsAreExplainedAndMarkNothing_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("settings");
        QTest::addColumn<QString>("recipient");
        QTest::addColumn<QString>("reason");
        const QString signIn = settingsFor("%1", "user=clerk\npassword=secret\n");
        const QString closed = settingsFor("smtp://127.0.0.1:1");
        const int none = -1;
        addRow("recipient refused", int(Mode::RefuseRecipients), signIn, Pat,
               "Recipient address rejected: User unknown");
        addRow("unreachable", int(Mode::Accept),
               settingsFor(QStringLiteral("smtp://127.0.0.1:%1").arg(SmtpTestServer::closedPort())),
               Pat, "connect");
        addRow("no answer", int(Mode::Silent), signIn + "timeout=1\n", Pat, "timed out");
        // Required TLS means nothing, credentials least of all, goes over the plain connection.
        addRow("TLS not offered", int(Mode::Accept), signIn + "starttls=on\n", Pat, "STARTTLS");
        addRow("no file", none, QString(), Pat, "quorvane.ini does not exist");
        addRow("no server", none, "[mail]\nsender=helpdesk@shop.test\n", Pat, "server is not set");
        addRow("not SMTP", none, settingsFor("file:///etc/passwd"), Pat,
               "server must be smtp://host:port");
        addRow("comma unquoted", none, closed + "password=a,b\n", Pat,
               "password in the [mail] section holds a comma");
        addRow("unclear TLS", none, closed + "starttls=maybe\n", Pat, "starttls must be on or off");
        addRow("two addresses", none, closed, "pat@customer.test>,eve@evil.test",
               "pat@customer.test>,eve@evil.test is not an e-mail");
    }
    void failedSendsAreExplainedAndMarkNothing()
    {
        QFETCH(int, mode);
        QFETCH(QString, settings);
        QFETCH(QString, recipient);
        QFETCH(QString, reason);
        if (settings.isEmpty())
            SKIP_ON_SERVER(); // a shop on a server always has its settings file
        SmtpTestServer smtp(mode < 0 ? Mode::Accept : static_cast<Mode>(mode));
        HelpDeskFixture f;
        prepare(f, settings.contains("%1") ? settings.arg(smtp.url()) : settings, recipient);
        send(f); // within its timeout
        QCOMPARE(f.prompts().messages().size(), 1);
        const QString shown = f.prompts().lastMessage();
        QVERIFY2(shown.startsWith(NotSent) && shown.contains(reason, Qt::CaseInsensitive) &&
                     !shown.contains(QLatin1String("secret")),
                 qPrintable(shown));
        QVERIFY(smtp.messages().isEmpty());
        if (settings.contains(QLatin1String("starttls=on")))
            QVERIFY(smtp.authentication().isEmpty());
        QCOMPARE(emailSol(), "0");
        QCOMPARE(f.box("txtRecipient")->text(), recipient);
    }

    void messagesSurviveAnyText()
    {
        const QList<std::pair<QString, QString>> texts = {
            {QString(150, QLatin1Char('s')) + QStringLiteral(" =?UTF-8?B?eA==?= literal"),
             QStringLiteral("Line 1\r\nLine 2\r3 a=?b")},
            {QString(40, QChar(0x20AC)) + QStringLiteral("😀😀😀😀😀😀 two\r\nlines\tand tab"),
             QString(100, QChar(0xE9)) + QStringLiteral("\n\ttab \t\n. \n.\x01")}};
        for (const auto& [subject, body] : texts) {
            const QByteArray bytes = MailFormat::compose(
                {"a@shop.test", "b@customer.test", subject, body}, QDateTime::currentDateTime(),
                MailFormat::newMessageId(QStringLiteral("a@shop.test")));
            const QList<QByteArray> lines = bytes.split('\n');
            for (const QByteArray& line : lines.mid(0, lines.size() - 1)) {
                QVERIFY2(line.endsWith('\r') && line.count('\r') == 1 && line.size() <= 79,
                         line.constData());
                QVERIFY(!line.startsWith('.') && !line.startsWith("From "));
                for (const char c : line)
                    QVERIFY(static_cast<uchar>(c) < 0x80);
            }
            QVERIFY(lines.last().isEmpty());
            QCOMPARE(decodeWords(header(bytes, "subject")), subject);
            QString expected = body;
            expected.replace("\r\n", "\n").replace('\r', '\n').replace("\n", "\r\n");
            QCOMPARE(decodedBody(bytes), expected + "\r\n");
        }
    }
};

QTEST_MAIN(TestEmail)
#include "tst_email.moc"
