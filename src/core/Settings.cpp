#include "Settings.h"

#include "AnsiText.h"
#include "Desktop.h"
#include "TextFiles.h"

namespace {
QString clientToken(MailClient client)
{
    switch (client) {
    case MailClient::Outlook: return QStringLiteral("Outlook");
    case MailClient::Notes: return QStringLiteral("Notes");
    case MailClient::Express: return QStringLiteral("Express");
    }
    return {};
}
} // namespace

bool SaveSettings(const QString &path, const MailClientChoice &mailClient, const ListRows &addressBook)
{
    QStringList lines{QStringLiteral("Client=") + clientToken(mailClient.value())};
    for (int row = 0; row < addressBook.ListCount(); ++row)
        lines << QStringLiteral("Address=") + addressBook.List(row);
    return desktop().files->write(path, AnsiText::encodeLines(lines));
}

void LoadSettings(const QString &path, MailClientChoice &mailClient, ListRows &addressBook)
{
    const auto content = desktop().files->read(path);
    if (!content)
        return;
    addressBook.Clear();
    for (const QString &line : AnsiText::decodeLines(*content)) {
        if (line.isEmpty())
            continue;
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals < 0)
            continue;
        const QString key = line.left(equals);
        const QString value = line.mid(equals + 1);
        if (key == QStringLiteral("Address"))
            addressBook.AddItem(value);
        else if (key == QStringLiteral("Client")) {
            for (MailClient client : {MailClient::Outlook, MailClient::Notes, MailClient::Express}) {
                if (value == clientToken(client))
                    mailClient.setValue(client);
            }
        }
    }
}
