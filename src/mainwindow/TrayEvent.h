#pragma once

#include <QSystemTrayIcon>

// A mouse event on the notification-area icon, by the code the shell reports it with.
enum class TrayEvent : int {
    None = 0,  // an activation that is no mouse event of the icon
    MouseMove = 512,
    LeftDown = 513,
    LeftUp = 514,
    LeftDoubleClick = 515,
    RightDown = 516,
    RightUp = 517,
    RightDoubleClick = 518,
};

// The event a Qt activation of the icon stands for.
// Qt reports no right double-click, so RightDoubleClick never comes from here.
constexpr TrayEvent trayEvent(QSystemTrayIcon::ActivationReason reason)
{
    switch (reason) {
    case QSystemTrayIcon::Trigger: return TrayEvent::LeftUp;
    case QSystemTrayIcon::DoubleClick: return TrayEvent::LeftDoubleClick;
    case QSystemTrayIcon::Context: return TrayEvent::RightUp;
    case QSystemTrayIcon::MiddleClick:
    case QSystemTrayIcon::Unknown: return TrayEvent::None;
    }
    return TrayEvent::None;
}
