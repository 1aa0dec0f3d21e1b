#pragma once

#include "common/failure.h"
#include "player/sample_reader.h"

#include <QHash>
#include <algorithm>
#include <initializer_list>
#include <thread>
#include <utility>
#include <vector>

// A reader without decoding: each path's samples and the length its headers
// claim come from a table the test fills before a scan starts; a path not in it
// cannot be read. Samples are handed over in pieces that end inside the 10 ms
// blocks, as a decoder's do.
class FakeSampleReader : public SampleReader {
public:
    struct Sound {
        std::vector<float> samples; // interleaved stereo
        qint64 expectedFrames = 0;
        bool endless = false; // its samples over and over, until cancelled
    };
    static constexpr qint64 kPieceFrames = 1000;

    QHash<QString, Sound> sounds; // by path
    bool measurable = true; // false: nothing can be measured, as without a player
    std::atomic<bool> held { false }; // reading waits while it is set, until cancelled
    std::atomic<int> reads { 0 };

    // Stretches of steady level, full scale being 1: seconds and level each.
    static std::vector<float> levels(std::initializer_list<std::pair<double, float>> stretches)
    {
        std::vector<float> samples;
        for (const auto& [seconds, level] : stretches) {
            // A square wave, so that the level is every block's peak.
            for (qint64 frame = 0; frame < qint64(seconds * 44100 + 0.5); ++frame)
                samples.insert(samples.end(), 2, frame % 2 ? -level : level);
        }
        return samples;
    }

    qint64 expectedFrames(const SoundSource& source) override
    {
        if (!measurable)
            throw Failure(QStringLiteral("Nothing to measure with."));
        const auto sound = sounds.constFind(source.path);
        return sound == sounds.cend() ? 0 : sound->expectedFrames;
    }

    bool read(const SoundSource& source, const Take& take, const std::atomic<bool>& cancel) override
    {
        ++reads;
        const auto sound = sounds.constFind(source.path);
        if (sound == sounds.cend())
            throw Failure(QStringLiteral("Cannot read this file.\n") + source.path);
        const qint64 frames = qint64(sound->samples.size()) / 2;
        for (qint64 done = 0;; done += kPieceFrames) {
            while (held && !cancel)
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            if (cancel)
                return false;
            if (sound->endless)
                done %= std::max<qint64>(1, frames);
            if (done >= frames)
                return true;
            take(sound->samples.data() + 2 * done, std::min(kPieceFrames, frames - done));
        }
    }
};
