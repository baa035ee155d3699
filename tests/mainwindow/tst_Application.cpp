#include "Application.h"
#include "TestMainWindow.h"
#include "SingleInstance.h"
#include "TrayIcon.h"
#include "frmAbout.h"

#include <QtWidgets>

class tst_Application : public QObject
{
    Q_OBJECT

private slots:
    void startupRunsInOrder_data()
    {
        QTest::addColumn<QString>("inSplash");  // what the user does while the splash is up
        QTest::addColumn<MsgBox::Answer>("answer");
        QTest::newRow("nothing") << "" << MsgBox::No;
        QTest::newRow("quits") << "quit" << MsgBox::Yes;
        QTest::newRow("quit, answers No") << "quit" << MsgBox::No;
        QTest::newRow("session ends") << "log-off" << MsgBox::No;
    }
    void startupRunsInOrder()
    {
        QFETCH(QString, inSplash);
        QFETCH(MsgBox::Answer, answer);
        const bool quits = inSplash == "quit" && answer == MsgBox::Yes, ends = quits || inSplash == "log-off";
        TestProgram earlier;  // a store of three mails, left by an earlier run
        addPendingMails(earlier.program, 3);
        TestDesktop &desk = earlier.desk;
        const QString settingsPath = earlier.program.paths.SettingsPath;
        QVERIFY(desk.files.write(settingsPath, "Client=Express\r\nAddress=anne@exemple.fr\r\n"));
        // Temporary files of saves cut short by a kill go; every other file stays, a user's own copies
        // with a six-letter extension and an earlier version's leftovers among them.
        const QStringList unfinished{"Tardello.tmp.~tardello-ab12cd", "Tardello.ini.~tardello-xyzabc",
                                     "Tardello.tmp.bak2.~tardello-qwerty"};
        QStringList others{"Tardello.ini", "Tardello.tmp", "Tardello.tmp.AbCdE", "Tardello.tmp.bak", "Tardello.tmp.bak999",
                           "Tardello.tmp.backup", "Tardello.tmp.ancien", "Tardello.tmp.AbCdEf", "Tardello.tmp.~tardello-ab12c",
                           "Tardello.tmp.~tardello-AB12CD", "Tardello.tmp.bakx.~tardello-ab12cd", "Tardello.tmp.old~tardello-ab12cd"};
        for (const QString &name : unfinished + others.mid(2))
            QVERIFY(desk.files.write(earlier.dir.filePath(name), "x"));
        const int writesBefore = desk.files.writes;
        Application app(earlier.dir.path());
        app.InitApplication();
        int ended = 0;
        app.tray().endProgram = [&] { ++ended; };
        frmMain &main = app.mainWindow();
        QVERIFY(app.tray().icon().isVisible() && !main.isVisible());
        // The scheduler's timer counts from the main window's creation, before the splash.
        QVERIFY(main.Timer1.isActive());

        bool splashAsExpected = false;
        app.about().Timer1.setInterval(50);
        QTimer::singleShot(0, &app.about(), [&] {
            // Seen from inside the splash: on top and alone, the settings read, the store not yet.
            const frmAbout &splash = app.about();
            splashAsExpected = splash.isVisible() && splash.isModal() && splash.windowFlags().testFlag(Qt::WindowStaysOnTopHint)
                               && !main.isVisible() && app.program().mailClient.is(MailClient::Express)
                               && main.option(MailClient::Express)->isChecked() && app.program().pending.lstHisto().ListCount() == 0;
            main.option(MailClient::Notes)->click();  // the option buttons set the client the settings keep
            desk.messageBox.answers << answer;
            if (inSplash == "quit")
                app.tray().mnuHardQuit_Click();
            if (inSplash == "log-off")
                app.endSession();
        });
        QSignalSpy splashTimer(&app.about().Timer1, &QTimer::timeout);
        QCOMPARE(app.run(), !ends);
        QCOMPARE(splashTimer.size(), 1);  // the splash stays up until its timer ends it
        QVERIFY(splashAsExpected);
        QStringList left = QDir(earlier.dir.path()).entryList(QDir::Files);
        left.sort(), others.sort();
        QCOMPARE(left, others);

        // Ending in the splash skips the rest of start-up; only quitting writes the settings.
        const QString quitBox = "Tardello|4|    Quitter Tardello ?    \r\n    Vos données ne seront pas perdues.    ";
        QCOMPARE(shownBoxes(desk.messageBox), inSplash == "quit" ? QStringList{quitBox} : QStringList());
        QCOMPARE(ended, ends ? 1 : 0);
        QCOMPARE(app.tray().icon().isVisible(), !quits);
        QCOMPARE(main.isVisible() && app.tray().startupDone, !ends);
        QCOMPARE(app.program().pending.lstHisto().ListCount(), ends ? 0 : 3);
        QCOMPARE(desk.files.writes - writesBefore, quits ? 1 : 0);
        const QByteArray client = quits ? "Notes" : "Express";
        QCOMPARE(desk.files.read(settingsPath).value_or(""), "Client=" + client + "\r\nAddress=anne@exemple.fr\r\n");
    }

    void oneInstancePerProgramDirectory_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<bool>("runs");
        QTest::newRow("another instance runs, another TMPDIR") << "held, TMPDIR" << false;
        QTest::newRow("other instance has ended") << "released" << true;
        QTest::newRow("lock left by a crashed run") << "crashed" << true;
        QTest::newRow("another directory's instance") << "other directory" << true;
        QTest::newRow("read-only program directory, another TMPDIR") << "held, TMPDIR, read-only" << false;
    }
    void oneInstancePerProgramDirectory()
    {
        QFETCH(QString, before);
        QFETCH(bool, runs);
        QTemporaryDir dir, otherDir, firstTemp, secondTemp;
        const bool readOnly = before.endsWith("read-only"), otherTmpdir = before.contains("TMPDIR");
        if (readOnly && QProcess::execute("mount", {"-t", "tmpfs", "-o", "ro,size=4k", "tmpfs", dir.path()}) != 0)
            QSKIP("a read-only file system cannot be mounted here");
        const auto unmount = qScopeGuard([&] { readOnly && QProcess::execute("umount", {dir.path()}); });
        const auto restore = qScopeGuard([tmpdir = qgetenv("TMPDIR")] { qputenv("TMPDIR", tmpdir); });
        if (otherTmpdir)
            qputenv("TMPDIR", firstTemp.path().toUtf8());
        const QString lockPath = readOnly ? SingleInstance::fallbackLockPath(dir.path()) : SingleInstance::lockPath(dir.path());
        auto running = std::make_unique<SingleInstance>(before == "other directory" ? otherDir.path() : dir.path());
        if (before != "crashed")
            QVERIFY(running->tryLock());
        if (before == "released")
            running.reset();
        if (before == "crashed") {  // the lock as this machine writes it, of a process that is gone
            QByteArray lock;
            {
                QLockFile ours(lockPath);
                QVERIFY(ours.lock());
                lock = TestFiles().read(lockPath).value_or("");
            }
            QVERIFY(TestFiles().write(lockPath, "2147480000" + lock.mid(lock.indexOf('\n'))));
        }
        if (otherTmpdir)
            qputenv("TMPDIR", secondTemp.path().toUtf8());
        SingleInstance second(dir.path());
        QCOMPARE(second.tryLock(), runs);
        QVERIFY(QFile::exists(lockPath));
    }

    void textFieldMenusAreFrench()
    {
        if (!QFile::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) + "/qtbase_fr.qm"))
            QSKIP("the toolkit has no French texts on this machine");
        InstallFrenchToolkitTexts(QString());
        QLineEdit field;
        std::unique_ptr<QMenu> menu(field.createStandardContextMenu());
        QVERIFY(std::ranges::any_of(menu->actions(), [](const QAction *a) { return a->text().contains(u"Tout sélectionner"); }));
    }
};

QTEST_MAIN(tst_Application)
#include "tst_Application.moc"
