#include "recording/run_rules.h"

#include "common/clock_text.h"
#include "common/number_text.h"
#include "common/playlist_table.h"

#include <QStringList>
#include <algorithm>
#include <climits>
#include <cmath>

double gapTotalOf(const PlaylistTable& table)
{
    double total = 0;
    for (size_t i = 0; i + 1 < table.size(); ++i)
        total += leadingNumber(plainNumber(table[i].gap)) / 1000;
    return total;
}

int gapInterval(double gapMs)
{
    const double whole = std::nearbyint(gapMs); // the default rounding mode: halves to even
    if (!(whole >= 1))
        return 1;
    return whole >= INT_MAX ? INT_MAX : int(whole);
}

QString brokenTracksMessage(const std::vector<SoundBreak>& breaks)
{
    QStringList lines;
    for (const SoundBreak& sound : breaks) {
        const QString line = QStringLiteral("Track %1 broke off at %2.")
                                 .arg(sound.track)
                                 .arg(clockText(qint64(std::floor(std::max(0.0, sound.seconds)))));
        if (!lines.contains(line))
            lines << line;
    }
    return lines.join(u'\n')
        + QStringLiteral("\n\nThe computer was too busy to keep the sound going: the recording has a silence "
                         "there, and the deck may have started a new track at it.");
}
