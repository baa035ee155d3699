#include "DesktopServices.h"

#include "Desktop.h"

#ifdef TARDELLO_LINUX_MAIL
#include "DesktopNotifier.h"
#include "LinuxMailClient.h"
#endif
#ifdef TARDELLO_WINDOWS_AUTOMATION
#include "WindowsAutomationFactory.h"
#endif

DesktopServices::DesktopServices([[maybe_unused]] const QString &programDir)
{
#ifdef TARDELLO_LINUX_MAIL
    // Its sender comes from the sender file once the services are installed.
    linuxMail = std::make_unique<LinuxMailClient>(programDir, SenderIdentity{});
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
#ifdef TARDELLO_LINUX_MAIL
    services.automation = &linuxMail->factory;
#else
    services.automation = automation.get();
#endif
    setDesktop(services);
}

void DesktopServices::startMailClient()
{
#ifdef TARDELLO_LINUX_MAIL
    linuxMail->start();
#endif
}

void DesktopServices::stopMailClient()
{
#ifdef TARDELLO_LINUX_MAIL
    linuxMail->submitter.stop();
#endif
}
