#include "recorder/level_envelope.h"

#include <gtest/gtest.h>
#include <cmath>
#include <vector>

namespace {

constexpr float kLoud = 0.5f;     // about -6 dB
constexpr float kQuiet = 0.001f;  // -60 dB, below the usual -50 dB

// Runs of blocks of one level each, whole blocks.
LevelEnvelope envelopeOf(std::initializer_list<std::pair<int, float>> runs)
{
    LevelEnvelope envelope;
    for (const auto& [blocks, level] : runs)
        envelope.blockPeaks.insert(envelope.blockPeaks.end(), size_t(blocks), level);
    envelope.frames = qint64(envelope.blockPeaks.size()) * LevelEnvelope::kBlockFrames;
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
    ASSERT_EQ(envelope.blockPeaks.size(), 2u);
    EXPECT_FLOAT_EQ(envelope.blockPeaks[0], 0.8f);
    EXPECT_FLOAT_EQ(envelope.blockPeaks[1], 0.3f);
    EXPECT_NEAR(envelope.seconds(), 700.0 / 44100, 1e-12);
}

TEST(LevelEnvelope, quietPassagesInsideTheTrack)
{
    const SilenceRule rule { -50, 1.5 };
    // Exactly the minimum is a gap; one block less is not.
    TrackSilences found = quietPassages(envelopeOf({ { 100, kLoud }, { 150, kQuiet }, { 100, kLoud } }), rule);
    ASSERT_EQ(found.inside.size(), 1u);
    EXPECT_NEAR(found.inside[0].startSeconds, 1.0, 1e-9);
    EXPECT_NEAR(found.inside[0].lengthSeconds, 1.5, 1e-9);
    EXPECT_EQ(found.leadingSeconds, 0);
    EXPECT_EQ(found.trailingSeconds, 0);
    EXPECT_TRUE(quietPassages(envelopeOf({ { 100, kLoud }, { 149, kQuiet }, { 100, kLoud } }), rule).inside.empty());

    // One louder block in the middle leaves two passages too short; two long ones are both found.
    EXPECT_TRUE(quietPassages(envelopeOf({ { 10, kLoud }, { 100, kQuiet }, { 1, kLoud }, { 100, kQuiet }, { 10, kLoud } }),
                              rule).inside.empty());
    found = quietPassages(envelopeOf({ { 10, kLoud }, { 200, kQuiet }, { 1, kLoud }, { 300, kQuiet }, { 10, kLoud } }), rule);
    ASSERT_EQ(found.inside.size(), 2u);
    EXPECT_NEAR(found.inside[1].startSeconds, 2.11, 1e-9);
    EXPECT_NEAR(found.inside[1].lengthSeconds, 3.0, 1e-9);

    // A level right at the threshold is not below it.
    const float atThreshold = float(std::pow(10.0, -50.0 / 20));
    EXPECT_TRUE(quietPassages(envelopeOf({ { 10, kLoud }, { 200, atThreshold }, { 10, kLoud } }), rule).inside.empty());
    // The threshold is the rule's.
    EXPECT_EQ(quietPassages(envelopeOf({ { 10, kLoud }, { 200, kQuiet }, { 10, kLoud } }), { -70, 1.5 }).inside.size(), 0u);
}

TEST(LevelEnvelope, silenceAtTheEndsIsReportedApart)
{
    const SilenceRule rule;
    LevelEnvelope envelope = envelopeOf({ { 300, 0 }, { 100, kLoud }, { 250, kQuiet } });
    envelope.frames -= 200; // the last block is short
    const TrackSilences found = quietPassages(envelope, rule);
    EXPECT_TRUE(found.inside.empty());
    EXPECT_NEAR(found.leadingSeconds, 3.0, 1e-9);
    EXPECT_NEAR(found.trailingSeconds, 2.5 - 200.0 / 44100, 1e-9);

    // No sound at all: all of it leads, nothing is inside.
    const TrackSilences silent = quietPassages(envelopeOf({ { 500, kQuiet } }), rule);
    EXPECT_TRUE(silent.inside.empty());
    EXPECT_NEAR(silent.leadingSeconds, 5.0, 1e-9);
    EXPECT_EQ(silent.trailingSeconds, 0);
    EXPECT_EQ(quietPassages(LevelEnvelope {}, rule).leadingSeconds, 0);
}

TEST(LevelEnvelope, peakIsTheLoudestBlock)
{
    const PeakLevel loudest = peak(envelopeOf({ { 50, kQuiet }, { 1, 0.966f }, { 20, kLoud }, { 1, 0.966f } }));
    EXPECT_NEAR(loudest.db, -0.3, 0.01);
    EXPECT_NEAR(loudest.seconds, 0.5, 1e-9); // the first of equals
    EXPECT_TRUE(std::isinf(peak(envelopeOf({ { 10, 0 } })).db));
    EXPECT_TRUE(std::isinf(peak(LevelEnvelope {}).db));
}
