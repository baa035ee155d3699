#include "DesktopServices.h"

#include "Desktop.h"

#ifdef TARDELLO_LINUX_MAIL
#include "DesktopNotifier.h"
#include "LinuxAutomationFactory.h"
#endif
#ifdef TARDELLO_WINDOWS_AUTOMATION
#include "WindowsAutomationFactory.h"
#endif

DesktopServices::DesktopServices()
{
#ifdef TARDELLO_LINUX_MAIL
    automation = std::make_unique<LinuxAutomationFactory>();
    desktopNotifier = std::make_unique<DesktopNotifier>(QDBusConnection::sessionBus(), notifier);
#endif
#ifdef TARDELLO_WINDOWS_AUTOMATION
    automation = makeWindowsAutomationFactory();
#endif
}

DesktopServices::~DesktopServices() = default;

void DesktopServices::install()
{
    Desktop services;
    services.clock = &clock;
    services.messageBox = &messageBox;
    services.notifier = desktopNotifier ? desktopNotifier.get() : static_cast<Notifier *>(&notifier);
    services.files = &files;
    services.launcher = &launcher;
    services.shell = &shell;
    services.automation = automation.get();
    setDesktop(services);
}
