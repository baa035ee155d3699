#include "SendTimeFields.h"

#include "DateText.h"

QString NormalizeDate(const QString &text, QDate today)
{
    if (!text.contains(QLatin1Char('/')))
        return DateText::formatDate(today);
    const auto date = DateText::readDate(text, today.year());
    return DateText::formatDate(date ? *date : today);
}

QString NormalizeTime(const QString &text, const QString &dateText, int currentYear)
{
    if (!text.contains(QLatin1Char(':')))
        return {};
    const auto moment = DateText::readDateTime(dateText + QLatin1Char(' ') + text, currentYear);
    return moment ? DateText::formatTime(moment->time()) : QString();
}
