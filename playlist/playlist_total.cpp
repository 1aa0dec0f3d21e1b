#include "playlist/playlist_total.h"

#include "common/clock_text.h"
#include "common/number_text.h"
#include "common/playlist_table.h"

#include <cmath>

namespace {

// Lengths are stored as plain digits; reading them directly keeps a full table quick.
double lengthSeconds(const QString& length)
{
    if (length.isEmpty() || length.size() > 15)
        return leadingNumber(length);
    double seconds = 0;
    for (QChar c : length) {
        if (c < u'0' || c > u'9')
            return leadingNumber(length);
        seconds = seconds * 10 + (c.unicode() - u'0');
    }
    return seconds;
}

// The gap in seconds goes through its decimal text, as the Gap column shows it. Whole
// milliseconds below 10^15 come back from that text unchanged, so they skip it.
double gapSeconds(const PlaylistEntry& entry)
{
    if (entry.gap == std::trunc(entry.gap) && std::abs(entry.gap) < 1e15)
        return entry.gap / 1000;
    return leadingNumber(plainNumber(entry.gap / 1000));
}

} // namespace

double playlistTotal(const PlaylistTable& table)
{
    double total = 0;
    if (table.isEmpty())
        return total;
    for (int i = 0; i <= table.lastIndex(); ++i)
        total += lengthSeconds(table[i].length) + gapSeconds(table[i]);
    return total - gapSeconds(table[table.lastIndex()]);
}

QString totalTimeCaption(double total)
{
    double seconds = total;
    double minutes = 0;
    if (seconds >= 60) {
        minutes = std::floor(seconds / 60);
        seconds -= minutes * 60;
    }
    QString secondsText = plainNumber(seconds);
    const qsizetype point = secondsText.indexOf(u'.');
    if (point >= 0)
        secondsText.truncate(point + 2);
    if (seconds < 10)
        secondsText.prepend(u'0');
    return QStringLiteral("Total time: ") + twoDigits(qint64(minutes)) + u':' + secondsText;
}

QString playlistFrameCaption(const PlaylistTable& table)
{
    if (table.isEmpty())
        return QStringLiteral("Playlist");
    return QStringLiteral("Playlist - ") + QString::number(table.count()) + QStringLiteral(" files");
}
