#include "RecipientLists.h"

namespace {
constexpr QChar Blank = QLatin1Char(' ');
}

QString SqueezeSpaces(QString entry)
{
    qsizetype start = 0;
    qsizetype end = entry.size();
    while (start < end && entry.at(start) == Blank)
        ++start;
    while (end > start && entry.at(end - 1) == Blank)
        --end;
    QString result;
    result.reserve(end - start);
    for (qsizetype i = start; i < end; ++i) {
        if (entry.at(i) == Blank && !result.isEmpty() && result.back() == Blank)
            continue;
        result.append(entry.at(i));
    }
    return result;
}

QString NormalizeRecipients(const QString &text, ListRows &addressBook)
{
    if (text.isEmpty())
        return text;
    QStringList kept;
    for (const QString &piece : text.split(QLatin1Char(';'))) {
        const QString entry = SqueezeSpaces(piece);
        if (entry.isEmpty())
            continue;
        kept << entry;
        InsertSortedUnique(addressBook, entry);
    }
    return kept.join(QLatin1Char(';'));
}

void InsertSortedUnique(ListRows &list, const QString &address)
{
    for (int row = 0; row < list.ListCount(); ++row) {
        const int order = QString::compare(address, list.List(row), Qt::CaseSensitive);
        if (order <= 0) {
            if (order < 0)
                list.AddItem(address, 0, row);
            return;
        }
    }
    list.AddItem(address);
}
