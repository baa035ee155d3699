#include "MailStore.h"

#include "AnsiText.h"
#include "DateText.h"
#include "Desktop.h"
#include "MessageBox.h"
#include "PendingRows.h"
#include "TextFiles.h"

#include <QDate>

bool MailStore::SaveMailStore(const MailTable &table)
{
    QStringList lines;
    for (qint16 slot = 1; slot <= MailSlots; ++slot) {
        const MailItem &mail = table[slot];
        if (!mail.InUse)
            continue;
        lines << QStringLiteral("Titre=") + mail.Titre << QStringLiteral("Dest=") + mail.Dest
              << QStringLiteral("CC=") + mail.CC << QStringLiteral("BCC=") + mail.BCC
              << QStringLiteral("Date=") + mail.Date.dateTimeText() << QStringLiteral("Attach=") + mail.Attach
              << QStringLiteral("DebutContenu=") << mail.Contenu.split(QStringLiteral("\r\n"))
              << QStringLiteral("=FinContenu");
    }
    TextFiles &files = *desktop().files;
    const bool saved = lines.isEmpty() ? files.remove(path_) : files.write(path_, AnsiText::encodeLines(lines));
    if (saved)
        failureShown_ = false;
    return saved;
}

void MailStore::LoadMailStore(MailTable &table, ListRows &lstHisto)
{
    const auto content = desktop().files->read(path_);
    if (!content)
        return;
    const QStringList lines = AnsiText::decodeLines(*content);
    qint16 slot = 0;
    qsizetype i = 0;
    while (i < lines.size() && slot < MailSlots) {
        MailItem &mail = table[++slot];
        mail = MailItem{};
        mail.InUse = true;
        for (; i < lines.size() && lines[i] != QStringLiteral("DebutContenu="); ++i) {
            const qsizetype equals = lines[i].indexOf(QLatin1Char('='));
            const QString key = equals < 0 ? lines[i] : lines[i].left(equals);
            const QString value = equals < 0 ? QString() : lines[i].mid(equals + 1);
            if (key == QStringLiteral("Titre"))
                mail.Titre = value;
            else if (key == QStringLiteral("Dest"))
                mail.Dest = value;
            else if (key == QStringLiteral("CC"))
                mail.CC = value;
            else if (key == QStringLiteral("BCC"))
                mail.BCC = value;
            else if (key == QStringLiteral("Attach"))
                mail.Attach = value;
            else if (key == QStringLiteral("Date")) {
                const auto moment = DateText::readDateTime(value, QDate::currentDate().year());
                mail.Date = moment ? SendMoment::fromDateTime(*moment) : SendMoment();
            }
        }
        ++i;
        QStringList body;
        for (; i < lines.size() && lines[i] != QStringLiteral("=FinContenu"); ++i)
            body << lines[i];
        ++i;
        mail.Contenu = body.join(QStringLiteral("\r\n"));
        InsertPendingRow(table, lstHisto, slot);
    }
}
