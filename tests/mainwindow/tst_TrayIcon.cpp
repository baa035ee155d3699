#include "TestMainWindow.h"
#include "QtMessageBox.h"
#include "TrayIcon.h"
#include "frmSelect.h"

#include <QtWidgets>

namespace {
// The tray icon of a started program, its menu popups counted.
struct TrayFixture : TestMainWindow
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
    // Qt's activation reasons, through the one mapping to the icon's events.
    void iconEventsShowWindowOrPopMenu_data()
    {
        QTest::addColumn<int>("reason");
        QTest::addColumn<QString>("state");
        QTest::addColumn<QString>("result");
        QTest::newRow("left click") << int(QSystemTrayIcon::Trigger) << "" << "window";
        QTest::newRow("double click") << int(QSystemTrayIcon::DoubleClick) << "" << "window";
        QTest::newRow("right click") << int(QSystemTrayIcon::Context) << "" << "menu";
        QTest::newRow("middle click") << int(QSystemTrayIcon::MiddleClick) << "" << "nothing";
        QTest::newRow("splash still up") << int(QSystemTrayIcon::Trigger) << "splash" << "nothing";
        QTest::newRow("editor open") << int(QSystemTrayIcon::DoubleClick) << "editing" << "nothing";
    }
    void iconEventsShowWindowOrPopMenu()
    {
        QFETCH(int, reason);
        QFETCH(QString, state);
        QFETCH(QString, result);
        TrayFixture f;
        f.tray.startupDone = state != "splash";
        if (state == "editing")
            f.window.editor().show();
        f.tray.Picture1_MouseMove(trayEvent(QSystemTrayIcon::ActivationReason(reason)));
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
            f.tray.Picture1_MouseMove(TrayEvent::LeftUp);
            f.tray.Picture1_MouseMove(TrayEvent::RightUp);
        };
        f.tray.Picture1_MouseMove(TrayEvent::RightUp);
        QVERIFY(busyInside && !f.window.isVisible() && !f.tray.TrayBusy());
        f.tray.Picture1_MouseMove(TrayEvent::LeftUp);
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
        QCOMPARE(messageBox.show("    Quitter Tardello ?    ", MsgBox::YesNo, "Tardello"), MsgBox::No);
        buttons.sort();
        QCOMPARE(buttons, (QStringList{"&Non", "&Oui"}));
    }
};

QTEST_MAIN(tst_TrayIcon)
#include "tst_TrayIcon.moc"
