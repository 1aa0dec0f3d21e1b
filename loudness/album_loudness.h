#pragma once

#include <QtGlobal>
#include <vector>

struct TrackLoudness {
    double lufs = 0; // integrated; minus infinity for a silent track
    qint64 frames = 0;
};

// The loudness of tracks heard one after the other: the mean of their powers,
// each weighted by its length. A silent track counts for nothing, as the
// measure's gate would leave its blocks out; minus infinity when all are silent.
double albumLoudness(const std::vector<TrackLoudness>& tracks);
