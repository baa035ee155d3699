#include "LinuxAutomationFactory.h"
#include "MessageReader.h"
#include "Routes.h"

#include <QtTest>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// A port the system hands out as free just now.
int freePort()
{
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    int port = 0;
    if (bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0 &&
        getsockname(fd, reinterpret_cast<sockaddr *>(&address), &length) == 0)
        port = ntohs(address.sin_port);
    close(fd);
    return port;
}

bool accepts(int port)
{
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(quint16(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const bool connected = ::connect(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0;
    close(fd);
    return connected;
}

void writeFile(const QString &path, const QByteArray &content, QFileDevice::Permissions permissions)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
    file.close();
    QVERIFY(file.setPermissions(permissions));
}

} // namespace

// One mail through a real transport: msmtp as sendmail, to a local SMTP sink
// that keeps what it receives in a maildir.
class TransportTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void mailReachesSmtpServer();
    void cleanupTestCase();

private:
    QTemporaryDir dir_;
    QProcess sink_;
    QByteArray originalPath_;
};

void TransportTest::initTestCase()
{
    const QString python = QStringLiteral("/usr/bin/python3");
    if (QStandardPaths::findExecutable("msmtp").isEmpty() ||
        QProcess::execute(python, {"-c", "import aiosmtpd"}) != 0)
        QSKIP("msmtp or python3-aiosmtpd missing: run scripts/deps.sh --tests");

    const int port = freePort();
    QVERIFY(port > 0);
    sink_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    sink_.start(python, {"-m", "aiosmtpd", "-n", "-l", QString("127.0.0.1:%1").arg(port), "-c",
                         "aiosmtpd.handlers.Mailbox", dir_.filePath("maildir")});
    QVERIFY(sink_.waitForStarted(5000));
    QTRY_VERIFY_WITH_TIMEOUT(accepts(port), 15000);

    const QFileDevice::Permissions ownerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
    writeFile(dir_.filePath("msmtprc"),
              QString("defaults\nauth off\ntls off\n\naccount sink\nhost 127.0.0.1\nport %1\n"
                      "from tardello@example.org\n\naccount default : sink\n")
                  .arg(port)
                  .toUtf8(),
              ownerOnly);
    QVERIFY(QDir(dir_.path()).mkdir("bin"));
    writeFile(dir_.filePath("bin/sendmail"),
              "#!/bin/sh\nexec msmtp -C '" + dir_.filePath("msmtprc").toUtf8() + "' \"$@\"\n",
              ownerOnly | QFileDevice::ExeOwner);
    originalPath_ = qgetenv("PATH");
    qputenv("PATH", dir_.filePath("bin").toUtf8() + ":" + originalPath_);
}

void TransportTest::mailReachesSmtpServer()
{
    const QString attachmentPath = dir_.filePath("compte-rendu.pdf");
    const QByteArray attachment = QByteArray("%PDF-1.4\n") + QByteArray(5000, '\xE9') + "\n%%EOF\n";
    writeFile(attachmentPath, attachment, QFileDevice::ReadOwner | QFileDevice::WriteOwner);

    LinuxAutomationFactory factory;
    const OutgoingMail mail{"Compte rendu été", "ana@example.org", "carl@example.org", "dina@example.org",
                            "Voici le compte rendu.\r\nBonne journée", attachmentPath.toStdString()};
    SendWithExpress(factory, mail);  // raises if msmtp fails

    QDir newMail(dir_.filePath("maildir/new"));
    QTRY_COMPARE_WITH_TIMEOUT(newMail.entryList(QDir::Files).size(), 1, 10000);
    QFile stored(newMail.filePath(newMail.entryList(QDir::Files).first()));
    QVERIFY(stored.open(QIODevice::ReadOnly));
    const ParsedMessage message = ParseMessage(stored.readAll());
    QVERIFY(message.valid);

    const QStringList envelope = message.headers.value("x-rcptto").split(", ");
    QCOMPARE(envelope, (QStringList{"ana@example.org", "carl@example.org", "dina@example.org"}));
    QVERIFY(!message.headers.contains("bcc"));
    QCOMPARE(message.bcc, QString());
    QCOMPARE(message.to, QStringLiteral("ana@example.org"));
    QCOMPARE(message.cc, QStringLiteral("carl@example.org"));
    QCOMPARE(message.subject, QStringLiteral("Compte rendu été"));
    QVERIFY(message.body.startsWith(QStringLiteral("Voici le compte rendu.\nBonne journée")));
    QCOMPARE(message.attachmentName, QStringLiteral("compte-rendu.pdf"));
    QCOMPARE(message.attachment, attachment);
}

void TransportTest::cleanupTestCase()
{
    qputenv("PATH", originalPath_);
    if (sink_.state() == QProcess::NotRunning)
        return;
    sink_.terminate();
    if (!sink_.waitForFinished(5000)) {
        sink_.kill();
        sink_.waitForFinished(5000);
    }
}

QTEST_GUILESS_MAIN(TransportTest)
#include "tst_transport.moc"
