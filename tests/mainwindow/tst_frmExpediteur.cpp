#include "DesktopEntries.h"
#include "FakeSendmail.h"
#include "LinuxMailClient.h"
#include "TestMainWindow.h"
#include "SenderFile.h"
#include "frmExpediteur.h"

#include <QtWidgets>

// The Linux sender settings, driven through real clicks and keys from the main window.
class tst_frmExpediteur : public QObject
{
    Q_OBJECT
public:
    tst_frmExpediteur() { f_->window.useMailClient(mail_); }

private slots:
    void init()
    {
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(f_->dir.filePath("config")));
        QVERIFY(sendmail_.put("#!/bin/sh\ncat >/dev/null\nsleep 0.3\necho 'msmtp: account default not found' >&2\nexit 78\n"));
        // No Secret Service here: the real one has its own test (tst_accountsend).
        qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=" + QFile::encodeName(f_->dir.filePath("no-bus")));
        mail_.setSender({});
    }

    void confirmerKeepsTheSenderAndStartAtLogin()
    {
        frmExpediteur &window = open();
        QVERIFY(window.optCompte->isChecked() && !window.chkDemarrage->isChecked());  // who set nothing yet: the account, no start at login
        choose(window.optSendmail);
        QTest::keyClicks(window.txtNom, "Anne Martin");
        QTest::keyClicks(window.txtAdresse, "anne@");
        QTest::mouseClick(window.cmdConfirmer, Qt::LeftButton);
        // An address without its domain is refused.
        QVERIFY(f_->desk.messageBox.shown.size() == 1 && window.isVisible() && !QFile::exists(SenderFilePath(f_->dir.path())));

        QTest::keyClicks(window.txtAdresse, "exemple.fr");
        QTest::mouseClick(window.chkDemarrage, Qt::LeftButton);
        f_->desk.files.failWrites = true;  // a full disk: told, the window stays, nothing half-applied
        QTest::mouseClick(window.cmdConfirmer, Qt::LeftButton);
        QVERIFY(f_->desk.messageBox.shown.size() == 2 && window.isVisible() && mail_.sender().address.empty());
        f_->desk.files.failWrites = false;
        QTest::mouseClick(window.cmdConfirmer, Qt::LeftButton);
        QVERIFY(!window.isVisible() && mail_.sender().name == "Anne Martin");
        QCOMPARE(LoadSender(SenderFilePath(f_->dir.path())).address, std::string("anne@exemple.fr"));
        QVERIFY(DesktopEntries::startsAtLogin(QCoreApplication::applicationFilePath()));

        QTest::mouseClick(open().chkDemarrage, Qt::LeftButton);
        QTest::mouseClick(window.cmdConfirmer, Qt::LeftButton);
        QVERIFY(!QFile::exists(DesktopEntries::autostartPath()));
        QCOMPARE(open().txtNom->text(), QStringLiteral("Anne Martin"));
        QVERIFY(window.optSendmail->isChecked());  // a sender without a server keeps the sendmail choice
    }

    // Typing a known provider's address fills the account, which stays editable; the
    // password is refused in words when no keyring can keep it, and never written.
    void accountFilledFromTheAddress()
    {
        frmExpediteur &window = open();
        const qsizetype told = f_->desk.messageBox.shown.size();
        QTest::keyClicks(window.txtAdresse, "anne.martin@Gmail.com");
        const auto account = [&] {
            return QStringLiteral("%1 %2 %3 %4").arg(window.txtServeur->text()).arg(window.txtPort->value()).arg(window.cboSecurite->currentText(),
                                                                                                            window.txtIdentifiant->text());
        };
        QCOMPARE(account(), "smtp.gmail.com 465 TLS anne.martin@Gmail.com");  // the identifier is the address unless changed
        QVERIFY(window.lblConseil->isVisible() && window.lblConseil->text().contains("mot de passe d'application"));

        window.cboSecurite->setFocus();
        QTest::keyClick(window.cboSecurite, Qt::Key_Up);  // STARTTLS: the usual port follows
        window.txtServeur->selectAll();
        QTest::keyClicks(window.txtServeur, "smtp.relais.fr");
        QCOMPARE(account(), "smtp.relais.fr 587 STARTTLS anne.martin@Gmail.com");
        QTest::keyClicks(window.txtAdresse, "x");  // the server typed by hand stays
        QCOMPARE(window.txtServeur->text(), QStringLiteral("smtp.relais.fr"));
        window.txtAdresse->selectAll();
        QTest::keyClicks(window.txtAdresse, "anne.martin@Gmail.com");  // the hint is back
        QTest::keyClicks(window.txtMotDePasse, "s3cret-Anne");
        QTest::mouseClick(window.cmdConfirmer, Qt::LeftButton);
        QVERIFY(f_->desk.messageBox.shown.size() == told + 1 && f_->desk.messageBox.shown.last().prompt.contains("gnome-keyring"));
        QVERIFY(window.lblTrousseau->isVisible());
        QTest::qWait(50);  // the layout settles
        for (QLabel *said : {window.lblTrousseau, window.lblConseil})  // never cut
            QVERIFY(said->height() >= said->heightForWidth(said->width()));
        QVERIFY(window.isVisible() && LoadSender(SenderFilePath(f_->dir.path())).server.empty());

        window.txtMotDePasse->clear();
        QTest::mouseClick(window.cmdConfirmer, Qt::LeftButton);
        QVERIFY(!window.isVisible());
        const QByteArray text = f_->desk.files.read(SenderFilePath(f_->dir.path())).value_or("");
        for (const char *line : {"Serveur=smtp.relais.fr\r\n", "Port=587\r\n", "Securite=starttls\r\n",
                                 "Identifiant=anne.martin@Gmail.com\r\n", "Empreinte=\r\n"})
            QVERIFY2(text.contains(line), line);
        QVERIFY(!text.contains("s3cret"));
        QCOMPARE(mail_.sender().server, std::string("smtp.relais.fr"));
        QVERIFY(open().optCompte->isChecked());
    }

    // Centred on the main window, sized to its content. "Tester" runs in the background and then
    // shows sendmail's own words; a long answer scrolls and is never cut, nor squeezes the fields.
    void testerShowsSendmailsWordsWithoutBlocking()
    {
        QVERIFY(sendmail_.put("#!/bin/sh\ncat >/dev/null\nsleep 0.3\nfor n in $(seq 40); do echo \"msmtp: ligne $n du serveur\" >&2; done\n"
                              "echo 'msmtp: fin' >&2\nexit 75\n"));
        f_->window.move(200, 150);
        frmExpediteur &window = open();
        QVERIFY((window.frameGeometry().center() - f_->window.frameGeometry().center()).manhattanLength() <= 2);
        QCOMPARE(window.width(), std::max(window.sizeHint().width(), window.minimumWidth()));
        QCOMPARE(window.height(), window.layout()->totalHeightForWidth(window.width()));
        choose(window.optSendmail);
        QTest::keyClicks(window.txtAdresse, "anne@exemple.fr");
        QTest::mouseClick(window.cmdTester, Qt::LeftButton);
        QVERIFY(!window.cmdTester->isEnabled() && window.lblResultat->text().startsWith("Envoi du message d'essai"));
        QTRY_VERIFY(window.cmdTester->isEnabled());
        const QString said = window.lblResultat->text();  // its sentences: tst_linuxmail
        QVERIFY2(said.contains("Détail (sendmail) : ligne 1 du serveur ; ligne 2") && said.endsWith("ligne 40 du serveur ; fin"), qPrintable(said));
        QVERIFY(mail_.sender().address.empty());  // nothing is kept before "Confirmer"
        QTest::qWait(50);  // the layout settles
        QLabel *answer = window.lblResultat;
        QVERIFY(answer->height() >= answer->heightForWidth(answer->width()));  // whole, inside its scrolling area
        QCOMPARE(window.scrResultat->verticalScrollBar()->maximum(), answer->height() - window.scrResultat->viewport()->height());
        for (QWidget *field : std::initializer_list<QWidget *>{window.txtNom, window.txtAdresse, window.txtCommande, window.cmdConfirmer})
            QVERIFY(field->height() >= field->sizeHint().height());
        QVERIFY(window.scrResultat->height() >= 3 * window.fontMetrics().height());
    }

private:
    // On the button's mark: the middle of a wide radio button is past its text, where it does not react.
    static void choose(QRadioButton *option) { QTest::mouseClick(option, Qt::LeftButton, {}, QPoint(8, option->height() / 2)); }
    frmExpediteur &open()
    {
        f_->window.show();
        QTest::mouseClick(f_->window.cmdExpediteur, Qt::LeftButton);
        frmExpediteur *window = f_->window.expediteur();
        [&] { QVERIFY(window && window->isVisible()); }();
        return *window;
    }
    std::unique_ptr<TestMainWindow> f_ = std::make_unique<TestMainWindow>();
    const FakeSendmail sendmail_{f_->dir.path()};
    LinuxMailClient mail_{f_->dir.path(), {}};
};

QTEST_MAIN(tst_frmExpediteur)
#include "tst_frmExpediteur.moc"
