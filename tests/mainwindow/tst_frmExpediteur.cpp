#include "DesktopEntries.h"
#include "TestMainWindow.h"
#include "SenderFile.h"
#include "frmExpediteur.h"

#include <QtWidgets>

// The Linux sender settings, driven through real clicks and keys from the main window.
class tst_frmExpediteur : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(f_->dir.filePath("config")));
        QVERIFY(QDir(f_->dir.path()).mkpath("bin"));
        QFile script(f_->dir.filePath("bin/sendmail"));
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\ncat >/dev/null\nsleep 0.3\necho 'msmtp: account default not found' >&2\nexit 78\n");
        script.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        qputenv("PATH", QFile::encodeName(f_->dir.filePath("bin")) + ":" + qgetenv("PATH"));
        SetCurrentSender({});
    }

    // "Tester" runs in the background and then shows sendmail's own words.
    void testerShowsSendmailsWordsWithoutBlocking()
    {
        frmExpediteur &window = open();
        QTest::keyClicks(window.txtAdresse, "anne@exemple.fr");
        QTest::mouseClick(window.cmdTester, Qt::LeftButton);
        QVERIFY(!window.cmdTester->isEnabled());
        QVERIFY(window.lblResultat->text().startsWith("Envoi du message d'essai"));
        QTRY_VERIFY(window.cmdTester->isEnabled());
        QVERIFY(window.lblResultat->text().endsWith("msmtp: account default not found"));  // the words in full: tst_linuxmail
        QVERIFY(CurrentSender().address.empty());  // nothing is kept before "Confirmer"
    }

    void confirmerKeepsTheSenderAndStartAtLogin()
    {
        frmExpediteur &window = open();
        QVERIFY(!window.chkDemarrage->isChecked());  // off by default
        QTest::keyClicks(window.txtNom, "Anne Martin");
        QTest::keyClicks(window.txtAdresse, "anne@");
        QTest::mouseClick(window.cmdConfirmer, Qt::LeftButton);
        QCOMPARE(f_->desk.messageBox.shown.size(), 1);  // an address without its domain is refused
        QVERIFY(window.isVisible() && !QFile::exists(SenderFilePath(f_->dir.path())));

        QTest::keyClicks(window.txtAdresse, "exemple.fr");
        QTest::mouseClick(window.chkDemarrage, Qt::LeftButton);
        f_->desk.files.failWrites = true;  // a full disk: told, the window stays, nothing half-applied
        QTest::mouseClick(window.cmdConfirmer, Qt::LeftButton);
        QCOMPARE(f_->desk.messageBox.shown.size(), 2);
        QVERIFY(window.isVisible() && CurrentSender().address.empty());
        f_->desk.files.failWrites = false;
        QTest::mouseClick(window.cmdConfirmer, Qt::LeftButton);
        QVERIFY(!window.isVisible());
        QCOMPARE(CurrentSender().name, std::string("Anne Martin"));
        QCOMPARE(LoadSender(SenderFilePath(f_->dir.path())).address, std::string("anne@exemple.fr"));
        QVERIFY(DesktopEntries::startsAtLogin(QCoreApplication::applicationFilePath()));

        QTest::mouseClick(open().chkDemarrage, Qt::LeftButton);
        QTest::mouseClick(window.cmdConfirmer, Qt::LeftButton);
        QVERIFY(!QFile::exists(DesktopEntries::autostartPath()));
        QCOMPARE(open().txtNom->text(), QStringLiteral("Anne Martin"));
    }

private:
    frmExpediteur &open()
    {
        f_->window.show();
        QTest::mouseClick(f_->window.cmdExpediteur, Qt::LeftButton);
        frmExpediteur *window = f_->window.expediteur();
        [&] { QVERIFY(window && window->isVisible()); }();
        return *window;
    }
    std::unique_ptr<TestMainWindow> f_ = std::make_unique<TestMainWindow>();
};

QTEST_MAIN(tst_frmExpediteur)
#include "tst_frmExpediteur.moc"
