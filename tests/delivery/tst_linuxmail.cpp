#include "LinuxAutomationFactory.h"
#include "MessageReader.h"
#include "Routes.h"

#include <QtTest>

#include <ctime>

namespace {

const char *const Subject = "Réunion à 14h ☕";
const char *const Body = "Bonjour,\r\nça va ?\r\n\r\nÀ demain";

QByteArray attachmentBytes()
{
    QByteArray bytes;
    for (int i = 0; i < 3000; ++i)
        bytes.append(char(i * 7 % 256));
    return bytes;
}

// 05/12/2026 14:05:30 as days since 30/12/1899.
automation::Date postedDate()
{
    return {double(QDate(1899, 12, 30).daysTo(QDate(2026, 12, 5))) + (14 * 3600 + 5 * 60 + 30) / 86400.0};
}

} // namespace

class LinuxMailTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void routeDeliversRealMessage_data();
    void routeDeliversRealMessage();
    void sendFailureRaises_data();
    void sendFailureRaises();
    void unknownMembersRaise();

private:
    void installSendmail(const QByteArray &script);
    QTemporaryDir dir_;
    QByteArray originalPath_;
    QString attachmentPath_;
    LinuxAutomationFactory factory_;
};

void LinuxMailTest::initTestCase()
{
    originalPath_ = qgetenv("PATH");
    QVERIFY(QDir(dir_.path()).mkdir("bin"));
    attachmentPath_ = dir_.filePath("plan é.bin");
    QFile file(attachmentPath_);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(attachmentBytes());
}

void LinuxMailTest::init()
{
    QFile::remove(dir_.filePath("args"));
    QFile::remove(dir_.filePath("message"));
    installSendmail("#!/bin/sh\nprintf '%s|' \"$@\" > \"$OUT/args\"\ncat > \"$OUT/message\"\n");
    qputenv("OUT", dir_.path().toUtf8());
    qputenv("PATH", dir_.filePath("bin").toUtf8() + ":" + originalPath_);
}

void LinuxMailTest::installSendmail(const QByteArray &script)
{
    QFile file(dir_.filePath("bin/sendmail"));
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(script);
    file.close();
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

void LinuxMailTest::routeDeliversRealMessage_data()
{
    QTest::addColumn<int>("route");
    QTest::addColumn<bool>("withAttachment");
    QTest::addColumn<QString>("expectedBody");
    QTest::newRow("Outlook") << 0 << true << "Bonjour,\nça va ?\n\nÀ demain";
    QTest::newRow("Outlook, no attachment") << 0 << false << "Bonjour,\nça va ?\n\nÀ demain";
    QTest::newRow("Notes") << 1 << true << "Bonjour,\nça va ?\n\nÀ demain";
    // The note keeps the line break the route adds; the attachment takes the blank.
    QTest::newRow("Express") << 2 << true << "Bonjour,\nça va ?\n\nÀ demain\n";
    QTest::newRow("Express, no attachment") << 2 << false << "Bonjour,\nça va ?\n\nÀ demain\n ";
}

void LinuxMailTest::routeDeliversRealMessage()
{
    QFETCH(int, route);
    QFETCH(bool, withAttachment);
    QFETCH(QString, expectedBody);
    const OutgoingMail mail{Subject, "ana@example.org;Bob Légaré <bob@example.org>", "carl@example.org", "dina@example.org",
                            Body, withAttachment ? attachmentPath_.toStdString() : std::string()};
    const std::time_t before = std::time(nullptr);
    switch (route) {
    case 0: SendWithOutlook(factory_, mail); break;
    case 1: SendWithNotes(factory_, mail, postedDate()); break;
    default: SendWithExpress(factory_, mail); break;
    }

    QFile args(dir_.filePath("args")), raw(dir_.filePath("message"));
    QVERIFY(args.open(QIODevice::ReadOnly) && raw.open(QIODevice::ReadOnly));
    QCOMPARE(args.readAll(), QByteArray("-t|-oi|"));
    const QByteArray text = raw.readAll();
    QVERIFY(!text.contains('\r'));
    QCOMPARE(text.toLower().contains("filename*=utf-8''plan%20%c3%a9.bin"), withAttachment);
    const ParsedMessage message = ParseMessage(text);
    QVERIFY(message.valid);
    QCOMPARE(message.to, QStringLiteral("ana@example.org, Bob Légaré <bob@example.org>"));
    QCOMPARE(message.cc, QStringLiteral("carl@example.org"));
    QCOMPARE(message.bcc, QStringLiteral("dina@example.org"));
    QCOMPARE(message.subject, QString::fromUtf8(Subject));
    QVERIFY(message.headers.value("subject").startsWith("=?utf-8?", Qt::CaseInsensitive));
    QCOMPARE(message.headers.value("x-mailer"), QStringLiteral("Tardello v 1.15"));
    QCOMPARE(message.headers.value("mime-version"), QStringLiteral("1.0"));
    QCOMPARE(message.bodyCharset.toLower(), QStringLiteral("utf-8"));
    // A message that ends with its text part may gain the final line end.
    QVERIFY2(message.body == expectedBody || (!withAttachment && message.body == expectedBody + "\n"),
             qPrintable(message.body));
    if (route == 1) {
        const QDateTime posted(QDate(2026, 12, 5), QTime(14, 5, 30));
        QCOMPARE(message.dateSeconds, posted.toSecsSinceEpoch());
    } else {
        QVERIFY(message.dateSeconds >= before && message.dateSeconds <= std::time(nullptr));
    }
    QCOMPARE(message.attachment, withAttachment ? attachmentBytes() : QByteArray());
    QCOMPARE(message.attachmentName, withAttachment ? QStringLiteral("plan é.bin") : QString());
}

void LinuxMailTest::sendFailureRaises_data()
{
    QTest::addColumn<QByteArray>("sendmail");  // empty: no sendmail at all
    QTest::addColumn<QString>("to");
    QTest::addColumn<QString>("attachment");
    QTest::newRow("sendmail exits with 75") << QByteArray("#!/bin/sh\ncat >/dev/null\nexit 75\n") << "a@x.org" << "";
    QTest::newRow("no sendmail") << QByteArray() << "a@x.org" << "";
    QTest::newRow("no recipient") << QByteArray("#!/bin/sh\ncat >/dev/null\n") << ";" << "";
    QTest::newRow("unreadable attachment") << QByteArray("#!/bin/sh\ncat >/dev/null\n") << "a@x.org"
                                           << "/nonexistent/file.pdf";
}

void LinuxMailTest::sendFailureRaises()
{
    QFETCH(QByteArray, sendmail);
    QFETCH(QString, to);
    QFETCH(QString, attachment);
    if (sendmail.isEmpty()) {
        if (QFile::exists("/usr/sbin/sendmail") || QFile::exists("/usr/lib/sendmail"))
            QSKIP("this machine has a system sendmail");
        qputenv("PATH", dir_.filePath("nothing-here").toUtf8());
    } else {
        installSendmail(sendmail);
    }
    const OutgoingMail mail{"Sujet", to.toStdString(), "", "", "Corps", attachment.toStdString()};
    for (int route = 1; route <= 2; ++route) {
        bool raised = false;
        try {
            if (route == 1)
                SendWithNotes(factory_, mail, postedDate());
            else
                SendWithExpress(factory_, mail);
        } catch (const automation::Failure &failure) {
            raised = failure.member() == "Send";
        }
        QVERIFY2(raised, route == 1 ? "Notes" : "Express");
    }
    SendWithOutlook(factory_, mail);  // swallowed
}

void LinuxMailTest::unknownMembersRaise()
{
    QVERIFY_THROWS_EXCEPTION(automation::Failure, factory_.create("Excel.Application"));
    automation::ObjectRef outlook = factory_.create("Outlook.application");
    QVERIFY_THROWS_EXCEPTION(automation::Failure, outlook->call("Quit"));
    QVERIFY_THROWS_EXCEPTION(automation::Failure, outlook->call("createitem", {std::int16_t(1)}));
    automation::ObjectRef messages = factory_.create("MSMAPI.MAPIMessages");
    QVERIFY_THROWS_EXCEPTION(automation::Failure, messages->call(35));  // compose without a session
    QVERIFY_THROWS_EXCEPTION(automation::Failure, messages->put("MsgSubject", std::string("x")));
}

QTEST_GUILESS_MAIN(LinuxMailTest)
#include "tst_linuxmail.moc"
