#include "medium/track_starts.h"

#include "medium/recorder_kind.h"
#include "medium/track_units.h"

#include <algorithm>
#include <cmath>

std::vector<double> trackStarts(const PlaylistTable& table, const RecorderKind& kind, double leadInSeconds,
                                const std::vector<int>& sideStarts)
{
    const bool counted = kind.trackUnitSeconds > 0;
    // Kept in whole milliseconds, as lengths and gaps are, so that a start on a whole
    // second is never a hair below it.
    const double leadInMs = std::round(leadInSeconds * 1000);
    std::vector<double> starts;
    starts.reserve(table.size());
    double startMs = 0;
    double leadInOfTrackMs = 0;
    for (size_t index = 0; index < table.size(); ++index) {
        if (index == 0 || std::ranges::find(sideStarts, int(index)) != sideStarts.end()) {
            startMs = counted ? 0 : leadInMs;
            leadInOfTrackMs = counted ? leadInMs : 0;
        }
        starts.push_back(startMs / 1000);
        const PlaylistEntry& entry = table[index];
        const double takenMs = leadInOfTrackMs + double(entry.length) * 1000 + entry.gap;
        startMs += counted ? secondsInTrackUnits(takenMs / 1000, kind.trackUnitSeconds) * 1000 : takenMs;
        leadInOfTrackMs = 0;
    }
    return starts;
}

QString startTimeText(double seconds)
{
    const qint64 whole = qint64(std::floor(seconds));
    return QStringLiteral("%1:%2").arg(whole / 60, 2, 10, QLatin1Char('0')).arg(whole % 60, 2, 10, QLatin1Char('0'));
}
