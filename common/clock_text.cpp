#include "common/clock_text.h"

QString twoDigits(qint64 value)
{
    const QString digits = QString::number(value);
    return value < 10 ? u'0' + digits : digits;
}

QString clockText(qint64 seconds)
{
    qint64 minutes = 0;
    if (seconds >= 60) {
        minutes = seconds / 60;
        seconds -= minutes * 60;
    }
    return twoDigits(minutes) + u':' + twoDigits(seconds);
}
