#include "DesktopServices.h"

#include "Desktop.h"

#ifdef TARDELLO_LINUX_MAIL
#include "LinuxAutomationFactory.h"
#endif
#ifdef TARDELLO_WINDOWS_AUTOMATION
#include "WindowsAutomationFactory.h"
#endif

DesktopServices::DesktopServices()
{
#ifdef TARDELLO_LINUX_MAIL
    automation = std::make_unique<LinuxAutomationFactory>();
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
    services.notifier = &notifier;
    services.files = &files;
    services.launcher = &launcher;
    services.shell = &shell;
    services.automation = automation.get();
    setDesktop(services);
}
