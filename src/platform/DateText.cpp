#include "DateText.h"

#include <QList>

#include <algorithm>

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

namespace {
// The ASCII digit groups of "a<separator>b[<separator>c]", each one to
// maxDigits long; empty when the text has any other form.
QList<int> digitGroups(QStringView text, QChar separator, qsizetype maxDigits, QList<qsizetype> *lengths = nullptr)
{
    QList<int> groups;
    for (const QStringView group : text.split(separator)) {
        const bool digits = std::all_of(group.begin(), group.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
        if (group.isEmpty() || group.size() > maxDigits || !digits || groups.size() == 3)
            return {};
        groups << group.toInt();
        if (lengths)
            *lengths << group.size();
    }
    return groups.size() >= 2 ? groups : QList<int>();
}
} // namespace

std::optional<QDate> readDate(const QString &text, int currentYear)
{
    QList<qsizetype> lengths;
    const QList<int> groups = digitGroups(QStringView(text).trimmed(), u'/', 4, &lengths);
    if (groups.isEmpty() || lengths[0] > 2 || lengths[1] > 2 || (groups.size() == 3 && lengths[2] != 2 && lengths[2] != 4))
        return std::nullopt;
    int year = currentYear;
    if (groups.size() == 3) {
        year = groups[2];
        if (lengths[2] == 2)
            year += year < 50 ? 2000 : 1900;
    }
    const QDate date(year, groups[1], groups[0]);
    if (!date.isValid())
        return std::nullopt;
    return date;
}

std::optional<QTime> readTime(const QString &text)
{
    const QList<int> groups = digitGroups(QStringView(text).trimmed(), u':', 2);
    if (groups.isEmpty())
        return std::nullopt;
    const int second = groups.size() == 3 ? groups[2] : 0;
    if (groups[0] > 23 || groups[1] > 59 || second > 59)
        return std::nullopt;
    return QTime(groups[0], groups[1]);
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
