#include "Application.h"
#include "QuitSignals.h"
#include "TestMainWindow.h"
#include "SingleInstance.h"
#include "TrayIcon.h"
#include "frmAbout.h"

#include <QtWidgets>

#include <csignal>
#include <unistd.h>

class tst_Application : public QObject
{
    Q_OBJECT

private slots:
    void startupRunsInOrder()
    {
        // While the splash is up the user does nothing, quits, chooses "Quitter" and answers "Non", or the session ends.
        for (const auto &[inSplash, answer] : {std::pair{QString(), MsgBox::No}, {"quit", MsgBox::Yes}, {"quit", MsgBox::No}, {"log-off", MsgBox::No}}) {
            const bool quits = inSplash == "quit" && answer == MsgBox::Yes, ends = quits || inSplash == "log-off";
            TestProgram earlier;  // a store of three mails, left by an earlier run
            addPendingMails(earlier.program, 3);
            TestDesktop &desk = earlier.desk;
            const QString settingsPath = earlier.program.paths.SettingsPath;
            QVERIFY(desk.files.write(settingsPath, "Client=Express\r\nAddress=anne@exemple.fr\r\n"));
            // Temporary files of saves cut short by a kill go; every other file stays, a user's own copies
            // with a six-letter extension and an earlier version's leftovers among them.
            const QStringList unfinished{"Tardello.tmp.~tardello-ab12cd", "Tardello.ini.~tardello-xyzabc", "Tardello.tmp.bak2.~tardello-qwerty"};
            QStringList others{"Tardello.ini", "Tardello.tmp", "Tardello.tmp.AbCdE", "Tardello.tmp.bak", "Tardello.tmp.bak999",
                               "Tardello.tmp.backup", "Tardello.tmp.ancien", "Tardello.tmp.AbCdEf", "Tardello.tmp.~tardello-ab12c",
                               "Tardello.tmp.bakx.~tardello-ab12cd", "Tardello.tmp.old~tardello-ab12cd"};
#ifndef Q_OS_WIN
            others << "Tardello.tmp.~tardello-AB12CD";  // one file with its lower-case twin where names ignore case
#endif
            for (const QString &name : unfinished + others.mid(2))
                QVERIFY(desk.files.write(earlier.dir.filePath(name), "x"));
            const int writesBefore = desk.files.writes;
            Application app(earlier.dir.path());
            app.InitApplication();
            int ended = 0;
            app.tray().endProgram = [&] { ++ended; };
            frmMain &main = app.mainWindow();
            // The scheduler's timer counts from the main window's creation, before the splash.
            QVERIFY(app.tray().icon().isVisible() && !main.isVisible() && main.Timer1.isActive());

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
            QVERIFY(splashTimer.size() == 1 && splashAsExpected);  // the splash stays up until its timer ends it
            others.sort();
            QCOMPARE(QDir(earlier.dir.path()).entryList(QDir::Files, QDir::Name), others);

            // Ending in the splash skips the rest of start-up; only quitting writes the settings.
            const QString quitBox = "Tardello|4|    Quitter Tardello ?    \r\n    Vos données ne seront pas perdues.    ";
            QCOMPARE(shownBoxes(desk.messageBox), inSplash == "quit" ? QStringList{quitBox} : QStringList());
            QVERIFY(ended == (ends ? 1 : 0) && app.tray().icon().isVisible() == !quits);
            QCOMPARE(main.isVisible() && app.tray().startupDone, !ends);
            QCOMPARE(app.program().pending.lstHisto().ListCount(), ends ? 0 : 3);
            QCOMPARE(desk.files.writes - writesBefore, quits ? 1 : 0);
            const QByteArray client = quits ? "Notes" : "Express";
            QCOMPARE(desk.files.read(settingsPath).value_or(""), "Client=" + client + "\r\nAddress=anne@exemple.fr\r\n");
        }
    }

    void oneInstancePerProgramDirectory()
    {
        // The second start runs only beside another directory's instance or a killed holder. A full or read-only
        // disk at the first start (last: they need a mount) has room or is writable again at the second.
        QStringList befores{"other directory"};
#ifdef Q_OS_WIN
        befores << "this directory";
#else
        befores << "held" << "killed" << "read-only" << "full";
#endif
        for (const QString &before : befores) {
            QTemporaryDir dir, otherDir;
            const bool mounted = before == "read-only" || before == "full";
            if (mounted && QProcess::execute("mount", {"-t", "tmpfs", "-o", (before == "full" ? "" : "ro,") + QString("size=4k"),
                                                       "tmpfs", dir.path()}) != 0)
                QSKIP("a file system cannot be mounted here (the tests run as root)");
            const auto unmount = qScopeGuard([&] { mounted && QProcess::execute("umount", {dir.path()}); });
            if (QFile filler(dir.filePath("filler")); before == "full" && filler.open(QIODevice::WriteOnly))
                filler.write(QByteArray(8192, 'f'));  // as much as fits: the disk is full
            QProcess holder;  // a program of its own that takes the lock as the program does, until killed
            std::unique_ptr<SingleInstance> first;
            if (before == "held" || before == "killed") {
                holder.start("/usr/bin/python3", {"-c", "import fcntl, os, sys, time\nfcntl.flock(os.open(sys.argv[1], os.O_RDONLY | os.O_DIRECTORY), "
                                                        "fcntl.LOCK_EX)\nprint('held', flush=True)\ntime.sleep(60)", dir.path()});
                QVERIFY(holder.waitForReadyRead(10000));
                if (before == "killed")
                    holder.kill();
                QVERIFY(before == "held" || holder.waitForFinished(5000));
            } else {
                first = std::make_unique<SingleInstance>(before == "other directory" ? otherDir.path() : dir.path());
                QVERIFY(first->tryLock());
            }
            if (before == "read-only")
                QCOMPARE(QProcess::execute("mount", {"-o", "remount,rw", dir.path()}), 0);
            if (before == "full")
                QVERIFY(QFile::remove(dir.filePath("filler")));
            SingleInstance second(dir.path());
            QCOMPARE(second.tryLock(), before == "other directory" || before == "killed");
        }  // the holder, if any, is killed here
    }

#ifndef Q_OS_WIN
    // SIGTERM and SIGHUP, sent for real, end the run the way the session's end does.
    void quitSignalsEndTheRun()
    {
        TestProgram earlier;
        Application app(earlier.dir.path());
        app.InitApplication();
        int ended = 0;
        app.tray().endProgram = [&] { ++ended; };
        QuitSignals quitSignals([&app] { app.endSession(); });
        ::kill(::getpid(), SIGTERM);
        QTRY_COMPARE(ended, 1);
        ::kill(::getpid(), SIGHUP);
        QTRY_COMPARE(ended, 2);
    }
#endif

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
