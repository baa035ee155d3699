#pragma once

#include <QDate>
#include <QDateTime>
#include <QTime>
#include <QtGlobal>

// The moment a mail leaves, exact to the minute. Counted in minutes from
// 30/12/1899 00:00, so the zero value is that moment and sorts before every other.
class SendMoment
{
public:
    constexpr SendMoment() = default;
    static constexpr SendMoment fromMinutes(qint64 minutes) { return SendMoment(minutes); }
    static SendMoment fromDateTime(QDate date, QTime time);
    static SendMoment fromDateTime(const QDateTime &dateTime) { return fromDateTime(dateTime.date(), dateTime.time()); }

    constexpr qint64 minutes() const { return minutes_; }
    QDate date() const;
    QTime time() const;

    SendMoment nextMinute() const { return SendMoment(minutes_ + 1); }

    QString dateText() const;      // "dd/mm/yyyy"
    QString timeText() const;      // "hh:mm"
    QString minuteKey() const;     // "hh/mm"
    QString dateTimeText() const;  // "dd/mm/yyyy hh:mm"

    friend constexpr auto operator<=>(SendMoment, SendMoment) = default;

private:
    constexpr explicit SendMoment(qint64 minutes) : minutes_(minutes) {}
    qint64 minutes_ = 0;
};
