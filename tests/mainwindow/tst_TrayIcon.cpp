#include "Program.h"
#include "TestDesktop.h"
#include "TrayIcon.h"
#include "frmMain.h"
#include "frmSelect.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class tst_TrayIcon : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        desk = std::make_unique<TestDesktop>();
        dir = std::make_unique<QTemporaryDir>();
        program = std::make_unique<Program>(dir->path());
        window = std::make_unique<frmMain>(*program);
        tray = std::make_unique<TrayIcon>(*program, *window);
        tray->startupDone = true;
        tray->popupMenu = [this] { ++popups; };
        tray->endProgram = [this] { ++ends; };
        popups = ends = 0;
    }
    void cleanup()
    {
        tray.reset();
        window.reset();
        program.reset();
        dir.reset();
        desk.reset();
    }

    void activationReasonsBecomeMouseEventCodes_data()
    {
        QTest::addColumn<int>("reason");
        QTest::addColumn<int>("code");
        QTest::newRow("left click") << int(QSystemTrayIcon::Trigger) << 514;
        QTest::newRow("double click") << int(QSystemTrayIcon::DoubleClick) << 515;
        QTest::newRow("right click") << int(QSystemTrayIcon::Context) << 517;
        QTest::newRow("middle click") << int(QSystemTrayIcon::MiddleClick) << 0;
    }
    void activationReasonsBecomeMouseEventCodes()
    {
        QFETCH(int, reason);
        QFETCH(int, code);
        QCOMPARE(TrayIcon::eventCode(QSystemTrayIcon::ActivationReason(reason)), code);
    }

    void eventCodesShowWindowOrPopMenu_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<bool>("shows");
        QTest::addColumn<bool>("pops");
        QTest::newRow("512 move") << 512 << false << false;
        QTest::newRow("513 left press") << 513 << false << false;
        QTest::newRow("514 left release") << 514 << true << false;
        QTest::newRow("515 left double") << 515 << true << false;
        QTest::newRow("516 right press") << 516 << false << false;
        QTest::newRow("517 right release") << 517 << false << true;
        QTest::newRow("518 right double") << 518 << true << false;
        QTest::newRow("519 middle") << 519 << false << false;
    }
    void eventCodesShowWindowOrPopMenu()
    {
        QFETCH(int, code);
        QFETCH(bool, shows);
        QFETCH(bool, pops);
        tray->Picture1_MouseMove(code);
        QCOMPARE(window->isVisible(), shows);
        QCOMPARE(popups, pops ? 1 : 0);
        QVERIFY(!tray->TrayBusy());
    }

    void eventsWhileMenuIsOpenAreIgnored()
    {
        bool busyInside = false;
        tray->popupMenu = [&] {
            busyInside = tray->TrayBusy();
            tray->Picture1_MouseMove(514);
            tray->Picture1_MouseMove(517);
        };
        tray->Picture1_MouseMove(517);
        QVERIFY(busyInside);
        QVERIFY(!window->isVisible());
        QVERIFY(!tray->TrayBusy());
        tray->Picture1_MouseMove(514);
        QVERIFY(window->isVisible());
    }

    void showIsIgnoredDuringStartupOrWhileEditing_data()
    {
        QTest::addColumn<bool>("startupDone");
        QTest::addColumn<bool>("editing");
        QTest::addColumn<bool>("shows");
        QTest::newRow("running") << true << false << true;
        QTest::newRow("splash still up") << false << false << false;
        QTest::newRow("editor open") << true << true << false;
    }
    void showIsIgnoredDuringStartupOrWhileEditing()
    {
        QFETCH(bool, startupDone);
        QFETCH(bool, editing);
        QFETCH(bool, shows);
        tray->startupDone = startupDone;
        if (editing)
            window->editor().show();
        tray->mnuTardello_Click();
        QCOMPARE(window->isVisible(), shows);
    }

    void quitAsksThenSavesSettingsAndEnds_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("quits");
        QTest::newRow("yes") << 6 << true;
        QTest::newRow("no") << 7 << false;
    }
    void quitAsksThenSavesSettingsAndEnds()
    {
        QFETCH(int, answer);
        QFETCH(bool, quits);
        program->mailClient.setValue(MailClient::Notes);
        program->AddressBook.AddItem(QStringLiteral("anne@exemple.fr"));
        tray->AddTrayIcon();
        desk->messageBox.answers << answer;
        tray->mnuHardQuit_Click();

        QCOMPARE(desk->messageBox.shown.size(), 1);
        QCOMPARE(desk->messageBox.shown[0].prompt,
                 QStringLiteral("    Quitter Tardello ?    \r\n    Vos données ne seront pas perdues.    "));
        QCOMPARE(desk->messageBox.shown[0].buttons, 4);
        QCOMPARE(desk->messageBox.shown[0].title, QStringLiteral("Tardello"));
        QCOMPARE(ends, quits ? 1 : 0);
        QCOMPARE(tray->icon().isVisible(), !quits);
        QFile settings(program->paths.SettingsPath);
        QCOMPARE(settings.exists(), quits);
        if (quits) {
            QVERIFY(settings.open(QIODevice::ReadOnly));
            QCOMPARE(settings.readAll(), QByteArray("Client=Notes\r\nAddress=anne@exemple.fr\r\n"));
        }
    }

private:
    std::unique_ptr<TestDesktop> desk;
    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<Program> program;
    std::unique_ptr<frmMain> window;
    std::unique_ptr<TrayIcon> tray;
    int popups = 0;
    int ends = 0;
};

QTEST_MAIN(tst_TrayIcon)
#include "tst_TrayIcon.moc"
