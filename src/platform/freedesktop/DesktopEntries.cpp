#include "DesktopEntries.h"

#include "Desktop.h"
#include "TextFiles.h"

#include <algorithm>

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace DesktopEntries {

namespace {

QString dataHome()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
}

QString configHome()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
}

QString entry(const QString &programPath, const QStringList &extra)
{
    QStringList lines{
        QStringLiteral("[Desktop Entry]"),
        QStringLiteral("Type=Application"),
        QStringLiteral("Version=1.4"),
        QStringLiteral("Name=Tardello"),
        QStringLiteral("GenericName=Envoi différé de mails"),
        QStringLiteral("Comment=Écrire un mail maintenant, l'envoyer plus tard"),
        QStringLiteral("Exec=") + execValue(programPath),
        // From the home folder, as scripts/run.sh starts it: the attachment picker opens there.
        QStringLiteral("Path=") + QDir::homePath().replace(QLatin1Char('\\'), QStringLiteral("\\\\")),
        QStringLiteral("Icon=") + QLatin1String(Name),
        QStringLiteral("Terminal=false"),
        QStringLiteral("StartupWMClass=tardello"),
    };
    lines << extra;
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

bool writeFile(const QString &path, const QByteArray &content)
{
    return QDir().mkpath(QFileInfo(path).absolutePath()) && desktop().files->write(path, content);
}

QList<int> installedIconSizes()
{
    QList<int> sizes;
    const QDir hicolor(dataHome() + QStringLiteral("/icons/hicolor"));
    for (const QString &dir : hicolor.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const int size = dir.section(QLatin1Char('x'), 0, 0).toInt();
        if (size > 0 && QFile::exists(iconPath(size)))
            sizes << size;
    }
    return sizes;
}

} // namespace

QString launcherPath()
{
    return dataHome() + QStringLiteral("/applications/") + QLatin1String(Name) + QStringLiteral(".desktop");
}

QString autostartPath()
{
    return configHome() + QStringLiteral("/autostart/") + QLatin1String(Name) + QStringLiteral(".desktop");
}

QString iconPath(int size)
{
    return dataHome() + QStringLiteral("/icons/hicolor/%1x%1/apps/").arg(size) + QLatin1String(Name)
           + QStringLiteral(".png");
}

QString execValue(const QString &programPath)
{
    // Quoted as the Exec key wants it, then escaped as any string value: a
    // backslash inside the quotes ends up written four times.
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    QString value = programPath;
    value.replace(QLatin1Char('%'), QStringLiteral("%%"));
    if (std::any_of(value.begin(), value.end(), [](QChar c) { return reserved.contains(c); })) {
        QString quoted;
        for (const QChar c : value) {
            if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') || c == QLatin1Char('\\'))
                quoted += QLatin1Char('\\');
            quoted += c;
        }
        value = QLatin1Char('"') + quoted + QLatin1Char('"');
    }
    value.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    return value;
}

QString launcherEntry(const QString &programPath)
{
    return entry(programPath, {QStringLiteral("Categories=Office;Email;"),
                               QStringLiteral("Keywords=mail;courriel;différé;envoi;")});
}

QString autostartEntry(const QString &programPath)
{
    return entry(programPath, {QStringLiteral("X-GNOME-Autostart-enabled=true")});
}

bool install(const QString &programPath, const QList<QImage> &icons)
{
    bool written = writeFile(launcherPath(), launcherEntry(programPath).toUtf8());
    for (const QImage &icon : icons) {
        QByteArray png;
        QBuffer buffer(&png);
        written = buffer.open(QIODevice::WriteOnly) && icon.save(&buffer, "PNG")
                  && writeFile(iconPath(icon.width()), png) && written;
    }
    return written;
}

bool uninstall()
{
    bool removed = desktop().files->remove(launcherPath());
    removed = desktop().files->remove(autostartPath()) && removed;
    for (const int size : installedIconSizes())
        removed = desktop().files->remove(iconPath(size)) && removed;
    return removed;
}

bool startsAtLogin(const QString &programPath)
{
    const auto content = desktop().files->read(autostartPath());
    return content && QString::fromUtf8(*content).split(QLatin1Char('\n')).contains(
                          QStringLiteral("Exec=") + execValue(programPath));
}

bool setStartAtLogin(const QString &programPath, bool on)
{
    if (on)
        return writeFile(autostartPath(), autostartEntry(programPath).toUtf8());
    return desktop().files->remove(autostartPath());
}

} // namespace DesktopEntries
