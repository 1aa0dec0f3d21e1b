#pragma once

#include "player/cable_probe.h"
#include "common/failure.h"

#include <cmath>
#include <thread>

// Hears the sound come back after delayFrames, scaled by gainDb, with noise (a
// steady 50 Hz hum at noiseDb peak) under it; or fails with failure; or, untilCancelled,
// hears nothing until it is cancelled. The first brokenProbes lose the start of the
// first tone, as a busy machine can.
class FakeCableProbe : public CableProbe {
public:
    qint64 delayFrames = 441;
    double gainDb = 0;
    double noiseDb = -HUGE_VAL;
    QString failure;
    bool untilCancelled = false;
    int brokenProbes = 0;
    std::atomic<int> probes = 0; // counted on the checking thread

    Heard probe(const QString&, const QString&, const std::vector<float>& sound, double listenAfterSeconds,
                const std::atomic<bool>& cancel) override
    {
        ++probes;
        while (untilCancelled && !cancel)
            std::this_thread::yield();
        if (!failure.isEmpty())
            throw Failure(failure);
        Heard heard;
        heard.sentAt = 1000;
        heard.samples.resize(size_t(heard.sentAt) + sound.size() + size_t(listenAfterSeconds * kRate));
        const double gain = std::pow(10.0, gainDb / 20), noise = std::pow(10.0, noiseDb / 20);
        for (size_t i = 0; i < heard.samples.size(); ++i) {
            const qint64 sent = qint64(i) - heard.sentAt - delayFrames;
            const double signal = sent >= 0 && sent < qint64(sound.size()) ? gain * sound[size_t(sent)] : 0;
            const double hum = noise * std::sin(2 * M_PI * 50 * double(i) / kRate);
            heard.samples[i] = float(std::clamp(signal + hum, -1.0, 1.0));
        }
        if (probes <= brokenProbes)
            std::fill_n(heard.samples.begin() + heard.sentAt + delayFrames + kRate / 2, kRate / 7, 0.0f);
        return heard;
    }
};
