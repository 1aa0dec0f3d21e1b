#include "player/heard_peaks.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

// Writes frames of silence at frame at, with the given samples set: {frame, left, right}.
struct Loud { qint64 frame; float left; float right; };

void write(HeardPeaks& peaks, qint64 at, qint64 frames, std::initializer_list<Loud> loud)
{
    std::vector<float> samples(size_t(2 * frames), 0.0f);
    for (const Loud& l : loud) {
        samples[size_t(2 * l.frame)] = l.left;
        samples[size_t(2 * l.frame + 1)] = l.right;
    }
    peaks.write(at, samples.data(), frames);
}

// Samples come through exactly.
void expectPeak(const StereoPeak& peak, float left, float right) { EXPECT_EQ(std::pair(peak.left, peak.right), std::pair(left, right)); }

TEST(HeardPeaks, aBlockCountsOnceItIsHeardWholeAndOnlyOnceAndOnlyTheNewestAreKept)
{
    constexpr qint64 block = HeardPeaks::kBlockFrames;
    HeardPeaks peaks;
    // A piece of 1000 frames is three blocks: [0, 441), [441, 882), [882, 1000).
    write(peaks, 0, 1000, {{10, 0.25f, -0.5f}, {500, -0.75f, 0.125f}, {950, 0.5f, 1.5f}});
    expectPeak(peaks.take(block - 1), 0, 0); // nothing is heard whole yet
    expectPeak(peaks.take(block), 0.25f, 0.5f); // by magnitude, each channel on its own
    expectPeak(peaks.take(block), 0, 0); // taken already
    expectPeak(peaks.take(999), 0.75f, 0.125f);
    // The next piece's blocks count from where it begins; beyond full scale is full scale.
    write(peaks, 1000, block, {{0, 0.0625f, 0}});
    expectPeak(peaks.take(1000), 0.5f, 1);
    expectPeak(peaks.take(1000 + block), 0.0625f, 0);

    // Silence is not written: what is heard after it is the next file's.
    write(peaks, 50000, 10, {{3, -0.375f, 0.25f}});
    expectPeak(peaks.take(49000), 0, 0);
    expectPeak(peaks.take(50010), 0.375f, 0.25f);

    // A new output starts its frames at 0 again; what the old one held is gone.
    write(peaks, 60000, 10, {{3, 0.5f, 0.5f}});
    peaks.reset();
    write(peaks, 0, 10, {{3, 0.125f, 0.125f}});
    expectPeak(peaks.take(1'000'000), 0.125f, 0.125f);

    // A taker far behind finds the newest blocks only: more blocks than are kept come
    // after a loud one, the last a little loud.
    peaks.reset();
    write(peaks, 0, block, {{0, 1, 1}});
    qint64 frame = block;
    for (quint64 i = 0; i < HeardPeaks::kBlocks; ++i, frame += block)
        write(peaks, frame, block, {{0, 0.01f, 0.02f}});
    write(peaks, frame, block, {{5, 0.5f, 0.25f}});
    expectPeak(peaks.take(frame), 0.01f, 0.02f);
    expectPeak(peaks.take(frame + block), 0.5f, 0.25f);
}

} // namespace
