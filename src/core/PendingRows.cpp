#include "PendingRows.h"

QString FitText(const QString &text, qint16 width)
{
    // Characters, not UTF-16 units: a pair of surrogates is one character and is never cut in two.
    const qsizetype keep = qMax(0, width - 3);
    qsizetype length = 0;
    qsizetype cut = 0;
    for (qsizetype at = 0; at < text.size(); ++length) {
        if (length == keep)
            cut = at;
        const bool pair = text.at(at).isHighSurrogate() && at + 1 < text.size() && text.at(at + 1).isLowSurrogate();
        at += pair ? 2 : 1;
    }
    if (length < width)
        return text + QString(width - length, QLatin1Char(' '));
    if (length == width)
        return text;
    return text.left(cut) + QStringLiteral("...");
}

QString RecipientsColumn(const MailItem &mail)
{
    if (mail.CC.isEmpty() && mail.BCC.isEmpty())
        return mail.Dest;
    return mail.Dest + QStringLiteral(";BCC=") + mail.BCC + QStringLiteral(";CC=") + mail.CC;
}

QString PendingRowText(const MailItem &mail)
{
    const QString gap(3, QLatin1Char(' '));
    return mail.Date.dateTimeText() + gap + FitText(RecipientsColumn(mail), 40) + gap + FitText(mail.Titre, 38);
}

void InsertPendingRow(MailTable &table, ListRows &lstHisto, qint16 slot)
{
    MailItem &mail = table[slot];
    const int count = lstHisto.ListCount();
    for (int row = 0; row < count; ++row) {
        const SendMoment other = table[qint16(lstHisto.ItemData(row))].Date;
        if (mail.Date < other) {
            lstHisto.AddItem(PendingRowText(mail), slot, row);
            return;
        }
        if (mail.Date == other)
            mail.Date = mail.Date.nextMinute();
    }
    lstHisto.AddItem(PendingRowText(mail), slot);
}

void ReplacePendingRow(MailTable &table, ListRows &lstHisto, qint16 row, qint16 slot)
{
    lstHisto.RemoveItem(row);
    InsertPendingRow(table, lstHisto, slot);
}
