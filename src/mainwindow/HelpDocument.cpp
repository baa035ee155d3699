#include "HelpDocument.h"

#include "Desktop.h"
#include "MessageBox.h"
#include "MessageTexts.h"
#include "ShellOpener.h"

#include <QDir>
#include <QFileInfo>
#include <QPointer>

namespace HelpDocument {

namespace {
void tell(const QString &text)
{
    desktop().messageBox->show(text, MsgBox::Critical, MessageTexts::ErrorTitle);
}
} // namespace

void open(const QString &path, const QString &programDir, QObject *owner)
{
    if (!QFileInfo(path).isFile()) {
        tell(missingText(path));
        return;
    }
    desktop().shell->open(path, programDir, [owner = QPointer(owner), path] {
        if (owner)
            tell(noViewerText(path));
    });
}

QString missingText(const QString &path)
{
    return MessageTexts::padded({QStringLiteral("Le guide de Tardello est introuvable :"),
                                 QDir::toNativeSeparators(path) + QStringLiteral(" n'existe pas."),
                                 QStringLiteral("Réinstallez Tardello pour le remettre en place.")});
}

QString noViewerText(const QString &path)
{
    const QString found = QStringLiteral("Aucune application de ce poste n'a pu ouvrir le guide de Tardello.");
    const QString where = QStringLiteral("Il se trouve ici : ") + QDir::toNativeSeparators(path);
    const QString again = QStringLiteral("puis cliquez de nouveau sur « Aide ».");
#ifdef Q_OS_WIN
    const QString install = QStringLiteral("Installez un lecteur de PDF (SumatraPDF ou Adobe Acrobat Reader, par exemple),");
    return MessageTexts::padded({found, where, install, again});
#else
    const QString install = QStringLiteral("Installez une visionneuse de PDF, par exemple par la commande :");
    return MessageTexts::padded({found, where, install, QStringLiteral("sudo apt-get install evince xdg-utils"), again});
#endif
}

} // namespace HelpDocument
