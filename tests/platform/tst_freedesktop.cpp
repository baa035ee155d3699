#include "DesktopEntries.h"
#include "DesktopShell.h"
#include "DesktopNotifier.h"
#include "PrivateSessionBus.h"
#include "RunningInstance.h"
#include "TestDesktop.h"

#include <QtTest>

#include <future>

// The program on a freedesktop.org desktop: its entries, start at login, the notification
// service and the raise of a running instance over a private session bus. Installing and
// uninstalling are in the end-to-end test.
class FreedesktopTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        qputenv("XDG_DATA_HOME", QFile::encodeName(home_.filePath("data")));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(home_.filePath("config")));
        session_.start();
    }

    // The entries are in a form the desktop accepts, the program's path quoted as the launcher would split it.
    // The one that starts at login is where the desktop looks, and for this program only.
    void entriesQuoteThePathAndStartAtLoginIsForThisProgramOnly()
    {
        for (const auto &[path, exec] : {std::pair{"/home/ana/Tardello/tardello", "/home/ana/Tardello/tardello"},
                                         {"/home/ana/Mes programmes/tardello", "\"/home/ana/Mes programmes/tardello\""},
                                         {"/opt/100%/tardello", "/opt/100%%/tardello"},
                                         // Quoted for Exec (\$, \"), then each backslash doubled as in any string value.
                                         {"/opt/a$b\"c/tardello", "\"/opt/a\\\\$b\\\\\"c/tardello\""},
                                         {"/opt/a\\b/tardello", "\"/opt/a\\\\\\\\b/tardello\""}}) {
            const QString entry = DesktopEntries::launcherEntry(path);
            QCOMPARE(QRegularExpression("^Exec=(.*)$", QRegularExpression::MultilineOption).match(entry).captured(1), QString(exec));
            validate(entry);
        }
        TestDesktop test;
        const QString program = home_.filePath("Tardello/tardello");
        QVERIFY(DesktopEntries::setStartAtLogin(program, true));
        QCOMPARE(DesktopEntries::autostartPath(), home_.filePath("config/autostart/tardello.desktop"));
        QVERIFY(DesktopEntries::startsAtLogin(program));
        QVERIFY(!DesktopEntries::startsAtLogin(home_.filePath("Autre/tardello")));
        const QString written = QString::fromUtf8(test.files.read(DesktopEntries::autostartPath()).value_or(""));
        validate(written);
        QVERIFY(written.contains("\nPath=" + QDir::homePath() + "\n"));  // as the menu entry and scripts/run.sh
        test.files.failWrites = true;  // an entry that cannot be removed is told, not ignored
        QVERIFY(!DesktopEntries::setStartAtLogin(program, false));
    }

    // A second start reaches the instance of the same program directory, and only that one.
    void secondStartRaisesTheRunningInstanceOfItsDirectory()
    {
        QDBusConnection first = bus("first"), second = bus("second");
        RunningInstance running(first, home_.path());
        QVERIFY(running.publish());
        QVERIFY(!RunningInstance(second, home_.path()).publish());
        QSignalSpy shown(&running, &RunningInstance::showRequested);
        // Asked from another thread, as from another process: this one serves the running instance.
        auto answered = std::async(std::launch::async, [&] { return RunningInstance::askToShow(second, home_.path()); });
        QTRY_VERIFY(answered.wait_for(std::chrono::seconds(0)) == std::future_status::ready);
        QVERIFY(answered.get());
        QCOMPARE(shown.size(), 1);
        QVERIFY(!RunningInstance::askToShow(second, home_.filePath("elsewhere")));
        QVERIFY(!RunningInstance::askToShow(QDBusConnection(QStringLiteral("not connected")), home_.path()));
    }

    // Without a service each notice is a box of its kind. With one, a notice about a message keeps the
    // service's number: the next one about it takes its place, even when asked before the service answered,
    // a withdrawal closes it, good news is not critical and goes by itself, and the notice given as the
    // program ends has reached the service when the call returns.
    void noticesGoToTheDesktopServiceReplacedOrWithdrawn()
    {
        TestMessageBox fallback;
        DesktopNotifier notifier(bus("tardello"), fallback);
        notifier.notifyError("Tardello - Erreur", "Refusé.");
        notifier.notifyInfo("Tardello", "Parti.");
        QCOMPARE(fallback.shown.size(), 2);
        QCOMPARE(fallback.shown[1].buttons, MsgBox::OkOnly);  // told as information, not as an error

        RecordingNotifications service(session_.address());
        QVERIFY(service.registered());
        notifier.notifyErrorAbout("m1", "Tardello - Erreur", "    Refusé.    ");
        notifier.notifyInfoAbout("m1", "Tardello", "    Finalement parti.    ");
        notifier.notifyErrorAbout("m2", "Tardello - Erreur", "    Refusé aussi.    ");
        notifier.withdraw("m3");  // never told: nothing to close
        const auto told = [&] {
            QStringList calls;
            for (const RecordingNotifications::Call &call : service.calls())
                calls << QStringLiteral("%1 %2 %3 %4 %5 %6 %7").arg(call.method).arg(call.id).arg(call.replaces)
                             .arg(call.urgency).arg(call.timeout > 0).arg(call.summary, call.body);
            return calls;
        };
        QTRY_COMPARE(told(), (QStringList{"Notify 1 0 2 0 Tardello - Erreur Refusé.", "Notify 2 0 2 0 Tardello - Erreur Refusé aussi.",
                                          "Notify 1 1 1 1 Tardello Finalement parti."}));
        notifier.withdraw("m2");
        QVERIFY(notifier.notifyLasting("Tardello", "    Un mail attend encore.    "));
        notifier.notifyInfo("Tardello", "    Parti.    ");  // about no message in particular
        QTRY_COMPARE(told().mid(3), (QStringList{"CloseNotification 2 0 0 0  ", "Notify 3 0 1 0 Tardello Un mail attend encore.",
                                                 "Notify 4 0 1 1 Tardello Parti."}));
        QCOMPARE(fallback.shown.size(), 2);
        QVERIFY(!DesktopNotifier(QDBusConnection(QStringLiteral("not connected")), fallback).notifyLasting("T", "x"));
    }

    // "Aide": xdg-open hands the guide to the desktop's PDF viewer, and says when there is none.
    void documentGoesToTheDesktopsViewerOrItsAbsenceIsTold()
    {
        if (QStandardPaths::findExecutable("xdg-open").isEmpty() || QStandardPaths::findExecutable("file").isEmpty())
            QSKIP("xdg-open or file missing: run scripts/deps.sh --tests");
        // xdg-open as on a desktop without an environment of its own, where this test sets the PDF handler.
        QList<std::pair<QByteArray, std::optional<QByteArray>>> saved;  // the first three are changed, the others unset
        for (const char *name : {"DISPLAY", "BROWSER", "PATH", "XDG_CURRENT_DESKTOP", "DESKTOP_SESSION", "KDE_FULL_SESSION",
                                 "GNOME_DESKTOP_SESSION_ID", "DBUS_SESSION_BUS_ADDRESS"})
            saved.append({name, qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt});
        const auto restore = qScopeGuard([&] { for (const auto &[name, value] : saved) value ? qputenv(name, *value) : qunsetenv(name); });
        for (const auto &[name, value] : saved.mid(3))
            qunsetenv(name);
        qputenv("DISPLAY", ":9999");  // only said, never reached: a display is what makes xdg-open ask the handlers
        qputenv("BROWSER", "false");

        const QString guide = home_.filePath("Tardello.pdf"), record = home_.filePath("viewer.log");
        QVERIFY(DiskTextFiles().write(guide, "%PDF-1.4\n%\xe2\xe3\xcf\xd3\n1 0 obj\n<<>>\nendobj\ntrailer\n<<>>\n%%EOF\n"));
        const QString viewer = home_.filePath("viewer"), handler = home_.filePath("data/applications/visionneuse.desktop"),
                      defaults = home_.filePath("config/mimeapps.list");
        QVERIFY(DiskTextFiles().write(viewer, ("#!/bin/sh\necho \"$1\" > '" + record + "'\n").toUtf8()));
        QVERIFY(QFile::setPermissions(viewer, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        QVERIFY(QDir().mkpath(home_.filePath("data/applications")) && QDir().mkpath(home_.filePath("config")));
        QVERIFY(DiskTextFiles().write(handler, ("[Desktop Entry]\nType=Application\nName=Visionneuse\nExec=" + viewer
                                                + " %f\nMimeType=application/pdf;\n").toUtf8()));
        QVERIFY(DiskTextFiles().write(defaults, "[Default Applications]\napplication/pdf=visionneuse.desktop\n"));

        DesktopShell shell;
        int failures = 0;
        shell.open(guide, home_.path(), [&] { ++failures; });
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(record), 15000);
        QCOMPARE(DiskTextFiles().read(record).value_or("").trimmed(), QFile::encodeName(guide));
        QTest::qWait(1000);  // xdg-open ends with its viewer
        QCOMPARE(failures, 0);

        QVERIFY(QFile::remove(handler) && QFile::remove(defaults));  // no application for PDF documents now
        QProcess query;
        query.start("xdg-mime", {"query", "default", "application/pdf"});
        QVERIFY(query.waitForFinished(15000));
        if (!query.readAllStandardOutput().trimmed().isEmpty() || !QStandardPaths::findExecutable("run-mailcap").isEmpty())
            QSKIP("this machine has a PDF viewer of its own");
        shell.open(guide, home_.path(), [&] { ++failures; });
        QTRY_COMPARE_WITH_TIMEOUT(failures, 1, 15000);

        qputenv("PATH", QFile::encodeName(home_.filePath("no-programs")));  // no xdg-open at all
        shell.open(guide, home_.path(), [&] { ++failures; });
        QTRY_COMPARE(failures, 2);
    }

private:
    QDBusConnection bus(const QString &name)
    {
        if (session_.address().isEmpty())
            QTest::qSkip("dbus-daemon missing: run scripts/deps.sh --tests", __FILE__, __LINE__);
        return session_.connect(name);
    }
    // desktop-file-validate (scripts/deps.sh --tests) has the last word on an entry's form.
    void validate(const QString &entry)
    {
        const QString file = home_.filePath("checked.desktop");
        QVERIFY(DiskTextFiles().write(file, entry.toUtf8()));
        QCOMPARE(QProcess::execute("desktop-file-validate", {file}), 0);  // its complaints go to the test's output
    }

    QTemporaryDir home_;
    PrivateSessionBus session_;
};

QTEST_GUILESS_MAIN(FreedesktopTest)
#include "tst_freedesktop.moc"
