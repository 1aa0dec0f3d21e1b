#include "playlist/playlist_total.h"

#include "common/clock_text.h"
#include "common/number_text.h"
#include "common/playlist_table.h"

#include <cmath>

namespace {

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
    if (table.empty())
        return total;
    for (const PlaylistEntry& entry : table)
        total += double(entry.length) + gapSeconds(entry);
    return total - gapSeconds(table.back());
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
    if (table.empty())
        return QStringLiteral("Playlist");
    return QStringLiteral("Playlist - ") + QString::number(table.size()) + QStringLiteral(" files");
}
