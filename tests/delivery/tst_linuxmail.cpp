#include "LinuxAutomationFactory.h"
#include "Routes.h"
#include "MailDraft.h"
#include "SenderTest.h"
#include "Sendmail.h"
#include "TestDesktop.h"

#include <QtTest>

#include <ctime>

Q_DECLARE_METATYPE(SenderIdentity)

namespace {

const char *const Subject = "Réunion à 14h ☕";
const QString Python = QStringLiteral("/usr/bin/python3");
// 05/12/2026 14:05:30 as days since 30/12/1899.
const automation::Date Posted{double(QDate(1899, 12, 30).daysTo(QDate(2026, 12, 5))) + (14 * 60 + 5.5) / 1440};

// A message read back by a mail parser foreign to the composer: decoded fields,
// the attachment in base64 and the raw header values as "h-" and the lower-case name.
QVariantMap parse(const QString &file)
{
    QProcess python;
    python.setStandardInputFile(file);
    python.start(Python, {"-c", R"(import base64, email, email.policy, json, sys
m = email.message_from_binary_file(sys.stdin.buffer, policy=email.policy.default)
body, part = m.get_body(('plain',)), next(m.iter_attachments(), None)
print(json.dumps({**{'h-' + k.lower(): v.strip() for k, v in m.raw_items()}, 'subject': str(m['subject']),
    'to': str(m['to'] or ''), 'cc': str(m['cc'] or ''), 'bcc': str(m['bcc'] or ''),
    'date': m['date'].datetime.timestamp(), 'body': body.get_content(), 'charset': body.get_content_charset(),
    'name': part.get_filename() if part else '', 'type': part.get_content_type() if part else '',
    'from': str(m['from'] or ''),
    'attachment': base64.b64encode(part.get_payload(decode=True) if part else b'').decode()})))"});
    python.waitForFinished(10000);
    return QJsonDocument::fromJson(python.readAllStandardOutput()).toVariant().toMap();
}

const QByteArray Attachment = [] {
    QByteArray bytes(3000, 0);
    for (int i = 0; i < bytes.size(); ++i)
        bytes[i] = char(i * 7 % 256);
    return bytes;
}();

} // namespace

// The Linux stand-ins hand a real message to sendmail: here a script that keeps
// it, or msmtp speaking to a local SMTP sink.
class LinuxMailTest : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        QVERIFY(QDir(dir_.path()).mkpath("bin"));
        write("plan é.bin", Attachment);
        QFile::remove(dir_.filePath("message"));
        write("bin/sendmail", "#!/bin/sh\nprintf '%s|' \"$@\" > \"$OUT/args\"\ncat > \"$OUT/message\"\n");
        qputenv("OUT", dir_.path().toUtf8());
        qputenv("PATH", dir_.filePath("bin").toUtf8() + ":" + originalPath_);
    }

    void routeDeliversRealMessage_data()
    {
        QTest::addColumn<int>("route");
        QTest::addColumn<bool>("withAttachment");
        QTest::addColumn<QString>("body");
        QTest::addColumn<QString>("expectedBody");
        const QString body = "Bonjour,\r\nça va ?\r\n\r\nÀ demain";
        QTest::newRow("Outlook") << 0 << true << body << "Bonjour,\nça va ?\n\nÀ demain";
        QTest::newRow("Notes") << 1 << true << body << "Bonjour,\nça va ?\n\nÀ demain";
        // The note keeps the line break the route adds; the attachment takes the blank.
        QTest::newRow("Express") << 2 << true << body << "Bonjour,\nça va ?\n\nÀ demain\n";
        QTest::newRow("Express, no attachment") << 2 << false << body << "Bonjour,\nça va ?\n\nÀ demain\n ";
        // Mail lines stop at 998 bytes: a longer paragraph travels encoded, not cut by the mail servers.
        QTest::newRow("Outlook, ASCII paragraph longer than a mail line")
            << 0 << false << QString(1500, 'x') + "\r\nfin" << QString(1500, 'x') + "\nfin";
    }

    void routeDeliversRealMessage()
    {
        QFETCH(int, route);
        QFETCH(bool, withAttachment);
        QFETCH(QString, body);
        QFETCH(QString, expectedBody);
        const OutgoingMail mail{Subject, "ana@example.org;Bob Légaré <bob@example.org>", "carl@example.org",
                                "dina@example.org", body.toStdString(), withAttachment ? attachment_.toStdString() : ""};
        const std::time_t before = std::time(nullptr);
        route == 0 ? SendWithOutlook(factory_, mail)
                   : route == 1 ? SendWithNotes(factory_, mail, Posted) : SendWithExpress(factory_, mail);

        QFile args(dir_.filePath("args")), raw(dir_.filePath("message"));
        QVERIFY(args.open(QIODevice::ReadOnly) && raw.open(QIODevice::ReadOnly));
        QCOMPARE(args.readAll(), QByteArray("-t|-oi|"));
        const QByteArray text = raw.readAll();
        QVERIFY(!text.contains('\r'));
        QVERIFY(std::ranges::all_of(text.split('\n'), [](const QByteArray &line) { return line.size() <= 998; }));
        QCOMPARE(text.toLower().contains("filename*=utf-8''plan%20%c3%a9.bin"), withAttachment);
        const QVariantMap message = parse(raw.fileName());
        QCOMPARE(message["to"].toString(), QStringLiteral("ana@example.org, Bob Légaré <bob@example.org>"));
        QCOMPARE(message["cc"].toString(), QStringLiteral("carl@example.org"));
        QCOMPARE(message["bcc"].toString(), QStringLiteral("dina@example.org"));
        QCOMPARE(message["subject"].toString(), QString::fromUtf8(Subject));
        QVERIFY(message["h-subject"].toString().startsWith("=?utf-8?", Qt::CaseInsensitive));
        QCOMPARE(message["h-x-mailer"].toString(), QStringLiteral("Tardello v 1.15"));
        QCOMPARE(message["h-mime-version"].toString(), QStringLiteral("1.0"));
        QCOMPARE(message["charset"].toString(), QStringLiteral("utf-8"));
        // A message that ends with its text part may gain the final line end.
        const QString received = message["body"].toString();
        QVERIFY(received == expectedBody || (!withAttachment && received == expectedBody + "\n"));
        const qint64 posted = QDateTime(QDate(2026, 12, 5), QTime(14, 5, 30)).toSecsSinceEpoch();
        const qint64 date = message["date"].toLongLong();
        QVERIFY(route == 1 ? date == posted : date >= before && date <= std::time(nullptr));
        QCOMPARE(QByteArray::fromBase64(message["attachment"].toByteArray()),
                 withAttachment ? Attachment : QByteArray());
    }

    // The sender's identity: From, the envelope sender, the Message-ID's domain, their own command.
    void senderShapesMessageAndCommand_data()
    {
        QTest::addColumn<SenderIdentity>("sender");
        QTest::addColumn<QByteArray>("arguments");
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("idDomain");
        QTest::newRow("none: sendmail decides") << SenderIdentity{} << QByteArray("-t|-oi|") << ""
                                                << QSysInfo::machineHostName();
        QTest::newRow("name and address")
            << SenderIdentity{"Anne Légaré", "anne@exemple.fr", ""}
            << QByteArray("-t|-oi|-f|anne@exemple.fr|-F|Anne Légaré|") << "Anne Légaré <anne@exemple.fr>"
            << "exemple.fr";
        QTest::newRow("address and own command")
            << SenderIdentity{"", "a@b.org", "mysend --account \"mon compte\""}
            << QByteArray("--account|mon compte|-t|-oi|-f|a@b.org|") << "a@b.org" << "b.org";
    }
    void senderShapesMessageAndCommand()
    {
        QFETCH(SenderIdentity, sender);
        QFETCH(QByteArray, arguments);
        QFETCH(QString, from);
        QFETCH(QString, idDomain);
        write("bin/mysend", "#!/bin/sh\nprintf '%s|' \"$@\" > \"$OUT/args\"\ncat > \"$OUT/message\"\n");
        SetCurrentSender(sender);
        SendWithOutlook(factory_, {"Sujet", "ana@example.org", "", "", "Corps", ""});
        SetCurrentSender({});
        QFile args(dir_.filePath("args"));
        QVERIFY(args.open(QIODevice::ReadOnly));
        QCOMPARE(args.readAll(), arguments);
        const QVariantMap message = parse(dir_.filePath("message"));
        QCOMPARE(message["from"].toString(), from);
        QVERIFY(!from.contains("é") || message["h-from"].toString().contains("=?utf-8?", Qt::CaseInsensitive));
        QVERIFY2(message["h-message-id"].toString().endsWith("@" + idDomain + ">"),
                 qPrintable(message["h-message-id"].toString()));
    }

    // Without a sender address the mail still goes, and the first delivery of the run says what to do.
    void missingSenderIsToldOnceWithTheFix()
    {
        TestDesktop desk;
        const OutgoingMail mail{"Sujet", "ana@example.org", "", "", "Corps", ""};
        SendWithExpress(factory_, mail);
        SendWithExpress(factory_, mail);
        QCOMPARE(desk.messageBox.shown.size(), 1);
        QVERIFY(!desk.messageBox.shown[0].modal);
        QVERIFY(desk.messageBox.shown[0].prompt.contains("Ouvrez « Expéditeur... » dans la fenêtre principale"));
        QVERIFY(QFile::exists(dir_.filePath("message")));
    }

    void attachmentTypedByContent_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("type");
        QTest::newRow("PDF without extension")
            << QByteArray("%PDF-1.4\n%\xe2\xe3\xcf\xd3\n1 0 obj\n") << "application/pdf";
        QTest::newRow("text") << QByteArray("Bonjour\n") << "text/plain";
        QTest::newRow("unknown bytes") << Attachment << "application/octet-stream";
    }
    void attachmentTypedByContent()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, type);
        write("piece", content);
        MailDraft draft;
        draft.to = {"ana@example.org"};
        draft.attachments = {dir_.filePath("piece").toStdString()};
        write("message", QByteArray::fromStdString(ComposeMessage(draft)));
        QCOMPARE(parse(dir_.filePath("message"))["type"].toString(), type);
    }

    // "Tester" submits to the sender's own address and tells the outcome in words, sendmail's own among them.
    void testMessageOutcomeInWords_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QByteArray>("script");
        QTest::addColumn<bool>("sent");
        QTest::addColumn<QString>("words");
        const QString sendmail = dir_.filePath("bin/sendmail");
        QTest::newRow("accepted") << "" << QByteArray("#!/bin/sh\ncat > \"$OUT/message\"\n") << true
                                  << "Le message d'essai a été remis à " + sendmail + " pour anne@exemple.fr.";
        QTest::newRow("refused")
            << "" << QByteArray("#!/bin/sh\ncat >/dev/null\necho 'msmtp: no configuration file' >&2\nexit 78\n")
            << false << "refusé (code 78). Message de " + sendmail + " : msmtp: no configuration file";
        QTest::newRow("hung") << "" << QByteArray("#!/bin/sh\nexec sleep 30\n") << false << "n'a pas répondu à temps";
        QTest::newRow("own command missing") << "/nonexistent/sendmail" << QByteArray() << false
                                             << "La commande « /nonexistent/sendmail » n'a pas pu être lancée.";
    }
    void testMessageOutcomeInWords()
    {
        QFETCH(QString, command);
        QFETCH(QByteArray, script);
        QFETCH(bool, sent);
        QFETCH(QString, words);
        if (!script.isEmpty())
            write("bin/sendmail", script);
        SenderTest test;
        test.timeLimitMs = 500;
        QSignalSpy finished(&test, &SenderTest::finished);
        QVERIFY(test.start({"Anne", "anne@exemple.fr", command.toStdString()}));
        QVERIFY(finished.size() == 1 || finished.wait(5000));
        QCOMPARE(finished[0][0].toBool(), sent);
        QVERIFY2(finished[0][1].toString().contains(words), qPrintable(finished[0][1].toString()));
        QVERIFY(CurrentSender().address.empty());  // trying does not change the identity in use
        if (sent)
            QCOMPARE(parse(dir_.filePath("message"))["to"].toString(), QStringLiteral("anne@exemple.fr"));
    }

    void sendFailureRaises_data()
    {
        QTest::addColumn<QByteArray>("sendmail");  // empty: no sendmail at all
        QTest::addColumn<QString>("to");
        QTest::addColumn<QString>("attachment");
        const QByteArray swallow = "#!/bin/sh\ncat >/dev/null\n";
        QTest::newRow("sendmail exits with 75") << swallow + "exit 75\n" << "a@x.org" << "";
        QTest::newRow("no sendmail") << QByteArray() << "a@x.org" << "";
        QTest::newRow("no recipient") << swallow << ";" << "";
        QTest::newRow("unreadable attachment") << swallow << "a@x.org" << "/nonexistent/file.pdf";
    }

    // Notes and Express raise on the failed send; Outlook swallows it.
    void sendFailureRaises()
    {
        QFETCH(QByteArray, sendmail);
        QFETCH(QString, to);
        QFETCH(QString, attachment);
        if (!sendmail.isEmpty())
            write("bin/sendmail", sendmail);
        else if (QFile::exists("/usr/sbin/sendmail") || QFile::exists("/usr/lib/sendmail"))
            QSKIP("this machine has a system sendmail");
        else
            qputenv("PATH", dir_.filePath("nothing-here").toUtf8());
        const OutgoingMail mail{"Sujet", to.toStdString(), "", "", "Corps", attachment.toStdString()};
        for (int route : {1, 2}) {
            try {
                route == 1 ? SendWithNotes(factory_, mail, Posted) : SendWithExpress(factory_, mail);
                QFAIL("no failure raised");
            } catch (const automation::Failure &failure) {
                QCOMPARE(failure.member(), "Send");
            }
        }
        SendWithOutlook(factory_, mail);
    }

    // A sendmail that never ends, whether or not it reads the message, is
    // killed at the time limit and the send fails instead of freezing the program.
    void hungSendmailIsStoppedAtItsTimeLimit()
    {
        write("bin/sendmail", "#!/bin/sh\nexec sleep 30\n");
        for (const std::size_t size : {100, 1 << 20}) {
            QElapsedTimer clock;
            clock.start();
            QVERIFY_THROWS_EXCEPTION(automation::Failure, RunSendmail(std::string(size, 'x'), std::chrono::milliseconds(300)));
            QVERIFY(clock.elapsed() < 5000);
        }
    }

    // msmtp as sendmail delivers to a local sink that keeps what it receives in a maildir.
    void smtpTransportKeepsBccOffTheMessage()
    {
        if (QStandardPaths::findExecutable("msmtp").isEmpty() || QProcess::execute(Python, {"-c", "import aiosmtpd"}))
            QSKIP("msmtp or python3-aiosmtpd missing: run scripts/deps.sh --tests");
        QProcess probe;  // a port the system hands out as free just now
        probe.start(Python, {"-c", "import socket; s = socket.socket(); s.bind(('127.0.0.1', 0)); print(s.getsockname()[1])"});
        QVERIFY(probe.waitForFinished(10000));
        const QByteArray port = probe.readAll().trimmed();
        QProcess sink;
        sink.start(Python, {"-m", "aiosmtpd", "-n", "-l", "127.0.0.1:" + port, "-c", "aiosmtpd.handlers.Mailbox",
                            dir_.filePath("maildir")});
        QVERIFY(sink.waitForStarted(5000));
        write("bin/sendmail", "#!/bin/sh\nexec msmtp -C /dev/null --host=127.0.0.1 --port=" + port +
                                  " --auth=off --tls=off --from=tardello@example.org \"$@\"\n");
        const OutgoingMail mail{"Compte rendu été", "ana@example.org", "carl@example.org", "dina@example.org",
                                "Voici le compte rendu.\r\nBonne journée", attachment_.toStdString()};
        bool sent = false;  // sending raises while the sink is not listening yet
        for (QDeadlineTimer deadline(15000); !sent && !deadline.hasExpired(); QThread::msleep(sent ? 0 : 100)) {
            try {
                SendWithExpress(factory_, mail);
                sent = true;
            } catch (const automation::Failure &) {
            }
        }
        QVERIFY(sent);

        QDir newMail(dir_.filePath("maildir/new"));
        QTRY_COMPARE_WITH_TIMEOUT(newMail.entryList(QDir::Files).size(), 1, 10000);
        const QVariantMap message = parse(newMail.filePath(newMail.entryList(QDir::Files).first()));
        QCOMPARE(message["h-x-rcptto"].toString(), QStringLiteral("ana@example.org, carl@example.org, dina@example.org"));
        QVERIFY(!message.contains("h-bcc"));
        QVERIFY(message["body"].toString().startsWith(QStringLiteral("Voici le compte rendu.\nBonne journée")));
        QCOMPARE(QByteArray::fromBase64(message["attachment"].toByteArray()), Attachment);
        sink.terminate();
        QVERIFY(sink.waitForFinished(5000));
    }

private:
    void write(const QString &name, const QByteArray &content)
    {
        QFile file(dir_.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(content) == content.size());
        file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }
    QTemporaryDir dir_;
    QByteArray originalPath_ = qgetenv("PATH");
    QString attachment_ = dir_.filePath("plan é.bin");
    LinuxAutomationFactory factory_;
};

QTEST_GUILESS_MAIN(LinuxMailTest)
#include "tst_linuxmail.moc"
