#include "loudness/album_loudness.h"

#include <cmath>
#include <limits>

double albumLoudness(const std::vector<TrackLoudness>& tracks)
{
    double power = 0;
    double frames = 0;
    for (const TrackLoudness& track : tracks) {
        if (!std::isfinite(track.lufs) || track.frames <= 0)
            continue;
        power += double(track.frames) * std::pow(10.0, track.lufs / 10);
        frames += double(track.frames);
    }
    return frames > 0 ? 10 * std::log10(power / frames) : -std::numeric_limits<double>::infinity();
}
