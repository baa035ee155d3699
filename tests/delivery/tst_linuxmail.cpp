#include "AttachmentSize.h"
#include "FakeSendmail.h"
#include "FullDisk.h"
#include "LinuxMailClient.h"
#include "LocalSmtpServer.h"
#include "Routes.h"
#include "Scheduler.h"
#include "SendFailure.h"
#include "SenderTest.h"
#include "TestProgram.h"

#include <QtTest>

#include <ctime>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const char *const Subject = "Réunion à 14h\u00A0☕";
const QString Python = QStringLiteral("/usr/bin/python3");
const SenderIdentity Me{"", "moi@exemple.fr", ""};
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
    'from': str(m['from'] or ''), 'type': part.get_content_type() if part else '',
    'attachment': base64.b64encode(part.get_payload(decode=True) if part else b'').decode()})))"});
    python.waitForFinished(10000);
    return QJsonDocument::fromJson(python.readAllStandardOutput()).toVariant().toMap();
}

const QByteArray Attachment = QByteArray("\x00\x07\x0e\xfe\x9c", 5).repeated(600);

// A message as an earlier run or a user may leave in the outbox.
QByteArray plainMessage(const QByteArray &subject)
{
    return "Date: Mon, 07 Dec 2026 10:00:00 +0100\nFrom: moi@exemple.fr\nTo: ana@example.org\nSubject: " + subject +
           "\n\nCorps\n";
}

// This process's peak memory in KB, its children not counted.
long ownPeakKb()
{
    rusage usage{};
    return getrusage(RUSAGE_SELF, &usage), usage.ru_maxrss;
}

int mode(const QString &path)
{
    struct stat info{};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? int(info.st_mode & 07777) : -1;
}

// True while a process of the group lives (a zombie does not count: it only waits to be reaped).
bool groupAlive(qint64 group)
{
    for (const QString &pid : QDir("/proc").entryList(QDir::Dirs)) {
        QFile stat("/proc/" + pid + "/stat");
        if (!pid.front().isDigit() || !stat.open(QIODevice::ReadOnly))
            continue;
        const QList<QByteArray> fields = stat.readAll().split(')').last().trimmed().split(' ');
        if (fields.size() > 2 && fields[2].toLongLong() == group && fields[0] != "Z")
            return true;
    }
    return false;
}

} // namespace

// The Linux mail client: the stand-ins put a real message in the outbox at once,
// and the submitter hands it to sendmail (here a script that keeps what it gets,
// or msmtp speaking to a local SMTP sink) in the background.
class LinuxMailTest : public QObject
{
    Q_OBJECT
private slots:
    // Under the usual umask, which the modes checked below must not follow.
    void initTestCase() { ::umask(022); }
    void init()
    {
        attempts_.reset(), client_.reset(), desk_.reset(), sendmail_.reset();
        QVERIFY(QDir(dir_.path()).removeRecursively() && QDir(dir_.path()).mkpath("bin"));
        write("plan é.bin", Attachment);
        sendmail_.emplace(dir_.path());
        desk_.emplace();
        client_ = std::make_unique<LinuxMailClient>(dir_.path(), Me);  // the reminder of a missing sender has its own test
        client_->submitter.retryDelays = {std::chrono::milliseconds(200), std::chrono::milliseconds(400)};
        attempts_.emplace(&client_->submitter, &OutboxSubmitter::attempted);
    }

    // The hand-over writes the whole message into the outbox; sendmail is not involved yet.
    // Each row: the route (Outlook, Notes, Express), the attachment (none when empty) and its type, the body and the body received.
    void routeDeliversRealMessage()
    {
        const QString body = "Bonjour,\r\nça va\u00A0?\r\n\r\nÀ demain";
        const QString received = "Bonjour,\nça va\u00A0?\n\nÀ demain";
        using Row = std::tuple<int, QByteArray, QString, QString, QString>;
        for (const auto &[route, content, type, sentBody, expectedBody] : std::initializer_list<Row>{
                 // The attachment is typed by its content, whatever its name.
                 {0, "%PDF-1.4\n%\xe2\xe3\xcf\xd3\n1 0 obj\n", "application/pdf", body, received},
                 {1, "Bonjour\n", "text/plain", body, received},
                 // The note keeps the line break the route adds; the attachment takes the blank.
                 {2, Attachment, "application/octet-stream", body, received + "\n"},
                 {2, {}, {}, body, received + "\n "},
                 // Mail lines stop at 998 bytes: a longer paragraph travels encoded, not cut by the mail servers.
                 {0, {}, {}, QString(1500, 'x') + "\r\nfin", QString(1500, 'x') + "\nfin"}}) {
            init();
            const bool withAttachment = !content.isEmpty();
            write("plan é.bin", content);
            const std::time_t before = std::time(nullptr);
            QVERIFY(QDir().mkpath(outbox().directory()));  // readable by all, as an earlier version left it
            send(route, {Subject, "ana@example.org;Bob\u00A0Légaré <bob@example.org>", "carl@example.org", "dina@example.org",
                         sentBody.toStdString(), withAttachment ? attachment_.toStdString() : ""});

            QCOMPARE(outbox().messages().size(), 1);
            const QString file = outbox().path(outbox().messages().first());
            QVERIFY(mode(outbox().directory()) == 0700 && mode(file) == 0600);  // the user's mail is theirs only
            const QByteArray text = read(file);
            QVERIFY(!text.contains('\r'));
            QVERIFY(std::ranges::all_of(text.split('\n'), [](const QByteArray &line) { return line.size() <= 998; }));
            QCOMPARE(text.toLower().contains("filename*=utf-8''plan%20%c3%a9.bin"), withAttachment);
            const QVariantMap message = parse(file);
            QCOMPARE((QStringList{message["to"].toString(), message["cc"].toString(), message["bcc"].toString()}),
                     (QStringList{"ana@example.org, Bob\u00A0Légaré <bob@example.org>", "carl@example.org", "dina@example.org"}));
            QCOMPARE(message["subject"].toString(), QString::fromUtf8(Subject));
            QVERIFY(message["h-subject"].toString().startsWith("=?utf-8?", Qt::CaseInsensitive));
            QCOMPARE(message["charset"].toString(), QStringLiteral("utf-8"));
            // A message that ends with its text part may gain the final line end.
            const QString gotBody = message["body"].toString();
            QVERIFY(gotBody == expectedBody || (!withAttachment && gotBody == expectedBody + "\n"));
            const qint64 date = message["date"].toLongLong();
            QVERIFY(route == 1 ? date == QDateTime(QDate(2026, 12, 5), QTime(14, 5, 30)).toSecsSinceEpoch()
                               : date >= before && date <= std::time(nullptr));
            QCOMPARE(QByteArray::fromBase64(message["attachment"].toByteArray()), content);
            QCOMPARE(message["type"].toString(), type);
        }
    }

    // The sender's identity shapes the message (From, the Message-ID's domain) and the
    // command the submitter runs (the envelope sender, their own command). Without an
    // address the mail still goes, and the first hand-over of the run says what to do.
    // Each row: the sender, the arguments sendmail gets, the From shown and the Message-ID's domain.
    void senderShapesMessageAndCommand()
    {
        using Row = std::tuple<SenderIdentity, QByteArray, QString, QString>;
        for (const auto &[sender, arguments, from, idDomain] : std::initializer_list<Row>{
                 {{}, "-t|-oi|", "", QSysInfo::machineHostName()},  // none: sendmail decides
                 {{"Anne Légaré", "anne@exemple.fr", ""}, "-t|-oi|-f|anne@exemple.fr|-F|Anne Légaré|", "Anne Légaré <anne@exemple.fr>",
                  "exemple.fr"},
                 {{"", "a@b.org", "mysend --account \"mon compte\""}, "--account|mon compte|-t|-oi|-f|a@b.org|", "a@b.org", "b.org"},
                 // The account: msmtp with options only; the password is in none of them.
                 {{"Anne", "anne@exemple.fr", "mysend", "smtp.exemple.fr", 0, AccountSecurity::Tls, "", "AA:BB"},
                  "--host=smtp.exemple.fr|--port=465|--timeout=30|--tls=on|--tls-starttls=off|--tls-fingerprint=AA:BB|"
                  "--auth=on|--user=anne@exemple.fr|--from=anne@exemple.fr|-t|-oi|-F|Anne|",
                  "Anne <anne@exemple.fr>", "exemple.fr"},
                 // Without encryption no password is sent.
                 {{"", "a@b.org", "", "relais.b.org", 2525, AccountSecurity::None, "compte", "AA:BB"},
                  "--host=relais.b.org|--port=2525|--timeout=30|--tls=off|--tls-starttls=off|--auth=off|--from=a@b.org|-t|-oi|",
                  "a@b.org", "b.org"}}) {
            init();
            QVERIFY(sendmail_->put(read("bin/sendmail"), "mysend") && sendmail_->put(read("bin/sendmail"), "msmtp"));
            client_->setSender(sender);
            client_->start();
            send(0, {"Sujet", "ana@example.org", "", "", "Corps", ""});
            send(2, {"Sujet", "ana@example.org", "", "", "Corps", ""});
            QTRY_COMPARE(attempts_->size(), 2);
            told(from.isEmpty() ? 1 : 0, "Ouvrez « Expéditeur... » dans la fenêtre principale");
            QVERIFY(from.size() || !desk_->messageBox.shown[0].modal);
            QCOMPARE(read("args"), arguments);
            const QVariantMap message = parse(dir_.filePath("sent0"));
            QCOMPARE(message["from"].toString(), from);
            QVERIFY(!from.contains("é") || message["h-from"].toString().contains("=?utf-8?", Qt::CaseInsensitive));
            QCOMPARE(message["h-message-id"].toString().section('@', -1), idDomain + ">");
        }
    }

    // "Tester" submits to the sender's own address and tells the outcome in words, sendmail's own among them.
    void testMessageOutcomeInWords()
    {
        const QString sendmail = dir_.filePath("bin/sendmail");
        for (const auto &[command, script, sent, words] : std::initializer_list<std::tuple<QString, QByteArray, bool, QString>>{
                 {"", "#!/bin/sh\ncat > \"$OUT/message\"\n", true, "Le message d'essai a été remis à " + sendmail + " pour anne@exemple.fr."},
                 {"", "#!/bin/sh\ncat >/dev/null\necho \"msmtp: no configuration file ($LC_ALL)\" >&2\nexit 78\n", false,
                  "L'envoi a échoué.\nDétail (sendmail) : no configuration file (C)"},
                 {"", "#!/bin/sh\nexec sleep 30\n", false, "n'a pas répondu à temps"},
                 {"/nonexistent/sendmail", {}, false, "La commande « /nonexistent/sendmail » n'a pas pu être lancée."}}) {
            write("bin/sendmail", script);
            SenderTest test;
            test.timeLimitMs = 500;
            QSignalSpy finished(&test, &SenderTest::finished);
            QVERIFY(test.start({"Anne", "anne@exemple.fr", command.toStdString()}));
            QVERIFY(finished.size() == 1 || finished.wait(5000));
            QVERIFY2(finished[0][0].toBool() == sent && finished[0][1].toString().contains(words), qPrintable(finished[0][1].toString()));
            QVERIFY(!sent || parse(dir_.filePath("message"))["to"].toString() == "anne@exemple.fr");
        }
    }

    // msmtp's words (in English, as it runs with LC_ALL=C) become one French sentence, its words kept below;
    // each kind of failure has a sentence of its own, so that a wrong kind shows as a wrong sentence.
    void failuresInWords()
    {
        const SenderIdentity gmail{"", "anne@gmail.com", "", "smtp.gmail.com"};
        for (const auto &[code, said, sentence] : std::initializer_list<std::tuple<int, QString, QString>>{
                 {68, "msmtp: cannot locate host smtp.exemple.fr: Name or service not known\nmsmtp: could not send mail",
                  "Le serveur « smtp.gmail.com » est introuvable"},
                 {75, "msmtp: cannot connect to 127.0.0.1, port 1: Connection refused", "refuse la connexion sur ce port"},
                 {75, "msmtp: cannot connect to 10.0.0.1, port 587: network timeout", "ne répond pas"},
                 {69, "msmtp: TLS certificate verification failed: The certificate is NOT trusted.", "n'est pas reconnu par ce poste"},
                 {69, "msmtp: TLS certificate verification failed: the certificate fingerprint does not match",
                  "n'est plus celui que vous aviez accepté"},
                 {76, "msmtp: TLS handshake failed: An unexpected TLS packet was received.", "STARTTLS sur le port 587"},
                 {77, "msmtp: authentication failed (method PLAIN)\nmsmtp: server message: 535 5.7.8 Authentication "
                      "credentials invalid\nmsmtp: could not send mail",
                  "a refusé l'identifiant ou le mot de passe. Gmail demande un mot de passe d'application"},
                 {69, "msmtp: authentication method PLAIN needs a password", "Aucun mot de passe n'est enregistré dans le trousseau"},
                 {65, "msmtp: envelope from address anne@gmail.com not accepted by the server", "a refusé l'adresse d'expéditeur"},
                 {65, "msmtp: recipient address x@y not accepted by the server\nmsmtp: server message: 550 no such user",
                  "a refusé un destinataire"},
                 {75, "", "L'envoi a échoué.\nDétail (msmtp) : code de sortie 75"}}) {
            const QString text = sendFailureText(code, said, "/usr/bin/msmtp", gmail);
            // The sentence, then msmtp's first words on one line, its closing line dropped.
            QVERIFY2(text.contains(sentence) && text.count('\n') == 1 && !text.contains("could not send mail")
                         && text.section('\n', 1).contains(said.section('\n', 0, 0).section(": ", 1)), qPrintable(text));
        }
    }

    // Notes and Express raise at once, without blocking; Outlook swallows the
    // failure but its stand-in tells the user, since the mail leaves the list.
    // Each row: To, the attachment, whether the outbox is on a full disk, the reason told.
    void badHandOverIsRefusedAtOnce()
    {
        QVERIFY(mkfifo(QFile::encodeName(dir_.filePath("tube")), 0600) == 0);
        QFile big(dir_.filePath("film.iso"));  // beyond 32 bits, taking no room on the disk
        QVERIFY(big.open(QIODevice::WriteOnly) && big.resize(5'000'000'000));
        big.close();
        std::optional<FullDisk> disk;
        const auto release = qScopeGuard([&] { client_.reset(); });
        for (const auto &[to, attachment, fullDisk, reason] : std::initializer_list<std::tuple<QString, QString, bool, QString>>{
                 {";", "", false, "aucun destinataire"},
                 {"a@x.org", "/nonexistent/file.pdf", false, "illisible"},
                 {"a@x.org", dir_.filePath("tube"), false, "pas un fichier ordinaire"},
                 {"a@x.org", dir_.path(), false, "pas un fichier ordinaire"},
                 {"a@x.org", dir_.filePath("film.iso"), false, "« film.iso » fait 5,0 Go : c'est trop"},
                 {"a@x.org", "", true, "n'a pas pu être écrite"}}) {
            const long peakBefore = ownPeakKb();
            if (fullDisk) {
                if (!disk.emplace().mounted)
                    QSKIP("cannot mount a small tmpfs here (needs root)");
                client_ = std::make_unique<LinuxMailClient>(disk->path(), Me);
                QVERIFY(QDir().mkpath(outbox().directory()));
                disk->fill();
            }
            const OutgoingMail mail{"Sujet", to.toStdString(), "", "", std::string(20000, 'c'), attachment.toStdString()};
            const qsizetype shown = desk_->messageBox.shown.size();
            for (int route : {1, 2}) {
                try {
                    send(route, mail);
                    QFAIL("no failure raised");
                } catch (const automation::Failure &failure) {
                    QCOMPARE(failure.member(), "Send");
                    QVERIFY2(QString::fromUtf8(failure.what()).contains(reason), failure.what());
                }
            }
            told(shown, {});  // the scheduler tells of those two
            send(0, mail);
            told(shown + 1, reason);
            QVERIFY(outbox().messages().isEmpty());
            const long grown = ownPeakKb() - peakBefore;
            QVERIFY2(grown < 50'000, qPrintable(QString::number(grown) + " KB more"));
        }
    }

    // A due mail with an attachment of the largest size allowed: it is read and encoded while the
    // event loop turns (here a timer of 0 ms ticking the scheduler, whose ticks find the pass still
    // running and hand nothing over), and the message stays under the servers' 25 MB.
    void largestAttachmentIsComposedWhileTheEventLoopTurns()
    {
        QByteArray content(AttachmentSize::Limit, Qt::Uninitialized);
        QRandomGenerator(21).fillRange(reinterpret_cast<quint32 *>(content.data()), content.size() / 4);
        write("grand.bin", content);
        TestProgram t;
        desktop().automation = &client_->factory;
        t.program.mailClient.setValue(MailClient::Express);
        const qint16 slot = addPendingMail(t.program, "05/12/2026 14:05", "Grand");
        const_cast<MailTable &>(t.program.pending.table())[slot].Attach = dir_.filePath("grand.bin");
        t.desk.clock.set(QStringLiteral("05/12/2026 14:05:20"));
        Scheduler scheduler(t.program);
        int ticks = 0;
        QTimer ticking;
        connect(&ticking, &QTimer::timeout, [&] { ++ticks, scheduler.SendDueMail(); });
        ticking.start(0);
        scheduler.SendDueMail();
        ticking.stop();
        QVERIFY2(ticks > 0, "the event loop did not turn while the message was composed");
        QCOMPARE(t.program.lstSent.ListCount(), 1);
        QCOMPARE(outbox().messages().size(), 1);
        const qint64 size = QFileInfo(outbox().path(outbox().messages().first())).size();
        QVERIFY2(size > AttachmentSize::Limit * 4 / 3 && size < 25'000'000, qPrintable(QString::number(size)));
    }

    // sendmail refuses, saying why; the message stays in the outbox, the user is
    // told once with sendmail's own words, and it leaves exactly once when
    // sendmail recovers. A sendmail (or a user's wrapper) that exits 0 without reading
    // the message has not taken it either. What an earlier run left in the outbox goes at the next start.
    void submitterRetriesUntilSendmailTakesIt()
    {
        QVERIFY(sendmail_->setDown(true));
        client_->start();
        send(2, {"Réunion", "ana@example.org", "", "dina@example.org", "Corps", ""});
        QTRY_VERIFY(attempts_->size() >= 2);  // failed, then failed again after the first delay
        told(1, "\"Réunion\" pour ana@example.org, dina@example.org");  // the same failure is told once
        for (const char *part : {"Détail (sendmail) : cannot connect to smtp.exemple.fr", "sera renvoyé"})
            QVERIFY2(desk_->messageBox.shown[0].prompt.contains(QString::fromUtf8(part)), part);
        QVERIFY(sendmail_->setDown(false));
        QTRY_COMPARE(desk_->messageBox.shown.size(), 2);  // told once the outbox has emptied
        told(2, "\"Réunion\" pour ana@example.org, dina@example.org est finalement parti");

        // Quit with two messages waiting, start again: they go, in order.
        const QByteArray fake = read("bin/sendmail");
        write("bin/sendmail", "#!/bin/sh\nexit 0\n");
        send(1, {"Premier", "ana@example.org", "", "", "Corps", attachment_.toStdString()});
        send(0, {"Second", "ana@example.org", "", "", "Corps", ""});
        QTRY_COMPARE(desk_->messageBox.shown.size(), 3);
        told(3, "sans en lire la fin");
        client_->watch.tellWaitingAtQuit();  // without a notification service to keep it, a box
        const qsizetype shown = desk_->messageBox.shown.size();
        told(shown, "2 mails attendent encore dans la boîte d'envoi ; ils partiront au prochain démarrage de Tardello.");
        QVERIFY(desk_->messageBox.shown.last().modal);
        client_ = std::make_unique<LinuxMailClient>(dir_.path(), Me);
        write("bin/sendmail", fake);
        client_->start();
        QTRY_COMPARE(outbox().messages(), QStringList());
        QCOMPARE(sent(), (QStringList{"Réunion", "Premier", "Second"}));
        // Waiting since the earlier run, their departures are told, together.
        QTRY_COMPARE(desk_->messageBox.shown.size(), shown + 1);
        told(shown + 1, "2 mails de la boîte d'envoi sont finalement partis. "
                        "Le dernier : Le mail \"Second\" pour ana@example.org est finalement parti");
    }

    // Without any sendmail the user is told once at start-up how to get one;
    // hand-overs still succeed and wait in the outbox.
    void missingSendmailIsToldAtStartUp()
    {
        if (QFile::exists("/usr/sbin/sendmail") || QFile::exists("/usr/lib/sendmail"))
            QSKIP("this machine has a system sendmail");
        qputenv("PATH", dir_.filePath("nothing-here").toUtf8());
        client_->start();
        send(1, {"Sujet", "a@x.org", "", "", "Corps", ""});
        QTRY_COMPARE(attempts_->size(), 1);
        QCOMPARE(desk_->messageBox.shown.size(), 1);  // not told again for the mail that waits
        for (const char *part : {"Aucun programme sendmail", "« Mon compte de messagerie »", "Expéditeur...", "l'aide"})
            QVERIFY2(desk_->messageBox.shown[0].prompt.contains(QString::fromUtf8(part)), part);
        QCOMPARE(outbox().messages().size(), 1);
        // With an account, what is missing is msmtp.
        LinuxMailClient(dir_.path(), {"", "a@x.org", "", "smtp.x.org"}).start();
        told(2, "sudo apt install msmtp.");
    }

    // A sendmail that hangs, with a child of its own, does not hold up the window nor
    // the next hand-over; at its time limit its whole process group is killed.
    void hungSendmailIsKilledWithItsGroup()
    {
        write("bin/sendmail", "#!/bin/sh\nsleep 300 &\nsleep 300\n");
        client_->submitter.timeLimit = std::chrono::milliseconds(1500);
        client_->start();
        send(2, {"Premier", "a@x.org", "", "", "Corps", ""});
        QTRY_VERIFY(client_->submitter.runningGroup() > 0);
        const qint64 group = client_->submitter.runningGroup();
        QTest::qWait(100);  // the event loop turns while sendmail hangs
        send(2, {"Second", "a@x.org", "", "", "Corps", ""});
        // Neither the event loop nor the hand-over waited for the hung sendmail: it is still there, untold,
        // leading a group of its own.
        QVERIFY(groupAlive(group) && attempts_->isEmpty());

        QTRY_COMPARE_WITH_TIMEOUT(attempts_->size(), 1, 10000);
        QVERIFY(desk_->messageBox.shown.last().prompt.contains("ne répondait plus"));
        QTRY_VERIFY(!groupAlive(group));
        QCOMPARE(outbox().messages().size(), 2);  // the second handed over meanwhile, the killed one waits for its retry
    }

    // Whatever the outbox holds: a link to a FIFO, a dangling link, a folder and
    // half a message are set aside, told once, without holding up the messages behind them,
    // which go whatever their names.
    void outboxTrustsNothing()
    {
        const QString box = outbox().directory();
        QVERIFY(QDir().mkpath(box + "/dossier"));
        QVERIFY(mkfifo(QFile::encodeName(dir_.filePath("tube")).constData(), 0600) == 0);
        QVERIFY(QFile::link(dir_.filePath("tube"), box + "/20200101-a-tube.eml"));
        QVERIFY(QFile::link(dir_.filePath("absent"), box + "/20200101-b-perdu.eml"));
        const QByteArray odd = QFile::encodeName(box) + "/\xff\xfe-octets.eml";  // not UTF-8
        const QByteArray octets = plainMessage("Octets");
        const int fd = ::open(odd.constData(), O_WRONLY | O_CREAT, 0600);
        QVERIFY(fd >= 0 && ::write(fd, octets.constData(), octets.size()) == octets.size() && ::close(fd) == 0);
        write(box + "/.point", plainMessage("Point"));
        write(box + "/zz.eml", plainMessage("Dernier"));
        write(box + "/zz.eml.Ab12Cd", "From: moi");  // an earlier version killed while writing

        client_->start();
        QTRY_COMPARE(attempts_->size(), 7);
        QCOMPARE(sent(), (QStringList{"Point", "Dernier", "Octets"}));
        QCOMPARE(outbox().messages(), QStringList());
        QCOMPARE(QDir(box + "/Mis de côté").entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot).size(), 4);
        told(1, "mise de côté");
    }

    // Thousands of messages while sendmail refuses them all: one notice for the
    // one reason, and each attempt costs what it costs with a short queue.
    void longQueueWhileSendmailRefuses()
    {
        write("bin/sendmail", "#!/bin/sh\nexit 75\n");
        double few = 0, many = 0;
        costPerAttempt(50, few);
        costPerAttempt(3000, many);
        QVERIFY2(many < 2 * few + 0.3, qPrintable(QString("%1 ms against %2 ms").arg(many).arg(few)));
        told(2, "code de sortie 75");  // one per run
    }

    // Room for the message but not for the store's rewrite: the save is tried
    // again each pass and told once; a start meanwhile finds the mail
    // gone to sendmail and does not offer it again; with room, the store catches up.
    void storeSaveFailingAfterHandOver()
    {
        FullDisk disk;
        if (!disk.mounted)
            QSKIP("a file system cannot be mounted here (the tests run as root)");
        desktop().automation = &client_->factory;
        auto program = std::make_unique<Program>(disk.path());
        Scheduler scheduler(*program);
        MailStore &store = program->pending.store();
        // As the program joins them at start-up.
        scheduler.handingOver = [this](const QString &identity) { outbox().setHandOverIdentity(identity); };
        store.saved = [this] { outbox().forgetSubmitted(); };
        client_->submitter.storeBehind = [&store] { return store.behind(); };
        addPendingMail(*program, "07/12/2026 10:00", "Parti");
        addPendingMail(*program, "08/12/2026 10:00", "Demain");
        desk_->clock.set("07/12/2026 10:00:20");
        client_->start();
        disk.fill();

        scheduler.SendDueMail();
        QTRY_COMPARE(attempts_->size(), 1);
        QVERIFY((*attempts_)[0][1].toBool());
        told(1, "réessaie");
        QCOMPARE(storedSubjects(*program), (QStringList{"Parti", "Demain"}));
        scheduler.SendDueMail();  // tried again, not told again
        QCOMPARE(desk_->messageBox.shown.size(), 1);
        QCOMPARE(desk_->files.writes, 4);  // two schedules, two passes

        Program restarted(disk.path());
        restarted.pending.load();
        QCOMPARE(restarted.pending.dropHandedOver(outbox().handedOver()), 1);
        QCOMPARE(restarted.pending.lstHisto().ListCount(), 1);

        disk.makeRoom();
        desk_->clock.set("07/12/2026 10:01:10");
        scheduler.SendDueMail();
        QCOMPARE(storedSubjects(*program), QStringList{"Demain"});
        QVERIFY(outbox().handedOver().isEmpty());  // the message kept aside has gone
        QCOMPARE(sent(), QStringList{"Parti"});
    }

    // msmtp as sendmail delivers to a local server, which keeps what it receives.
    void smtpTransportKeepsBccOffTheMessage()
    {
        if (QStandardPaths::findExecutable("msmtp").isEmpty() || QProcess::execute(Python, {"-c", "import aiosmtpd"}))
            QSKIP("msmtp or python3-aiosmtpd missing: run scripts/deps.sh --tests");
        LocalSmtpServer server;
        const QByteArray port = server.start(dir_.filePath("received"));
        QVERIFY(port.toInt() > 0);
        write("bin/sendmail", "#!/bin/sh\nexec msmtp -C /dev/null --host=127.0.0.1 --port=" + port +
                                  " --auth=off --tls=off --from=tardello@example.org \"$@\"\n");
        client_->start();
        send(2, {"Compte rendu été", "ana@example.org", "carl@example.org", "dina@example.org",
                 "Voici le compte rendu.\r\nBonne journée", attachment_.toStdString()});

        QTRY_COMPARE_WITH_TIMEOUT(server.received().size(), 1, 15000);
        const QVariantMap message = parse(dir_.filePath("received/mail0"));  // the server's lines read as fields
        QCOMPARE(message["h-recipients"].toString(), QStringLiteral("ana@example.org, carl@example.org, dina@example.org"));
        QVERIFY(!message.contains("h-bcc"));
        QCOMPARE(QByteArray::fromBase64(message["attachment"].toByteArray()), Attachment);
        QTRY_COMPARE(outbox().messages(), QStringList());
    }

private:
    // The program's own CPU time per attempt, the outbox holding `queued` messages that sendmail refuses.
    void costPerAttempt(int queued, double &cost)
    {
        client_ = std::make_unique<LinuxMailClient>(dir_.filePath(QString::number(queued)), Me);
        client_->submitter.retryDelays = {std::chrono::hours(1)};
        QVERIFY(QDir().mkpath(outbox().directory()));
        for (int n = 0; n < queued; ++n)
            write(QString::number(queued) + "/Boîte d'envoi/" + QString::number(100000 + n) + ".eml", plainMessage("Lot"));
        QSignalSpy attempts(&client_->submitter, &OutboxSubmitter::attempted);
        client_->start();
        QTRY_VERIFY(attempts.size() >= 10);
        const std::clock_t before = std::clock();  // this process's CPU time, its children not counted
        const qsizetype first = attempts.size();
        QTRY_VERIFY_WITH_TIMEOUT(attempts.size() >= 40, 30000);
        cost = (std::clock() - before) * 1e3 / CLOCKS_PER_SEC / double(attempts.size() - first);
    }

    void send(int route, const OutgoingMail &mail)
    {
        route == 0 ? SendWithOutlook(client_->factory, mail)
                   : route == 1 ? SendWithNotes(client_->factory, mail, Posted) : SendWithExpress(client_->factory, mail);
    }
    Outbox &outbox() { return client_->outbox; }
    // The subjects sendmail has taken, in order.
    QStringList sent()
    {
        QStringList subjects;
        for (int n = 0; QFile::exists(dir_.filePath("sent" + QString::number(n))); ++n)
            subjects << parse(dir_.filePath("sent" + QString::number(n)))["subject"].toString();
        return subjects;
    }
    QByteArray read(const QString &name)  // in the test's directory, or an absolute path
    {
        QFile file(QDir(dir_.path()).filePath(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    void write(const QString &name, const QByteArray &content)  // likewise
    {
        QFile file(QDir(dir_.path()).filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(content) == content.size());
        file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }
    // The boxes shown so far number `count`, the last saying `words`.
    void told(qsizetype count, const QString &words)
    {
        QCOMPARE(desk_->messageBox.shown.size(), count);
        const QString last = count ? desk_->messageBox.shown.last().prompt : QString();
        QVERIFY2(!count || last.contains(words), qPrintable(last));
    }
    QTemporaryDir dir_;
    std::optional<FakeSendmail> sendmail_;
    std::optional<TestDesktop> desk_;
    std::optional<QSignalSpy> attempts_;  // the submitter's, as init() makes it
    QString attachment_ = dir_.filePath("plan é.bin");
    std::unique_ptr<LinuxMailClient> client_;
};

QTEST_GUILESS_MAIN(LinuxMailTest)
#include "tst_linuxmail.moc"
