#include "Application.h"
#include "PendingMails.h"
#include "Program.h"
#include "SingleInstance.h"
#include "TestDesktop.h"
#include "TrayIcon.h"
#include "frmAbout.h"
#include "frmMain.h"

#include <QSysInfo>
#include <QLabel>
#include <QListView>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QtTest>

namespace {
void writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
}
} // namespace

class tst_Application : public QObject
{
    Q_OBJECT

private slots:
    void startupRunsInOrder()
    {
        TestDesktop desk;
        QTemporaryDir dir;
        // A store of three mails, written by a run before this one.
        {
            Program earlier(dir.path());
            addPendingMails(earlier, 3);
        }
        writeFile(dir.path() + QStringLiteral("/Tardello.ini"), "Client=Express\r\nAddress=anne@exemple.fr\r\n");

        const int writesBefore = desk.files.writes;
        Application app(dir.path());
        app.InitApplication();
        Program &program = app.program();
        QCOMPARE(app.mainWindow().windowTitle(), QStringLiteral("Tardello - v 1.15"));
        QCOMPARE(app.about().lblVers->text(), QStringLiteral("v 1.15"));
        QCOMPARE(app.tray().icon().toolTip(), QStringLiteral(" Tardello v 1.15 "));
        QVERIFY(app.tray().icon().isVisible());
        QCOMPARE(program.paths.SettingsPath, dir.path() + QStringLiteral("/Tardello.ini"));
        QCOMPARE(program.paths.OutlookToolPath, dir.path() + QStringLiteral("/TD_OutlookTool.exe"));
        // The scheduler's timer counts from the main window's creation, before the splash.
        QVERIFY(app.mainWindow().Timer1.isActive());
        QCOMPARE(app.mainWindow().Timer1.interval(), 50000);
        QCOMPARE(program.mailTable.FindFreeSlot(), qint16(1));
        QVERIFY(!app.mainWindow().isVisible());
        QCOMPARE(desk.files.writes, writesBefore);

        // Seen from inside the splash: settings read, store not yet, main window hidden.
        struct
        {
            bool splashModal = false, mainVisible = true;
            MailClient client = MailClient::Outlook;
            int pendingRows = -1;
        } during;
        app.about().Timer1.setInterval(50);
        QTimer::singleShot(0, &app.about(), [&] {
            during.splashModal = app.about().isVisible() && app.about().isModal()
                                 && app.about().windowFlags().testFlag(Qt::WindowStaysOnTopHint);
            during.mainVisible = app.mainWindow().isVisible();
            during.client = program.mailClient.value();
            during.pendingRows = program.lstHisto.ListCount();
        });
        QElapsedTimer splash;
        splash.start();
        QVERIFY(app.run());
        QVERIFY(splash.elapsed() >= 40);
        QVERIFY(during.splashModal);
        QVERIFY(!during.mainVisible);
        QCOMPARE(during.client, MailClient::Express);
        QCOMPARE(during.pendingRows, 0);

        QVERIFY(!app.about().isVisible());
        QVERIFY(app.mainWindow().isVisible());
        QCOMPARE(program.lstHisto.ListCount(), 3);
        QCOMPARE(program.AddressBook.texts(), QStringList{QStringLiteral("anne@exemple.fr")});
        QVERIFY(app.mainWindow().optExpress->isChecked());
        QVERIFY(app.tray().startupDone);
        QCOMPARE(desk.files.writes, writesBefore);
        QVERIFY(desk.messageBox.shown.isEmpty());
    }

    void quitDuringSplashSkipsTheRestOfStartup()
    {
        TestDesktop desk;
        QTemporaryDir dir;
        {
            Program earlier(dir.path());
            addPendingMails(earlier, 2);
        }
        Application app(dir.path());
        app.InitApplication();
        int ends = 0;
        app.tray().endProgram = [&] { ++ends; };
        app.about().Timer1.setInterval(50);
        desk.messageBox.answers << MsgBox::Yes;
        QTimer::singleShot(0, &app.about(), [&] { app.tray().mnuHardQuit_Click(); });
        QVERIFY(!app.run());
        QCOMPARE(ends, 1);
        QVERIFY(QFile::exists(app.program().paths.SettingsPath));
        QVERIFY(!app.mainWindow().isVisible());
        QCOMPARE(app.program().lstHisto.ListCount(), 0);
    }

    void sessionEndLeavesSettingsUnwritten()
    {
        TestDesktop desk;
        QTemporaryDir dir;
        Application app(dir.path());
        app.InitApplication();
        int ends = 0;
        app.tray().endProgram = [&] { ++ends; };
        app.program().mailClient.setValue(MailClient::Notes);
        app.endSession();
        QCOMPARE(ends, 1);
        QVERIFY(!QFile::exists(app.program().paths.SettingsPath));
        QCOMPARE(desk.files.writes, 0);
    }

    void oneInstancePerProgramDirectory_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<bool>("runs");
        QTest::newRow("first start") << "nothing" << true;
        QTest::newRow("another instance runs") << "held" << false;
        QTest::newRow("other instance has ended") << "released" << true;
        QTest::newRow("lock left by a crashed run") << "crashed" << true;
        QTest::newRow("another directory's instance") << "other directory" << true;
    }
    void oneInstancePerProgramDirectory()
    {
        QFETCH(QString, before);
        QFETCH(bool, runs);
        QTemporaryDir dir;
        QTemporaryDir otherDir;
        const QString lockPath = SingleInstance::lockPath(dir.path());
        auto running = std::make_unique<SingleInstance>(before == "other directory" ? otherDir.path() : dir.path());
        if (before != "nothing" && before != "crashed")
            QVERIFY(running->tryLock());
        if (before == "released")
            running.reset();
        if (before == "crashed") {
            // What a run killed while holding the lock leaves behind: a process that is gone.
            writeFile(lockPath, "2147480000\ntardello\n" + QSysInfo::machineHostName().toUtf8() + "\n");
        }
        SingleInstance second(dir.path());
        QCOMPARE(second.tryLock(), runs);
        if (runs)
            QVERIFY(QFile::exists(lockPath));
        const QFileInfoList programFiles = QDir(dir.path()).entryInfoList(QDir::Files | QDir::Hidden);
        QVERIFY2(programFiles.isEmpty(), "the lock must not be kept in the program's directory");
    }
};

QTEST_MAIN(tst_Application)
#include "tst_Application.moc"
