#include "InstallDesktop.h"

#include "Artwork.h"
#include "Desktop.h"
#include "DesktopEntries.h"
#include "TextFiles.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QTextStream>

#include <algorithm>
#include <span>
#include <string_view>

std::optional<int> RunDesktopCommand(int argc, char **argv)
{
    const std::span<char *> arguments(argv + 1, argv + argc);
    const auto given = [&](std::string_view option) {
        return std::ranges::any_of(arguments, [&](const char *argument) { return argument == option; });
    };
    const bool install = given("--install-desktop");
    if (!install && !given("--uninstall-desktop"))
        return std::nullopt;
    // The icon is drawn without a display: the command also runs from a plain terminal.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QString programPath = QCoreApplication::applicationFilePath();
    DiskTextFiles files;
    Desktop services = desktop();
    services.files = &files;
    setDesktop(services);
    QTextStream err(stderr);
    if (install) {
        QList<QImage> icons;
        for (const int size : {16, 22, 24, 32, 48, 64, 128, 256})
            icons << Artwork::programImage(size);
        if (!DesktopEntries::install(programPath, icons)) {
            err << "Tardello : l'entrée de menu ou l'icône n'a pas pu être écrite dans "
                << QFileInfo(DesktopEntries::launcherPath()).absolutePath() << Qt::endl;
            return 1;
        }
        return 0;
    }
    if (!DesktopEntries::uninstall()) {
        err << "Tardello : une entrée de bureau n'a pas pu être supprimée" << Qt::endl;
        return 1;
    }
    return 0;
}
