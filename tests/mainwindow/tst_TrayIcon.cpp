#include "PendingMailFixture.h"
#include "QtMessageBox.h"
#include "TrayIcon.h"
#include "frmSelect.h"

#include <QAbstractButton>
#include <QMessageBox>

namespace {
// The tray icon of a started program, its menu popups counted.
struct TrayFixture : MainWindowFixture
{
    TrayIcon tray{program, window};
    int popups = 0;
    TrayFixture()
    {
        tray.startupDone = true;
        tray.popupMenu = [this] { ++popups; };
    }
};
} // namespace

class tst_TrayIcon : public QObject
{
    Q_OBJECT

private slots:
    void iconEventsShowWindowOrPopMenu_data()
    {
        QTest::addColumn<int>("reason");  // -1: a code Qt's activations never give
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("state");
        QTest::addColumn<QString>("result");
        QTest::newRow("513 left press") << -1 << 513 << "" << "nothing";
        QTest::newRow("514 left click") << int(QSystemTrayIcon::Trigger) << 514 << "" << "window";
        QTest::newRow("515 double click") << int(QSystemTrayIcon::DoubleClick) << 515 << "" << "window";
        QTest::newRow("516 right press") << -1 << 516 << "" << "nothing";
        QTest::newRow("517 right click") << int(QSystemTrayIcon::Context) << 517 << "" << "menu";
        QTest::newRow("518 right double") << -1 << 518 << "" << "window";
        QTest::newRow("middle click") << int(QSystemTrayIcon::MiddleClick) << 0 << "" << "nothing";
        QTest::newRow("splash still up") << int(QSystemTrayIcon::Trigger) << 514 << "splash" << "nothing";
        QTest::newRow("editor open") << int(QSystemTrayIcon::DoubleClick) << 515 << "editing" << "nothing";
    }
    void iconEventsShowWindowOrPopMenu()
    {
        QFETCH(int, reason);
        QFETCH(int, code);
        QFETCH(QString, state);
        QFETCH(QString, result);
        if (reason >= 0)
            QCOMPARE(TrayIcon::eventCode(QSystemTrayIcon::ActivationReason(reason)), code);
        TrayFixture f;
        f.tray.startupDone = state != "splash";
        if (state == "editing")
            f.window.editor().show();
        f.tray.Picture1_MouseMove(code);
        QCOMPARE(f.window.isVisible(), result == "window");
        QCOMPARE(f.popups, result == "menu" ? 1 : 0);
        QVERIFY(!f.tray.TrayBusy());
    }

    void eventsWhileMenuIsOpenAreIgnored()
    {
        TrayFixture f;
        bool busyInside = false;
        f.tray.popupMenu = [&] {
            busyInside = f.tray.TrayBusy();
            f.tray.Picture1_MouseMove(514);
            f.tray.Picture1_MouseMove(517);
        };
        f.tray.Picture1_MouseMove(517);
        QVERIFY(busyInside && !f.window.isVisible() && !f.tray.TrayBusy());
        f.tray.Picture1_MouseMove(514);
        QVERIFY(f.window.isVisible());
    }

    void questionsAnswerOuiOrNon()
    {
        QStringList buttons;
        QTimer::singleShot(0, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            for (const QAbstractButton *button : box->buttons())
                buttons << button->text();
            box->button(QMessageBox::No)->click();
        });
        QtMessageBox messageBox;
        QCOMPARE(messageBox.show("    Quitter Tardello ?    ", MsgBox::YesNo, "Tardello"), int(MsgBox::No));
        buttons.sort();
        QCOMPARE(buttons, (QStringList{"&Non", "&Oui"}));
    }
};

QTEST_MAIN(tst_TrayIcon)
#include "tst_TrayIcon.moc"
