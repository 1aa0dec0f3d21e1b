#pragma once

#include "medium/silence_rule.h"

#include <QtGlobal>
#include <vector>

// A track's level as a recorder's silence detection sees it: the peak of the
// samples of both channels over each 10 ms block, full scale being 1.
struct LevelEnvelope {
    static constexpr qint64 kBlockFrames = 441; // 10 ms at 44.1 kHz
    static constexpr double kBlockSeconds = 0.01;

    std::vector<float> blockPeaks; // the last block may be shorter
    qint64 frames = 0;

    double seconds() const;
};

// Takes the next interleaved stereo samples into the envelope; a block left
// short is finished by the samples that follow.
void appendSamples(LevelEnvelope& envelope, const float* samples, qint64 frames);

// A stretch of a track, in seconds from its start, to the envelope's 10 ms.
struct QuietPassage {
    double startSeconds = 0;
    double lengthSeconds = 0;
};

// Where a recorder would hear a gap in a track. The silence at its ends only
// lengthens the gap around it; a track with no sound at all is all leading silence.
struct TrackSilences {
    std::vector<QuietPassage> inside; // sound on both sides: the recorder splits the track here
    double leadingSeconds = 0;
    double trailingSeconds = 0;
};

TrackSilences quietPassages(const LevelEnvelope& envelope, const SilenceRule& rule);

struct PeakLevel {
    double db = 0; // dB below full scale; minus infinity for digital silence
    double seconds = 0; // where its block starts
};

// The loudest block; the first of equals.
PeakLevel peak(const LevelEnvelope& envelope);
