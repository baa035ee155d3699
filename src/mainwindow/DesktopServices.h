#pragma once

#include "Clock.h"
#include "DesktopShell.h"
#include "ProgramLauncher.h"
#include "QtMessageBox.h"
#include "TextFiles.h"
#include "TrayNotifier.h"

#include <memory>

namespace automation { class Factory; }
class LinuxMailClient;

// The real desktop services of a run, installed in one place at start-up.
struct DesktopServices
{
    explicit DesktopServices(const QString &programDir);
    ~DesktopServices();
    void install();
    // Once the program is up: the mail client starts its own work (Linux: the outbox).
    void startMailClient();
    // At quit: the mail client ends its own work (Linux: a sendmail running).
    void stopMailClient();

    SystemClock clock;
    QtMessageBox messageBox;
    TrayNotifier notifier;
    // Linux: the desktop's notification service, falling back on `notifier`.
    std::unique_ptr<Notifier> desktopNotifier;
    DiskTextFiles files;
    DetachedLauncher launcher;
    DesktopShell shell;
    std::unique_ptr<automation::Factory> automation;
#ifdef TARDELLO_LINUX_MAIL
    std::unique_ptr<LinuxMailClient> linuxMail;
#endif
};
