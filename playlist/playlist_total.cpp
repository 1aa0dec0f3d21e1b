#include "playlist/playlist_total.h"

#include "common/clock_text.h"
#include "common/number_text.h"
#include "playlist/playlist_table.h"

#include <cmath>

namespace {

// The gap in seconds goes through its decimal text, as the Gap column shows it.
double gapSeconds(const PlaylistEntry& entry)
{
    return leadingNumber(plainNumber(entry.gap / 1000));
}

} // namespace

double playlistTotal(const PlaylistTable& table)
{
    double total = 0;
    if (table.isEmpty())
        return total;
    for (int i = 0; i <= table.lastIndex(); ++i)
        total += leadingNumber(table[i].length) + gapSeconds(table[i]);
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
