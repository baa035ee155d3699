#include "DesktopEntries.h"
#include "DesktopNotifier.h"
#include "PrivateSessionBus.h"
#include "RunningInstance.h"
#include "TestDesktop.h"

#include <QtTest>

#include <future>

// Stands in for the desktop's notification daemon: keeps what it is asked to show.
class FakeNotifications : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    QList<QVariantList> got;  // summary, body, urgency, timeout
public slots:
    Q_SCRIPTABLE uint Notify(const QString &, uint, const QString &, const QString &summary, const QString &body,
                             const QStringList &, const QVariantMap &hints, int timeout)
    {
        got.append({summary, body, hints["urgency"].toInt(), timeout > 0});
        return 1;
    }
};

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
        if (QStandardPaths::findExecutable("dbus-daemon").isEmpty())
            return;
        daemon_.start("dbus-daemon", {"--session", "--nofork", "--print-address"});
        QVERIFY(daemon_.waitForReadyRead(10000));
        busAddress_ = QString::fromUtf8(daemon_.readLine().trimmed());
    }
    void cleanupTestCase()
    {
        daemon_.kill();
        daemon_.waitForFinished(5000);
    }

    void execLineQuotesWhatTheLauncherWouldSplit_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("exec");
        QTest::newRow("plain") << "/home/ana/Tardello/tardello" << "/home/ana/Tardello/tardello";
        QTest::newRow("blank") << "/home/ana/Mes programmes/tardello" << "\"/home/ana/Mes programmes/tardello\"";
        QTest::newRow("percent") << "/opt/100%/tardello" << "/opt/100%%/tardello";
        // Quoted for Exec (\$, \"), then each backslash doubled as in any string value.
        QTest::newRow("dollar and quote") << "/opt/a$b\"c/tardello" << "\"/opt/a\\\\$b\\\\\"c/tardello\"";
        QTest::newRow("backslash") << "/opt/a\\b/tardello" << "\"/opt/a\\\\\\\\b/tardello\"";
    }
    void execLineQuotesWhatTheLauncherWouldSplit()
    {
        QFETCH(QString, path);
        QFETCH(QString, exec);
        const QString entry = DesktopEntries::launcherEntry(path);
        QCOMPARE(QRegularExpression("^Exec=(.*)$", QRegularExpression::MultilineOption).match(entry).captured(1), exec);
        validate(entry);
    }

    // The entry is where the desktop looks, in a form it accepts, and for this program only.
    void startAtLoginEntryIsForThisProgramOnly()
    {
        TestDesktop test;
        const QString program = home_.filePath("Tardello/tardello");
        QVERIFY(DesktopEntries::setStartAtLogin(program, true));
        QCOMPARE(DesktopEntries::autostartPath(), home_.filePath("config/autostart/tardello.desktop"));
        QVERIFY(DesktopEntries::startsAtLogin(program));
        QVERIFY(!DesktopEntries::startsAtLogin(home_.filePath("Autre/tardello")));
        validate(QString::fromUtf8(test.files.read(DesktopEntries::autostartPath()).value_or("")));
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

    void notificationsGoToTheDesktopServiceWhenThereIsOne()
    {
        QDBusConnection first = bus("first"), second = bus("second");
        TestMessageBox fallback;
        DesktopNotifier notifier(second, fallback);
        const auto notifyBoth = [&] {
            notifier.notifyError("Tardello - Erreur", "    Le mail n'a pas pu être transmis.    ");
            notifier.notifyInfo("Tardello", "    Le mail est finalement parti.    ");
        };
        notifyBoth();
        QCOMPARE(fallback.shown.size(), 2);  // no service yet: the tray's way, each of its kind
        QCOMPARE(fallback.shown[1].buttons, MsgBox::OkOnly);  // told as information, not as an error

        FakeNotifications daemon;
        QVERIFY(first.registerObject("/org/freedesktop/Notifications", &daemon, QDBusConnection::ExportScriptableSlots));
        QVERIFY(first.registerService(DesktopNotifier::Service));
        notifyBoth();
        // Good news is not critical, and goes by itself.
        QTRY_COMPARE(daemon.got, (QList<QVariantList>{{"Tardello - Erreur", "Le mail n'a pas pu être transmis.", 2, false},
                                                     {"Tardello", "Le mail est finalement parti.", 1, true}}));
        QCOMPARE(fallback.shown.size(), 2);
    }

    // A notice about a message keeps the service's number: the next one about it takes its
    // place, even when asked before the service answered, a withdrawal closes it, and the
    // notice given as the program ends has reached the service when the call returns.
    void noticeAboutAMessageIsReplacedOrWithdrawn()
    {
        QDBusConnection tardello = bus("third");
        bus("first").unregisterService(DesktopNotifier::Service);  // the daemon of the test above
        RecordingNotifications service(busAddress_);
        QVERIFY(service.registered());
        TestMessageBox fallback;
        DesktopNotifier notifier(tardello, fallback);
        notifier.notifyErrorAbout("m1", "Tardello - Erreur", "    Refusé.    ");
        notifier.notifyInfoAbout("m1", "Tardello", "    Finalement parti.    ");
        notifier.notifyErrorAbout("m2", "Tardello - Erreur", "    Refusé aussi.    ");
        notifier.withdraw("m3");  // never told: nothing to close
        const auto told = [&] {
            QStringList calls;
            for (const RecordingNotifications::Call &call : service.calls())
                calls << QStringLiteral("%1 %2 %3 %4 %5").arg(call.method).arg(call.id).arg(call.replaces).arg(call.urgency).arg(call.body);
            return calls;
        };
        QTRY_COMPARE(told(), (QStringList{"Notify 1 0 2 Refusé.", "Notify 2 0 2 Refusé aussi.", "Notify 1 1 1 Finalement parti."}));
        notifier.withdraw("m2");
        QVERIFY(notifier.notifyLasting("Tardello", "    Un mail attend encore.    "));
        QCOMPARE(told().mid(3), (QStringList{"CloseNotification 2 0 0 ", "Notify 3 0 1 Un mail attend encore."}));
        QVERIFY(fallback.shown.isEmpty());
        QVERIFY(!DesktopNotifier(QDBusConnection(QStringLiteral("not connected")), fallback).notifyLasting("T", "x"));
    }

private:
    QDBusConnection bus(const QString &name)
    {
        if (busAddress_.isEmpty())
            QTest::qSkip("dbus-daemon missing: run scripts/deps.sh --tests", __FILE__, __LINE__);
        return QDBusConnection::connectToBus(busAddress_, name);
    }
    // desktop-file-validate (scripts/deps.sh --tests) has the last word on an entry's form.
    void validate(const QString &entry)
    {
        const QString file = home_.filePath("checked.desktop");
        QVERIFY(DiskTextFiles().write(file, entry.toUtf8()));
        QCOMPARE(QProcess::execute("desktop-file-validate", {file}), 0);  // its complaints go to the test's output
    }

    QTemporaryDir home_;
    QProcess daemon_;
    QString busAddress_;
};

QTEST_GUILESS_MAIN(FreedesktopTest)
#include "tst_freedesktop.moc"
