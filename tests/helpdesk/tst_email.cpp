#include "data/programfolder.h"
#include "helpdesk/mailmessage.h"
#include "helpdesk/openticketspage.h"
#include "helpdeskfixture.h"
#include "support/smtptestserver.h"

#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <QtTest>

/** E-mailing a ticket's solution from page "Open Tickets" through a real SMTP conversation. */
class TestEmail : public QObject {
    Q_OBJECT

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
    static QString emailSol()
    {
        return HelpDeskFixture::value(
            QStringLiteral("SELECT EmailSol FROM CallLog WHERE TicketNum = ?"), Ticket);
    }
    /** Chooses the ticket and fills the address and solution as the technician would. */
    static void prepare(HelpDeskFixture& f, const QString& recipient = "pat@customer.test")
    {
        const QStringList lines = f.find<TabbedList>("lstOpenTickets")->lines();
        for (int row = 0; row < lines.size(); ++row) {
            if (lines[row].startsWith(QString::number(Ticket) + QLatin1Char('\t')))
                HelpDeskFixture::chooseLine(f.find<TabbedList>("lstOpenTickets"), row);
        }
        QCOMPARE(f.box("txtCustID")->text(), QStringLiteral("AES-3"));
        f.box("txtRecipient")->setText(recipient);
        f.area("txtSolOT")->setPlainText(QStringLiteral("Replaced the power supply."));
    }

    /** Presses the send button and waits for the send to end. */
    static void send(HelpDeskFixture& f)
    {
        f.click("cmdEmail");
        QTRY_VERIFY_WITH_TIMEOUT(f.find<QPushButton>("cmdEmail")->isEnabled(), 15000);
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

private Q_SLOTS:
    void sendsTheShownSolutionAndMarksTheTicket()
    {
        SmtpTestServer server;
        HelpDeskFixture f;
        writeSettings(settingsFor(server.url()));
        QVERIFY(f.window().openTicketsPage()->mailSession().isSignedOn());
        prepare(f);
        const QString subject = QStringLiteral("PC startet nicht – Netzteil prüfen");
        const QString solution =
            QStringLiteral("Dear Pat,\n.tested under load = fine \n\nCafé ☕ %1\nFrom here on: ok.")
                .arg(QString(120, QLatin1Char('x')));
        f.box("txtProbType")->setText(subject);
        f.area("txtSolOT")->setPlainText(solution);
        QCOMPARE(emailSol(), QStringLiteral("0"));
        send(f);

        QCOMPARE(f.prompts().messages(), QStringList{Sent});
        QCOMPARE(emailSol(), QStringLiteral("1"));
        QCOMPARE(server.messages().size(), 1);
        const SmtpTestServer::Message mail = server.messages().first();
        QCOMPARE(mail.mailFrom, QByteArray("<helpdesk@shop.test>"));
        QCOMPARE(mail.recipients, QList<QByteArray>{"<pat@customer.test>"});
        const Parsed parsed = parse(mail.data);
        QCOMPARE(parsed.headers.value("from"), QByteArray("helpdesk@shop.test"));
        QCOMPARE(parsed.headers.value("to"), QByteArray("pat@customer.test"));
        QCOMPARE(decodeWords(parsed.headers.value("subject")), subject);
        QCOMPARE(parsed.headers.value("mime-version"), QByteArray("1.0"));
        QCOMPARE(parsed.headers.value("content-type"), QByteArray("text/plain; charset=UTF-8"));
        QCOMPARE(parsed.headers.value("content-transfer-encoding"), QByteArray("quoted-printable"));
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
        QCOMPARE(f.area("txtSolOT")->toPlainText(), solution);
        QCOMPARE(f.box("txtRecipient")->text(), QStringLiteral("pat@customer.test"));
        QCOMPARE(HelpDeskFixture::value(
                     QStringLiteral("SELECT Solution FROM ProbSol WHERE TicketNum = ?"), Ticket),
                 QString());

        // A second send is a second message; the ticket stays marked.
        send(f);
        QCOMPARE(server.messages().size(), 2);
        QCOMPARE(f.prompts().messages(), (QStringList{Sent, Sent}));
        QVERIFY(server.messages()[0].data != server.messages()[1].data); // own Message-IDs
        QCOMPARE(emailSol(), QStringLiteral("1"));

        f.window().close();
        QVERIFY(!f.window().openTicketsPage()->mailSession().isSignedOn());
    }

    void checksTheFieldsInScreenOrder_data()
    {
        QTest::addColumn<QString>("recipient");
        QTest::addColumn<bool>("chooseTicket");
        QTest::addColumn<QString>("solution");
        QTest::addColumn<QString>("message");
        QTest::newRow("no address") << "" << true << "Fixed."
                                    << "Please enter a customer email address.";
        QTest::newRow("no ticket") << "pat@customer.test" << false << "Fixed."
                                   << "Please select a customer to email.";
        QTest::newRow("no solution") << "pat@customer.test" << true << ""
                                     << "Please fill in a solution to email.";
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

    void refusedSendsLeaveTheTicketAsItWas_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("server");
        QTest::addColumn<QString>("more");
        QTest::addColumn<QString>("reason");
        using Mode = SmtpTestServer::Mode;
        QTest::newRow("recipient refused") << int(Mode::RefuseRecipients) << ""
                                           << ""
                                           << "Recipient address rejected: User unknown";
        QTest::newRow("unreachable")
            << int(Mode::Accept)
            << QStringLiteral("smtp://127.0.0.1:%1").arg(SmtpTestServer::closedPort()) << ""
            << "connect";
        QTest::newRow("no answer") << int(Mode::Silent) << ""
                                   << "timeout=1"
                                   << "timed out";
        QTest::newRow("TLS not offered") << int(Mode::Accept) << ""
                                         << "starttls=on"
                                         << "STARTTLS";
    }
    void refusedSendsLeaveTheTicketAsItWas()
    {
        QFETCH(int, mode);
        QFETCH(QString, server);
        QFETCH(QString, more);
        QFETCH(QString, reason);
        SmtpTestServer smtp(static_cast<SmtpTestServer::Mode>(mode));
        HelpDeskFixture f;
        // The later starttls line wins over the one settingsFor() writes.
        writeSettings(settingsFor(server.isEmpty() ? smtp.url() : server,
                                  QStringLiteral("user=clerk\npassword=secret\n%1\n").arg(more)));
        prepare(f);
        QElapsedTimer timer;
        timer.start();
        send(f);
        QVERIFY2(timer.elapsed() < 10000, "the send is bounded by its timeout");

        QCOMPARE(f.prompts().messages().size(), 1);
        const QString shown = f.prompts().messages().first();
        QVERIFY2(shown.startsWith(NotSent) && shown.contains(reason, Qt::CaseInsensitive),
                 qPrintable(shown));
        QVERIFY(!shown.contains(QLatin1String("secret")));
        QVERIFY(smtp.messages().isEmpty());
        QCOMPARE(emailSol(), QStringLiteral("0"));
        QCOMPARE(f.box("txtRecipient")->text(), QStringLiteral("pat@customer.test"));
        // Required TLS means nothing, credentials least of all, goes over the plain connection.
        if (more == QLatin1String("starttls=on"))
            QVERIFY(smtp.authentication().isEmpty());
    }

    void signsInWithTheConfiguredUser()
    {
        SmtpTestServer server;
        HelpDeskFixture f;
        writeSettings(settingsFor(server.url(), QStringLiteral("user=clerk\n"
                                                               "password=\" p,w;d \"\n")));
        prepare(f);
        send(f);
        QCOMPARE(f.prompts().messages(), QStringList{Sent});
        QCOMPARE(server.authentication(), QByteArray("\0clerk\0 p,w;d ", 14));
    }

    void missingOrWrongSettingsAreReported_data()
    {
        QTest::addColumn<QString>("settings");
        QTest::addColumn<QString>("recipient");
        QTest::addColumn<QString>("reason");
        const QString good = settingsFor(QStringLiteral("smtp://127.0.0.1:1"));
        const QString pat = QStringLiteral("pat@customer.test");
        QTest::newRow("no file") << QString() << pat << "quorvane.ini does not exist";
        QTest::newRow("no server") << "[mail]\nsender=helpdesk@shop.test\n"
                                   << pat << "server is not set";
        QTest::newRow("not SMTP") << settingsFor(QStringLiteral("file:///etc/passwd")) << pat
                                  << "server must be smtp://host:port";
        QTest::newRow("no sender") << "[mail]\nserver=smtp://127.0.0.1:1\n"
                                   << pat << "sender is not set";
        QTest::newRow("comma unquoted") << good + QStringLiteral("password=a,b\n") << pat
                                        << "password in the [mail] section holds a comma";
        QTest::newRow("unclear TLS")
            << good + QStringLiteral("starttls=maybe\n") << pat << "starttls must be on or off";
        QTest::newRow("two addresses") << good << "pat@customer.test>,eve@evil.test"
                                       << "pat@customer.test>,eve@evil.test is not an e-mail";
        QTest::newRow("space inside") << good << "pat @customer.test"
                                      << "is not an e-mail";
    }
    void missingOrWrongSettingsAreReported()
    {
        QFETCH(QString, settings);
        QFETCH(QString, recipient);
        QFETCH(QString, reason);
        HelpDeskFixture f;
        if (!settings.isEmpty())
            writeSettings(settings);
        prepare(f, recipient);
        send(f);
        QCOMPARE(f.prompts().messages().size(), 1);
        const QString shown = f.prompts().messages().first();
        QVERIFY2(shown.startsWith(NotSent) && shown.contains(reason), qPrintable(shown));
        QCOMPARE(emailSol(), QStringLiteral("0"));
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
        QVERIFY(HelpDeskFixture::exec(QStringLiteral("DELETE FROM CallLog WHERE TicketNum = ?"),
                                      Ticket));
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
        QTest::newRow("empty") << ""
                               << "";
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
