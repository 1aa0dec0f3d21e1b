#pragma once

#include "scan/level_envelope.h"

#include <limits>

// What the scan's one read of a track measures: its level as a recorder hears it
// (with its length and its samples' peak) and its loudness, for a gain.
struct TrackMeasure {
    LevelEnvelope envelope;
    double loudnessLufs = -std::numeric_limits<double>::infinity(); // integrated, EBU R 128
};
