#pragma once

#include "Clock.h"
#include "DesktopShell.h"
#include "ProgramLauncher.h"
#include "QtMessageBox.h"
#include "TextFiles.h"
#include "TrayNotifier.h"

#include <memory>

namespace automation { class Factory; }

// The real desktop services of a run, installed in one place at start-up.
struct DesktopServices
{
    DesktopServices();
    ~DesktopServices();
    void install();

    SystemClock clock;
    QtMessageBox messageBox;
    TrayNotifier notifier;
    // Linux: the desktop's notification service, falling back on `notifier`.
    std::unique_ptr<Notifier> desktopNotifier;
    DiskTextFiles files;
    DetachedLauncher launcher;
    DesktopShell shell;
    std::unique_ptr<automation::Factory> automation;
};
