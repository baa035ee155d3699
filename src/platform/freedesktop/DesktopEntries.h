#pragma once

#include <QImage>
#include <QList>
#include <QString>

// The program's place on a freedesktop.org desktop, for the current user:
// the menu entry and the icon (XDG_DATA_HOME) and the start-at-login entry
// (XDG_CONFIG_HOME/autostart).
namespace DesktopEntries {

// Name of the entries and of the icon in the hicolor theme.
inline constexpr char Name[] = "tardello";

QString launcherPath();   // .../applications/tardello.desktop
QString autostartPath();  // .../autostart/tardello.desktop
QString iconPath(int size);  // .../icons/hicolor/<size>x<size>/apps/tardello.png

// The entries' text for the program at programPath.
QString launcherEntry(const QString &programPath);
QString autostartEntry(const QString &programPath);
// programPath quoted for an Exec key.
QString execValue(const QString &programPath);

// Writes the menu entry and one PNG per icon (square images, any sizes);
// false when a file could not be written. Every file is written atomically.
bool install(const QString &programPath, const QList<QImage> &icons);
// Removes the menu entry, the icons and the start-at-login entry; false when
// one of them is still there afterwards.
bool uninstall();

// Whether the start-at-login entry starts the program at programPath.
bool startsAtLogin(const QString &programPath);
// Writes or removes the start-at-login entry; false when that failed.
bool setStartAtLogin(const QString &programPath, bool on);

} // namespace DesktopEntries
