#include "LinuxMailClient.h"
#include "LocalSmtpServer.h"
#include "SenderFile.h"
#include "TestMainWindow.h"
#include "frmExpediteur.h"

#include <QtWidgets>

// A mail account set up in the sender window with real clicks and keys, against a
// real mail server (STARTTLS, AUTH, a self-signed certificate) and a real keyring
// on a private session bus (run through with-keyring.sh); then a scheduled mail
// leaves at its minute through the scheduler, the outbox and msmtp.
class tst_accountsend : public QObject
{
    Q_OBJECT

    const QByteArray Password = "Mot-de-passe-7Qz!";
    const QByteArray WrongPassword = "Faux-passe-9Kx";

private slots:
    void initTestCase()
    {
        if (qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS") || QStandardPaths::findExecutable("msmtp").isEmpty()
            || QStandardPaths::findExecutable("openssl").isEmpty() || QProcess::execute("/usr/bin/python3", {"-c", "import aiosmtpd"}))
            QSKIP("needs msmtp, openssl, python3-aiosmtpd and a session bus with a keyring (with-keyring.sh)");
        QProcess request;
        request.setStandardErrorFile(QProcess::nullDevice());
        request.start("openssl", {"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2", "-subj", "/CN=Serveur d'essai/O=Tardello",
                                  "-keyout", work_.filePath("key.pem"), "-out", work_.filePath("cert.pem")});
        QVERIFY(request.waitForFinished(30000) && request.exitCode() == 0);
        QProcess fingerprint;
        fingerprint.start("openssl", {"x509", "-noout", "-fingerprint", "-sha256", "-in", work_.filePath("cert.pem")});
        QVERIFY(fingerprint.waitForFinished(10000));
        fingerprint_ = QString::fromLatin1(fingerprint.readAllStandardOutput()).section('=', 1).trimmed();
        port_ = server_.start(work_.filePath("received"), {work_.filePath("cert.pem"), work_.filePath("key.pem"), "anne@exemple.fr"}, Password);
        QVERIFY(port_.toInt() > 0);
    }

    void accountSetUpInTheWindowThenAMailLeavesAtItsMinute()
    {
        TestMainWindow f;
        LinuxMailClient client(f.dir.path(), {});
        f.window.useMailClient(client);
        desktop().automation = &client.factory;
        client.start();
        f.desk.clock.set("04/12/2026 09:00:30");
        QVERIFY(f.showWindow());
        QTest::mouseClick(f.window.cmdExpediteur, Qt::LeftButton);
        frmExpediteur &window = *f.window.expediteur();  // the account is offered; its security and identifier follow
        const auto retype = [](auto *field, const QString &text) { field->selectAll(), QTest::keyClicks(field, text); };
        QTest::keyClicks(window.txtNom, "Anne Martin");
        QTest::keyClicks(window.txtAdresse, "anne@exemple.fr");
        QTest::keyClicks(window.txtServeur, "127.0.0.1");
        retype(window.txtPort, port_);
        QTest::keyClicks(window.txtMotDePasse, QString::fromLatin1(Password));

        // The certificate is not trusted here: the test says so and shows it.
        QTest::mouseClick(window.cmdTester, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(window.cmdConfiance->isVisible(), 20000);
        const QString shown = window.lblResultat->text();
        for (const QString &part : {QStringLiteral("n'est pas reconnu par ce poste"), QStringLiteral("Sujet : CN=Serveur d'essai,O=Tardello"),
                                    "Empreinte SHA-256 : " + fingerprint_, QStringLiteral("Détail (msmtp) : TLS certificate verification failed")})
            QVERIFY2(shown.contains(part), qPrintable(shown));
        QCOMPARE(received().size(), 0);

        // Trusted: the test goes again and the server takes it, authenticated.
        QTest::mouseClick(window.cmdConfiance, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(window.cmdTester->isEnabled() && !window.lblResultat->text().startsWith("Envoi"), 20000);
        QVERIFY2(window.lblResultat->text().contains("a accepté le message d'essai"), qPrintable(window.lblResultat->text()));
        QTRY_COMPARE(received().size(), 1);
        QVERIFY(received()[0].startsWith("Authenticated: anne@exemple.fr\n"));
        QTest::mouseClick(window.cmdConfirmer, Qt::LeftButton);
        const SenderIdentity saved = LoadSender(SenderFilePath(f.dir.path()));
        QVERIFY(!window.isVisible() && saved.server == "127.0.0.1" && QString::fromStdString(saved.fingerprint) == fingerprint_);

        // A mail for 09:01 leaves in its minute, not before.
        addPendingMail(f.program, "04/12/2026 09:01", "Compte rendu", "bob@exemple.org");
        f.window.Timer1.setInterval(100);
        QTest::qWait(400);
        QCOMPARE(received().size(), 1);
        f.desk.clock.set("04/12/2026 09:01:05");
        QTRY_COMPARE_WITH_TIMEOUT(received().size(), 2, 20000);
        const QByteArray mail = received()[1];
        QVERIFY(mail.startsWith("Authenticated: anne@exemple.fr\n") && mail.contains("Subject: Compte rendu")
                && mail.contains("From: Anne Martin <anne@exemple.fr>"));
        QTRY_COMPARE(client.outbox.messages(), QStringList());

        // A wrong password, a closed port and an unknown certificate: each in its own words.
        const auto tried = [&](const std::function<void()> &change) {
            QTest::mouseClick(f.window.cmdExpediteur, Qt::LeftButton);
            change();
            QTest::mouseClick(window.cmdTester, Qt::LeftButton);
            const bool answered = QTest::qWaitFor(
                [&] { return window.cmdTester->isEnabled() && !window.lblResultat->text().startsWith("Envoi"); }, 40000);
            return (answered ? QString() : QStringLiteral("(no answer in 40 s) ")) + window.lblResultat->text();
        };
        QString said = tried([&] { QTest::keyClicks(window.txtMotDePasse, QString::fromLatin1(WrongPassword)); });
        QVERIFY2(said.startsWith("Le serveur « 127.0.0.1 » a refusé l'identifiant ou le mot de passe.\nDétail (msmtp) : "
                                 "authentication failed"), qPrintable(said));
        QTest::keyClicks(window.txtMotDePasse, QString::fromLatin1(Password));  // the right one back in the keyring
        QTest::mouseClick(window.cmdConfirmer, Qt::LeftButton);
        QVERIFY(!window.isVisible());

        said = tried([&] { retype(window.txtPort, "1"); });  // nothing listens on port 1 here
        QVERIFY2(said.contains("refuse la connexion sur ce port") && said.contains("Connection refused"), qPrintable(said));

        said = tried([&] {
            retype(window.txtServeur, "localhost");  // another server: the accepted certificate is not for it
            retype(window.txtPort, port_);
        });
        QVERIFY2(said.contains("n'est pas reconnu par ce poste") && window.cmdConfiance->isVisible(), qPrintable(said));
        QTest::mouseClick(window.cmdAbandonner, Qt::LeftButton);
        QCOMPARE(received().size(), 2);

        // The passwords are in the keyring only.
        for (const QString &root : {f.dir.path(), QDir::homePath()})
            for (QDirIterator file(root, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories); file.hasNext();)
                QVERIFY2(!holdsAPassword(file.next()), qPrintable(file.filePath()));
        for (const QString &pid : QDir("/proc").entryList(QDir::Dirs))
            for (const char *part : {"/cmdline", "/environ"})
                if (pid.front().isDigit())
                    QVERIFY2(!holdsAPassword("/proc/" + pid + part), qPrintable(pid + part));
    }

private:
    QList<QByteArray> received() const { return server_.received(); }
    bool holdsAPassword(const QString &path) const
    {
        QFile file(path);
        const QByteArray content = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        return content.contains(Password) || content.contains(WrongPassword);
    }

    QTemporaryDir work_;
    LocalSmtpServer server_;
    QByteArray port_;
    QString fingerprint_;
};

QTEST_MAIN(tst_accountsend)
#include "tst_accountsend.moc"
