#pragma once

#include "TrayEvent.h"

#include <QObject>

#include <functional>
#include <memory>

class QMenu;
class QAction;
class frmMain;
class X11TrayClicks;
struct Program;

// The program's icon in the notification area, its popup menu and the quit
// command. Icon events are turned into TrayEvent codes (TrayEvent.h) and
// acted on by Picture1_MouseMove.
class TrayIcon : public QObject
{
    Q_OBJECT
public:
    TrayIcon(Program &program, frmMain &mainWindow, QObject *parent = nullptr);
    ~TrayIcon() override;

    void AddTrayIcon();
    void RemoveTrayIcon();
    void Picture1_MouseMove(TrayEvent code);
    void mnuTardello_Click();
    void mnuHardQuit_Click();

    bool TrayBusy() const { return trayBusy_; }
    QSystemTrayIcon &icon() { return *icon_; }
    QMenu &mnuInTray() { return *menu_; }

    // Until start-up has shown the main window, "Montrer Tardello" is ignored.
    bool startupDone = false;
    // Pops the menu up and runs the chosen command; tests replace it.
    std::function<void()> popupMenu;
    // Ends the program at once; tests replace it.
    std::function<void()> endProgram;
    // Once "Quitter" is confirmed, before the program ends (Linux: what still waits in the outbox is told).
    std::function<void()> confirmedQuit;
    // Ends the program without writing the settings: the session is ending.
    void endSession();
    // True once the program has been told to end.
    bool ended() const { return ended_; }

private:
    Program &program_;
    frmMain &mainWindow_;
    std::unique_ptr<QSystemTrayIcon> icon_;
    std::unique_ptr<QMenu> menu_;
    QAction *mnuTardello_ = nullptr;
    QAction *mnuHardQuit_ = nullptr;
    std::unique_ptr<X11TrayClicks> x11Clicks_;
    bool trayBusy_ = false;
    bool ended_ = false;
};
