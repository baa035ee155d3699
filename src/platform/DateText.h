#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>
#include <optional>

// Day-first date and time texts. The date separator is always "/",
// so every comparison of two texts uses the same separator on both sides.
namespace DateText {

QString formatDate(QDate date);                   // "dd/mm/yyyy"
QString formatTime(QTime time);                   // "hh:mm"
QString formatMinuteKey(QTime time);              // "hh/mm"
QString formatDateTime(QDate date, QTime time);   // "dd/mm/yyyy hh:mm"

// "d/m[/y]" with blanks around it ignored; a missing year is currentYear,
// a two-digit year 00-49 means 20xx and 50-99 means 19xx.
std::optional<QDate> readDate(const QString &text, int currentYear);

// "h:m[:s]", hour 0-23, minute and second 0-59; the seconds are dropped.
std::optional<QTime> readTime(const QString &text);

// A date as readDate, one or more blanks, a time as readTime.
std::optional<QDateTime> readDateTime(const QString &text, int currentYear);

} // namespace DateText
