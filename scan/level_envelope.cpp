#include "scan/level_envelope.h"

#include <algorithm>
#include <cmath>
#include <limits>

double LevelEnvelope::seconds() const
{
    return double(frames) / double(kBlockFrames) * kBlockSeconds;
}

void appendSamples(LevelEnvelope& envelope, const float* samples, qint64 frames)
{
    qint64 done = 0;
    while (done < frames) {
        const qint64 inBlock = envelope.frames % LevelEnvelope::kBlockFrames;
        if (inBlock == 0)
            envelope.blockPeaks.push_back(0);
        const qint64 count = std::min(frames - done, LevelEnvelope::kBlockFrames - inBlock);
        float loudest = envelope.blockPeaks.back();
        for (const float* sample = samples + 2 * done; sample < samples + 2 * (done + count); ++sample)
            loudest = std::max(loudest, std::fabs(*sample));
        envelope.blockPeaks.back() = loudest;
        envelope.frames += count;
        done += count;
    }
}

TrackSilences quietPassages(const LevelEnvelope& envelope, const SilenceRule& rule)
{
    const std::vector<float>& blocks = envelope.blockPeaks;
    const float threshold = float(std::pow(10.0, rule.thresholdDb / 20)); // as the blocks hold it
    const auto quiet = [&](size_t block) { return blocks[block] < threshold; };
    // The length of a run of blocks, the last block counted as long as it is.
    const auto secondsBetween = [&](size_t first, size_t end) {
        const qint64 endFrame = std::min(qint64(end) * LevelEnvelope::kBlockFrames, envelope.frames);
        return double(endFrame - qint64(first) * LevelEnvelope::kBlockFrames) / double(LevelEnvelope::kBlockFrames)
            * LevelEnvelope::kBlockSeconds;
    };
    TrackSilences silences;
    size_t firstSound = 0;
    while (firstSound < blocks.size() && quiet(firstSound))
        ++firstSound;
    silences.leadingSeconds = secondsBetween(0, firstSound);
    if (firstSound == blocks.size())
        return silences;
    size_t endOfSound = blocks.size();
    while (quiet(endOfSound - 1))
        --endOfSound;
    silences.trailingSeconds = secondsBetween(endOfSound, blocks.size());
    // Blocks inside have whole length; a small allowance keeps 1.5 s at 150 blocks.
    const size_t minimumBlocks = size_t(std::max(1.0, std::ceil(rule.minimumSeconds / LevelEnvelope::kBlockSeconds - 1e-6)));
    for (size_t block = firstSound; block < endOfSound;) {
        if (!quiet(block)) {
            ++block;
            continue;
        }
        const size_t first = block;
        while (quiet(block))
            ++block; // sound follows before endOfSound
        if (block - first >= minimumBlocks)
            silences.inside.push_back({ double(first) * LevelEnvelope::kBlockSeconds, secondsBetween(first, block) });
    }
    return silences;
}

PeakLevel peak(const LevelEnvelope& envelope)
{
    const std::vector<float>& blocks = envelope.blockPeaks;
    const auto loudest = std::max_element(blocks.begin(), blocks.end());
    if (loudest == blocks.end() || *loudest <= 0)
        return { -std::numeric_limits<double>::infinity(), 0 };
    return { 20 * std::log10(double(*loudest)), double(loudest - blocks.begin()) * LevelEnvelope::kBlockSeconds };
}
