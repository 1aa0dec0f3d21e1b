#pragma once

// How a recorder hears a gap: its input stays below thresholdDb (dB below full
// scale, so negative) for at least minimumSeconds.
struct SilenceRule {
    double thresholdDb = -50;
    double minimumSeconds = 1.5;
};
