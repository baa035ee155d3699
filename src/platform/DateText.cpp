#include "DateText.h"

#include <QRegularExpression>

namespace DateText {

QString formatDate(QDate date)
{
    return QStringLiteral("%1/%2/%3")
        .arg(date.day(), 2, 10, QLatin1Char('0'))
        .arg(date.month(), 2, 10, QLatin1Char('0'))
        .arg(date.year(), 4, 10, QLatin1Char('0'));
}

QString formatTime(QTime time)
{
    return QStringLiteral("%1:%2").arg(time.hour(), 2, 10, QLatin1Char('0')).arg(time.minute(), 2, 10, QLatin1Char('0'));
}

QString formatMinuteKey(QTime time)
{
    return QStringLiteral("%1/%2").arg(time.hour(), 2, 10, QLatin1Char('0')).arg(time.minute(), 2, 10, QLatin1Char('0'));
}

QString formatDateTime(QDate date, QTime time)
{
    return formatDate(date) + QLatin1Char(' ') + formatTime(time);
}

std::optional<QDate> readDate(const QString &text, int currentYear)
{
    static const QRegularExpression pattern(QStringLiteral(R"(^([0-9]{1,2})/([0-9]{1,2})(?:/([0-9]{2}|[0-9]{4}))?$)"));
    const auto match = pattern.match(text.trimmed());
    if (!match.hasMatch())
        return std::nullopt;
    int year = currentYear;
    if (match.hasCaptured(3)) {
        const QString digits = match.captured(3);
        year = digits.toInt();
        if (digits.size() == 2)
            year += year < 50 ? 2000 : 1900;
    }
    const QDate date(year, match.captured(2).toInt(), match.captured(1).toInt());
    if (!date.isValid())
        return std::nullopt;
    return date;
}

std::optional<QTime> readTime(const QString &text)
{
    static const QRegularExpression pattern(QStringLiteral(R"(^([0-9]{1,2}):([0-9]{1,2})(?::([0-9]{1,2}))?$)"));
    const auto match = pattern.match(text.trimmed());
    if (!match.hasMatch())
        return std::nullopt;
    const int hour = match.captured(1).toInt();
    const int minute = match.captured(2).toInt();
    const int second = match.hasCaptured(3) ? match.captured(3).toInt() : 0;
    if (hour > 23 || minute > 59 || second > 59)
        return std::nullopt;
    return QTime(hour, minute);
}

std::optional<QDateTime> readDateTime(const QString &text, int currentYear)
{
    const QString trimmed = text.trimmed();
    const qsizetype blank = trimmed.indexOf(QLatin1Char(' '));
    if (blank < 0)
        return std::nullopt;
    const auto date = readDate(trimmed.left(blank), currentYear);
    const auto time = readTime(trimmed.mid(blank + 1));
    if (!date || !time)
        return std::nullopt;
    return QDateTime(*date, *time);
}

} // namespace DateText
