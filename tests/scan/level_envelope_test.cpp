#include "scan/level_envelope.h"

#include <cmath>
#include <gtest/gtest.h>
#include <vector>

namespace {

const SilenceRule kRule{-50, 1.5};

constexpr float kLoud = 0.5f;     // about -6 dB
constexpr float kQuiet = 0.001f;  // -60 dB, below the usual -50 dB

// Runs of blocks of one level each, the last block shortBy frames short.
LevelEnvelope envelopeOf(std::initializer_list<std::pair<int, float>> runs, qint64 shortBy = 0)
{
    LevelEnvelope envelope;
    for (const auto& [blocks, level] : runs)
        envelope.blockPeaks.insert(envelope.blockPeaks.end(), size_t(blocks), level);
    envelope.frames = qint64(envelope.blockPeaks.size()) * LevelEnvelope::kBlockFrames - shortBy;
    return envelope;
}

} // namespace

TEST(LevelEnvelope, blocksTakeThePeakOfBothChannelsAcrossPieces)
{
    LevelEnvelope envelope;
    std::vector<float> samples(2 * 600, 0.1f);
    samples[2 * 10 + 1] = -0.8f;  // right channel, block 0, negative
    samples[2 * 500] = 0.3f;      // left channel, block 1
    // Pieces that end inside blocks: 300 + 300 frames, then 100 more.
    appendSamples(envelope, samples.data(), 300);
    appendSamples(envelope, samples.data() + 2 * 300, 300);
    std::vector<float> tail(2 * 100, 0.05f);
    appendSamples(envelope, tail.data(), 100);
    EXPECT_EQ(envelope.frames, 700);
    EXPECT_EQ(envelope.blockPeaks, (std::vector<float> { 0.8f, 0.3f })); // each the exact sample
}

// Quiet passages as long as the rule's minimum or longer are gaps inside the track
// when sound lies on both sides; the silence at its ends is told apart.
TEST(LevelEnvelope, quietPassagesInsideTheTrackAndAtItsEnds)
{
    const float atThreshold = float(std::pow(10.0, -50.0 / 20));
    using Passages = std::vector<std::pair<double, double>>; // start and length
    struct Case { const char* what; LevelEnvelope envelope; SilenceRule rule; Passages inside; double leading = 0, trailing = 0; };
    const Case cases[] = {
        {"exactly the minimum", envelopeOf({{100, kLoud}, {150, kQuiet}, {100, kLoud}}), kRule, {{1, 1.5}}},
        {"a block less", envelopeOf({{100, kLoud}, {149, kQuiet}, {100, kLoud}}), kRule, {}},
        {"one louder block leaves two too short",
         envelopeOf({{10, kLoud}, {100, kQuiet}, {1, kLoud}, {100, kQuiet}, {10, kLoud}}), kRule, {}},
        {"two long ones", envelopeOf({{10, kLoud}, {200, kQuiet}, {1, kLoud}, {300, kQuiet}, {10, kLoud}}), kRule,
         {{0.1, 2}, {2.11, 3}}},
        {"right at the threshold is not below it", envelopeOf({{10, kLoud}, {200, atThreshold}, {10, kLoud}}), kRule, {}},
        {"the rule's threshold", envelopeOf({{10, kLoud}, {200, kQuiet}, {10, kLoud}}), {-70, 1.5}, {}},
        {"silence at the ends, the last block short", envelopeOf({{300, 0}, {100, kLoud}, {250, kQuiet}}, 200), kRule, {},
         3, 2.5 - 200.0 / 44100},
        {"no sound at all leads", envelopeOf({{500, kQuiet}}), kRule, {}, 5},
        {"nothing", {}, kRule, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const TrackSilences found = quietPassages(c.envelope, c.rule);
        Passages inside; // to the microsecond
        for (const QuietPassage& passage : found.inside)
            inside.emplace_back(std::round(passage.startSeconds * 1e6) / 1e6, std::round(passage.lengthSeconds * 1e6) / 1e6);
        EXPECT_EQ(inside, c.inside);
        EXPECT_NEAR(found.leadingSeconds, c.leading, 1e-9);
        EXPECT_NEAR(found.trailingSeconds, c.trailing, 1e-9);
    }
}

TEST(LevelEnvelope, peakIsTheLoudestBlock)
{
    const PeakLevel loudest = peak(envelopeOf({ { 50, kQuiet }, { 1, 0.966f }, { 20, kLoud }, { 1, 0.966f } }));
    EXPECT_NEAR(loudest.db, -0.3, 0.01);
    EXPECT_NEAR(loudest.seconds, 0.5, 1e-9); // the first of equals
    EXPECT_TRUE(std::isinf(peak(envelopeOf({ { 10, 0 } })).db));
    EXPECT_TRUE(std::isinf(peak(LevelEnvelope {}).db));
}
