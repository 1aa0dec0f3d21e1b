// The cost of the level meter: the peaks of an hour of stereo sound written in
// the output's pieces of 50 ms, taken 25 times a second as a window does, as a
// share of one core over that hour played in real time.
#include "cpu_time.h"
#include "player/heard_peaks.h"

#include <algorithm>
#include <cstdio>
#include <vector>

int main()
{
    constexpr qint64 kRate = 44100;
    constexpr qint64 kPieceFrames = kRate / 20;
    constexpr qint64 kHourFrames = kRate * 3600;
    constexpr qint64 kTakeFrames = kRate / 25;
    // Noise, so that no branch predicts the loudest sample.
    std::vector<float> piece(2 * kPieceFrames);
    quint32 x = 1;
    for (float& sample : piece) {
        x = x * 1664525u + 1013904223u;
        sample = float(qint32(x)) / 2147483648.0f;
    }
    static HeardPeaks peaks;
    StereoPeak loudest;
    qint64 taken = 0;
    const double before = cpuSeconds();
    for (qint64 frame = 0; frame < kHourFrames; frame += kPieceFrames) {
        peaks.write(frame, piece.data(), kPieceFrames);
        for (; taken + kTakeFrames <= frame; taken += kTakeFrames) {
            const StereoPeak peak = peaks.take(taken);
            loudest.left = std::max(loudest.left, peak.left);
            loudest.right = std::max(loudest.right, peak.right);
        }
    }
    const double cpu = cpuSeconds() - before;
    std::printf("heard peaks of an hour of sound: %.3f s of CPU = %.4f%% of one core (loudest %.3f %.3f)\n", cpu,
                cpu / 3600 * 100, loudest.left, loudest.right);
    return 0;
}
