#pragma once

#include <QDateTime>

class Clock;
class MessageBox;
class Notifier;
class TextFiles;
class ProgramLauncher;
class ShellOpener;
namespace automation { class Factory; }

// The desktop services the logic calls. main() installs the real ones,
// the tests install substitutes; nothing else chooses.
struct Desktop
{
    Clock *clock = nullptr;
    MessageBox *messageBox = nullptr;
    Notifier *notifier = nullptr;
    TextFiles *files = nullptr;
    ProgramLauncher *launcher = nullptr;
    ShellOpener *shell = nullptr;
    automation::Factory *automation = nullptr;
};

Desktop &desktop();
void setDesktop(const Desktop &services);

// The current moment from the installed clock; the system clock when none is installed.
QDateTime desktopNow();
