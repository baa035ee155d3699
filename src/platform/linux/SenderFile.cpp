#include "SenderFile.h"

#include "AnsiText.h"
#include "Desktop.h"
#include "TextFiles.h"

QString SenderFilePath(const QString &programDir)
{
    return programDir + QStringLiteral("/TardelloLinux.ini");
}

SenderIdentity LoadSender(const QString &path)
{
    SenderIdentity sender;
    const auto content = desktop().files->read(path);
    if (!content)
        return sender;
    for (const QString &line : AnsiText::decodeLines(*content)) {
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals < 0)
            continue;
        const QString key = line.left(equals);
        const std::string value = line.mid(equals + 1).trimmed().toStdString();
        if (key == QStringLiteral("Nom"))
            sender.name = value;
        else if (key == QStringLiteral("Adresse"))
            sender.address = value;
        else if (key == QStringLiteral("Commande"))
            sender.command = value;
    }
    return sender;
}

bool SaveSender(const QString &path, const SenderIdentity &sender)
{
    return desktop().files->write(path, AnsiText::encodeLines({
                                            QStringLiteral("Nom=") + QString::fromStdString(sender.name),
                                            QStringLiteral("Adresse=") + QString::fromStdString(sender.address),
                                            QStringLiteral("Commande=") + QString::fromStdString(sender.command),
                                        }));
}
