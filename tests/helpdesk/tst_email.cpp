#include "data/programfolder.h"
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

    static void writeSettings(const QString& lines)
    {
        QFile file(ProgramFolder::filePath(QStringLiteral("quorvane.ini")));
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(lines.toUtf8());
    }
    static QString settingsFor(const QString& server, const QString& more = {})
    {
        return QStringLiteral("[mail]\nserver=%1\nsender=helpdesk@shop.test\nstarttls=off\n%2")
            .arg(server, more);
    }
    static QString emailSol(int ticket = Ticket)
    {
        return DbProbe::value(QStringLiteral("SELECT EmailSol FROM CallLog WHERE TicketNum = ?"),
                              ticket);
    }
    /** Chooses the ticket and fills the address and solution as the technician would. */
    static void prepare(HelpDeskFixture& f, const QString& recipient = "pat@customer.test")
    {
        f.chooseTicket(Ticket);
        f.box("txtRecipient")->setText(recipient);
        f.area("txtSolOT")->setPlainText(QStringLiteral("Replaced the power supply."));
    }
    /** Presses the send button and waits for the send to end. */
    static void send(HelpDeskFixture& f)
    {
        f.click("cmdEmail");
        QTRY_VERIFY_WITH_TIMEOUT(f.button("cmdEmail")->isEnabled(), 15000);
    }
    /** Presses the send button of a window whose server holds back its answer. */
    static void sendToStalledServer(HelpDeskFixture& f, SmtpTestServer& server)
    {
        server.stall();
        writeSettings(settingsFor(server.url()));
        prepare(f);
        f.click("cmdEmail");
        QTRY_VERIFY(server.isHolding());
        // The window's thread runs its events meanwhile; only the send button waits.
        bool ran = false;
        QTimer::singleShot(0, [&] { ran = true; });
        QTRY_VERIFY(ran);
        QVERIFY(!f.button("cmdEmail")->isEnabled());
        QVERIFY(f.button("cmdUpdateCall")->isEnabled());
        QVERIFY(f.prompts().shown().isEmpty());
        QCOMPARE(emailSol(), QStringLiteral("0"));
    }

    struct Parsed {
        QMap<QByteArray, QByteArray> headers;
        QByteArray body;
    };
    static Parsed parse(const QByteArray& message)
    {
        const qsizetype split = message.indexOf("\r\n\r\n");
        Parsed parsed{{}, message.mid(split + 4)};
        QByteArray head = message.left(split);
        head.replace("\r\n ", " ").replace("\r\n\t", "\t");
        for (const QByteArray& line : head.split('\n')) {
            const qsizetype colon = line.indexOf(':');
            parsed.headers.insert(line.left(colon).toLower(), line.mid(colon + 1).trimmed());
        }
        return parsed;
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
            if (m.captured(2).toUpper() == QLatin1String("B"))
                bytes = QByteArray::fromBase64(bytes);
            else
                bytes = QByteArray::fromPercentEncoding(bytes.replace('_', ' '), '=');
            decoded += QString::fromUtf8(bytes);
            from = m.capturedEnd();
        }
        return decoded + text.mid(from);
    }
    static QString decodeQuotedPrintable(const QByteArray& body)
    {
        QByteArray joined = body;
        joined.replace("=\r\n", "");
        return QString::fromUtf8(QByteArray::fromPercentEncoding(joined, '='));
    }
    static void row(const char* name, int mode, const QString& settings, const QString& recipient,
                    const QString& reason)
    {
        QTest::newRow(name) << mode << settings << recipient << reason;
    }

private Q_SLOTS:
    void sendsTheShownSolutionAndMarksTheTicket()
    {
        SmtpTestServer server;
        HelpDeskFixture f;
        writeSettings(settingsFor(server.url(), QStringLiteral("user=clerk\n"
                                                               "password=\" p,w;d \"\n")));
        QVERIFY(f.window().openTicketsPage()->mailSession().isSignedOn());
        prepare(f);
        const QString subject = QStringLiteral("PC startet nicht – Netzteil prüfen");
        const QString solution =
            QStringLiteral("Dear Pat,\n.tested under load = fine \n\nCafé ☕ %1\nFrom here on: ok.")
                .arg(QString(120, QLatin1Char('x')));
        f.box("txtProbType")->setText(subject);
        f.area("txtSolOT")->setPlainText(solution);
        send(f);

        QCOMPARE(f.prompts().messages(), QStringList{Sent});
        QCOMPARE(emailSol(), QStringLiteral("1"));
        QCOMPARE(server.authentication(), QByteArray("\0clerk\0 p,w;d ", 14));
        QCOMPARE(server.messages().size(), 1);
        const SmtpTestServer::Message mail = server.messages().first();
        QCOMPARE(mail.mailFrom, QByteArray("<helpdesk@shop.test>"));
        QCOMPARE(mail.recipients, QList<QByteArray>{"<pat@customer.test>"});
        const Parsed parsed = parse(mail.data);
        QCOMPARE(parsed.headers.value("from") + '|' + parsed.headers.value("to") + '|' +
                     parsed.headers.value("mime-version") + '|' +
                     parsed.headers.value("content-type") + '|' +
                     parsed.headers.value("content-transfer-encoding"),
                 QByteArray("helpdesk@shop.test|pat@customer.test|1.0|text/plain; charset=UTF-8|"
                            "quoted-printable"));
        QCOMPARE(decodeWords(parsed.headers.value("subject")), subject);
        const QDateTime date = QDateTime::fromString(
            QString::fromLatin1(parsed.headers.value("date")), Qt::RFC2822Date);
        QVERIFY(qAbs(date.secsTo(QDateTime::currentDateTime())) < 60);
        QVERIFY(QRegularExpression(QStringLiteral("^<[^<>@ ]+@shop\\.test>$"))
                    .match(QString::fromLatin1(parsed.headers.value("message-id")))
                    .hasMatch());
        QCOMPARE(decodeQuotedPrintable(parsed.body),
                 QString(solution).replace(QLatin1String("\n"), QLatin1String("\r\n")) +
                     QLatin1String("\r\n"));

        // Nothing on the page changes and the unsaved solution is not stored by sending.
        QCOMPARE(f.texts({"txtSolOT", "txtRecipient"}), solution + "|pat@customer.test");
        QCOMPARE(DbProbe::value(QStringLiteral("SELECT Solution FROM ProbSol WHERE TicketNum = ?"),
                                Ticket),
                 QString());

        // A second send is a second message with its own Message-ID.
        send(f);
        QCOMPARE(f.prompts().messages(), (QStringList{Sent, Sent}));
        QCOMPARE(server.messages().size(), 2);
        QVERIFY(server.messages()[0].data != server.messages()[1].data);
        f.window().close();
        QVERIFY(!f.window().openTicketsPage()->mailSession().isSignedOn());
    }

    void aSlowServerLeavesTheWindowWorking_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("flag");
        QTest::newRow("accepted") << int(Mode::Accept) << QStringLiteral("1");
        QTest::newRow("refused") << int(Mode::RefuseRecipients) << QStringLiteral("0");
    }
    void aSlowServerLeavesTheWindowWorking()
    {
        QFETCH(int, mode);
        QFETCH(QString, flag);
        SmtpTestServer server(static_cast<Mode>(mode));
        HelpDeskFixture f;
        sendToStalledServer(f, server);
        // Another ticket chosen meanwhile is not the one the solution went out for.
        f.chooseTicket(3);
        server.release();
        QTRY_VERIFY_WITH_TIMEOUT(f.button("cmdEmail")->isEnabled(), 15000);
        QCOMPARE(f.prompts().messages().size(), 1);
        QCOMPARE(f.prompts().lastMessage() == Sent, flag == QLatin1String("1"));
        QCOMPARE(emailSol(), flag);
        QCOMPARE(emailSol(3), QStringLiteral("0"));
    }

    void closingTheWindowStopsASendAtOnce()
    {
        SmtpTestServer server;
        HelpDeskFixture f;
        sendToStalledServer(f, server);
        QElapsedTimer timer;
        timer.start();
        f.close();
        QVERIFY2(timer.elapsed() < 3000, "the send is stopped, not waited for");
        server.release();
        QCOMPARE(emailSol(), QStringLiteral("0"));
    }

    void checksTheFieldsInScreenOrder_data()
    {
        QTest::addColumn<QString>("recipient");
        QTest::addColumn<bool>("chooseTicket");
        QTest::addColumn<QString>("solution");
        QTest::addColumn<QString>("message");
        QTest::newRow("no address") << QString() << true << "Fixed."
                                    << "Please enter a customer email address.";
        QTest::newRow("no ticket") << "pat@customer.test" << false << "Fixed."
                                   << "Please select a customer to email.";
        QTest::newRow("no solution")
            << "pat@customer.test" << true << QString() << "Please fill in a solution to email.";
    }
    void checksTheFieldsInScreenOrder()
    {
        QFETCH(QString, recipient);
        QFETCH(bool, chooseTicket);
        QFETCH(QString, solution);
        QFETCH(QString, message);
        SmtpTestServer server;
        HelpDeskFixture f;
        writeSettings(settingsFor(server.url()));
        if (chooseTicket)
            prepare(f);
        f.box("txtRecipient")->setText(recipient);
        f.area("txtSolOT")->setPlainText(solution);
        send(f);
        QCOMPARE(f.prompts().messages(), QStringList{message});
        QVERIFY(server.commands().isEmpty());
        QCOMPARE(emailSol(), QStringLiteral("0"));
    }

    void failedSendsAreExplainedAndMarkNothing_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("settings");
        QTest::addColumn<QString>("recipient");
        QTest::addColumn<QString>("reason");
        const QString pat = QStringLiteral("pat@customer.test");
        const QString signIn = settingsFor("%1", "user=clerk\npassword=secret\n");
        const QString none = settingsFor(QStringLiteral("smtp://127.0.0.1:1"));
        row("recipient refused", int(Mode::RefuseRecipients), signIn, pat,
            "Recipient address rejected: User unknown");
        row("unreachable", int(Mode::Accept),
            settingsFor(QStringLiteral("smtp://127.0.0.1:%1").arg(SmtpTestServer::closedPort())),
            pat, "connect");
        row("no answer", int(Mode::Silent), signIn + "timeout=1\n", pat, "timed out");
        // Required TLS means nothing, credentials least of all, goes over the plain connection.
        row("TLS not offered", int(Mode::Accept), signIn + "starttls=on\n", pat, "STARTTLS");
        row("no file", -1, QString(), pat, "quorvane.ini does not exist");
        row("no server", -1, "[mail]\nsender=helpdesk@shop.test\n", pat, "server is not set");
        row("not SMTP", -1, settingsFor("file:///etc/passwd"), pat,
            "server must be smtp://host:port");
        row("no sender", -1, "[mail]\nserver=smtp://127.0.0.1:1\n", pat, "sender is not set");
        row("comma unquoted", -1, none + "password=a,b\n", pat,
            "password in the [mail] section holds a comma");
        row("unclear TLS", -1, none + "starttls=maybe\n", pat, "starttls must be on or off");
        row("two addresses", -1, none, "pat@customer.test>,eve@evil.test",
            "pat@customer.test>,eve@evil.test is not an e-mail");
        row("space inside", -1, none, "pat @customer.test", "is not an e-mail");
    }
    void failedSendsAreExplainedAndMarkNothing()
    {
        QFETCH(int, mode);
        QFETCH(QString, settings);
        QFETCH(QString, recipient);
        QFETCH(QString, reason);
        SmtpTestServer smtp(mode < 0 ? Mode::Accept : static_cast<Mode>(mode));
        HelpDeskFixture f;
        if (!settings.isEmpty())
            writeSettings(settings.contains("%1") ? settings.arg(smtp.url()) : settings);
        prepare(f, recipient);
        QElapsedTimer timer;
        timer.start();
        send(f);
        QVERIFY2(timer.elapsed() < 10000, "the send is bounded by its timeout");
        QCOMPARE(f.prompts().messages().size(), 1);
        const QString shown = f.prompts().lastMessage();
        QVERIFY2(shown.startsWith(NotSent) && shown.contains(reason, Qt::CaseInsensitive) &&
                     !shown.contains(QLatin1String("secret")),
                 qPrintable(shown));
        QVERIFY(smtp.messages().isEmpty());
        if (settings.contains(QLatin1String("starttls=on")))
            QVERIFY(smtp.authentication().isEmpty());
        QCOMPARE(emailSol(), QStringLiteral("0"));
        QCOMPARE(f.box("txtRecipient")->text(), recipient);
    }

    void settingsWrittenWhileTheWindowIsOpenAreUsed()
    {
        SmtpTestServer server;
        HelpDeskFixture f;
        prepare(f);
        QVERIFY(!f.window().openTicketsPage()->mailSession().isSignedOn());
        writeSettings(settingsFor(server.url()));
        send(f);
        QCOMPARE(f.prompts().messages(), QStringList{Sent});
        QCOMPARE(server.messages().size(), 1);
    }

    void aTicketGoneMeanwhileIsReportedAfterTheSend()
    {
        SmtpTestServer server;
        HelpDeskFixture f;
        writeSettings(settingsFor(server.url()));
        prepare(f);
        QVERIFY(DbProbe::exec(QStringLiteral("DELETE FROM CallLog WHERE TicketNum = ?"), Ticket));
        send(f);
        QCOMPARE(f.prompts().messages(),
                 (QStringList{Sent, "The solution was e-mailed, but the ticket could not be "
                                    "marked as e-mailed.\nTicket 2 no longer exists."}));
        QCOMPARE(server.messages().size(), 1);
    }

    void messagesSurviveAnyText_data()
    {
        QTest::addColumn<QString>("subject");
        QTest::addColumn<QString>("body");
        QTest::newRow("empty") << QString() << QString();
        QTest::newRow("plain") << "Printer offline"
                               << "Line one\r\nLine two\rthree";
        QTest::newRow("long ASCII subject") << QString(150, QLatin1Char('s')) << "ok";
        QTest::newRow("looks encoded") << "=?UTF-8?B?eA==?= literal"
                                       << "a=?b";
        QTest::newRow("wide characters")
            << QString(40, QChar(0x20AC)) + QStringLiteral("😀😀😀😀😀😀😀😀😀😀😀😀")
            << QString(100, QChar(0x00E9)) + QStringLiteral("\n\ttab \t\n. \n.");
        QTest::newRow("control characters") << "two\r\nlines\tand tab" << QString(QChar(0x01));
    }
    void messagesSurviveAnyText()
    {
        QFETCH(QString, subject);
        QFETCH(QString, body);
        const QByteArray bytes = MailFormat::compose(
            {"a@shop.test", "b@customer.test", subject, body}, QDateTime::currentDateTime(),
            MailFormat::newMessageId(QStringLiteral("a@shop.test")));
        for (const char c : bytes)
            QVERIFY(static_cast<uchar>(c) < 0x80);
        const QList<QByteArray> lines = bytes.split('\n');
        for (qsizetype i = 0; i + 1 < lines.size(); ++i) {
            QVERIFY2(lines[i].endsWith('\r') && lines[i].count('\r') == 1, lines[i].constData());
            QVERIFY2(lines[i].size() <= 79, lines[i].constData());
            QVERIFY(!lines[i].startsWith('.') && !lines[i].startsWith("From "));
        }
        QVERIFY(lines.last().isEmpty());
        const Parsed parsed = parse(bytes);
        QCOMPARE(decodeWords(parsed.headers.value("subject")), subject);
        QString expected = body;
        expected.replace(QLatin1String("\r\n"), QLatin1String("\n"))
            .replace(QLatin1Char('\r'), QLatin1Char('\n'))
            .replace(QLatin1String("\n"), QLatin1String("\r\n"));
        QCOMPARE(decodeQuotedPrintable(parsed.body), expected + QLatin1String("\r\n"));
    }
};

QTEST_MAIN(TestEmail)
#include "tst_email.moc"
