#include "Settings.h"

#include "AnsiText.h"
#include "Desktop.h"
#include "EscapedText.h"
#include "TextFiles.h"

#include <algorithm>

namespace {
// Follows the client line when an address holds a line break: the addresses
// after it are escaped as in the store, other files keep the plain layout.
const QString escapeLine = QStringLiteral("Echappement=1");
} // namespace

bool SaveSettings(const QString &path, const MailClientChoice &mailClient, const ListRows &addressBook)
{
    QStringList lines{QStringLiteral("Client=") + QLatin1String(entryOf(mailClient.value()).settingsWord)};
    const QStringList addresses = addressBook.texts();
    const bool escape = std::ranges::any_of(addresses, [](const QString &a) { return a.contains(QLatin1Char('\n')); });
    if (escape)
        lines << escapeLine;
    for (const QString &address : addresses)
        lines << QStringLiteral("Address=") + (escape ? EscapedText::escaped(address) : address);
    return desktop().files->write(path, AnsiText::encodeLines(lines));
}

void LoadSettings(const QString &path, MailClientChoice &mailClient, ListRows &addressBook)
{
    const auto content = desktop().files->read(path);
    if (!content)
        return;
    addressBook.Clear();
    bool escaped = false;
    for (const QString &line : AnsiText::decodeLines(*content)) {
        if (line.isEmpty())
            continue;
        escaped = escaped || line == escapeLine;
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals < 0)
            continue;
        const QString key = line.left(equals);
        const QString value = line.mid(equals + 1);
        if (key == QStringLiteral("Address"))
            addressBook.AddItem(escaped ? EscapedText::unescaped(value) : value);
        else if (key == QStringLiteral("Client")) {
            for (const MailClientEntry &entry : mailClients) {
                if (value == QLatin1String(entry.settingsWord))
                    mailClient.setValue(entry.client);
            }
        }
    }
}
