#pragma once

#include "support/sound_stretches.h"

#include <gtest/gtest.h>
#include <cstdio>

// Expects the recording to hold one stretch of sound per length (seconds, to within
// lengthTolerance) and between them the silences asked for, in ms: never a
// millisecond shorter (the millisecond allows for finding the edges of the sound),
// nor longer by more than lateMs. The stretches heard are handed back.
inline std::vector<SoundStretch> expectHeard(const QString& recording, const std::vector<double>& lengths,
                                             const std::vector<double>& silencesMs = {}, double lateMs = 1, double lengthTolerance = 0.0001)
{
    const std::vector<SoundStretch> heard = soundStretches(recording, 0.02);
    EXPECT_EQ(heard.size(), lengths.size());
    for (size_t i = 0; i < std::min(heard.size(), lengths.size()); ++i) {
        EXPECT_NEAR(heard[i].length(), lengths[i], lengthTolerance) << "stretch " << i + 1;
        if (i + 1 < heard.size() && i < silencesMs.size()) {
            const double silence = (heard[i + 1].start - heard[i].end) * 1000;
            std::printf("silence after stretch %zu: wanted %.0f ms, heard %.2f ms\n", i + 1, silencesMs[i], silence);
            EXPECT_GE(silence, silencesMs[i] - 1) << "after stretch " << i + 1;
            EXPECT_LE(silence, silencesMs[i] + lateMs) << "after stretch " << i + 1;
        }
    }
    return heard;
}
