#include "scan/passage_around.h"

#include <algorithm>
#include <cmath>

SoundSource passageAround(const SoundSource& source, const LevelEnvelope& envelope, double atSeconds,
                          double lengthSeconds)
{
    constexpr double kRate = double(LevelEnvelope::kBlockFrames) / LevelEnvelope::kBlockSeconds;
    const qint64 length = std::min(envelope.frames, qint64(std::llround(lengthSeconds * kRate)));
    const qint64 middle = qint64(std::llround(atSeconds * kRate));
    const qint64 first = std::clamp(middle - length / 2, qint64(0), envelope.frames - length);
    SoundSource passage = source;
    passage.firstFrame = source.firstFrame + first;
    passage.endFrame = passage.firstFrame + length;
    return passage;
}
