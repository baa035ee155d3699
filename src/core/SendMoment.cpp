#include "SendMoment.h"

#include "DateText.h"

namespace {
const QDate epoch(1899, 12, 30);

qint64 floorDiv(qint64 a, qint64 b)
{
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}
} // namespace

SendMoment SendMoment::fromDateTime(QDate date, QTime time)
{
    return SendMoment(epoch.daysTo(date) * 1440 + time.hour() * 60 + time.minute());
}

QDate SendMoment::date() const
{
    return epoch.addDays(floorDiv(minutes_, 1440));
}

QTime SendMoment::time() const
{
    const qint64 ofDay = minutes_ - floorDiv(minutes_, 1440) * 1440;
    return QTime(int(ofDay / 60), int(ofDay % 60));
}

QString SendMoment::dateText() const
{
    return DateText::formatDate(date());
}

QString SendMoment::timeText() const
{
    return DateText::formatTime(time());
}

QString SendMoment::minuteKey() const
{
    return DateText::formatMinuteKey(time());
}

QString SendMoment::dateTimeText() const
{
    return DateText::formatDateTime(date(), time());
}
