#pragma once

#include <QString>
#include <QtGlobal>
#include <atomic>
#include <memory>
#include <vector>

// Plays a sound to an output while an input listens, both on one clock, so that
// what comes back over the cable can be set against what was sent.
class CableProbe {
public:
    static constexpr int kRate = 44100;

    struct Heard {
        std::vector<float> samples; // what the input heard, mono at kRate, full scale 1
        qint64 sentAt = 0;          // the sample of it at which the sound's first left the output
    };

    virtual ~CableProbe() = default;
    // sound is mono at kRate. Listens for its length and listenAfterSeconds more,
    // blocking the caller meanwhile: never call it on the window's thread. An empty
    // output is the system's default. Gives nothing heard once cancel is set. Throws a
    // Failure when the output cannot play or the input cannot be heard.
    virtual Heard probe(const QString& output, const QString& input, const std::vector<float>& sound,
                        double listenAfterSeconds, const std::atomic<bool>& cancel) = 0;
};

// The probe that plays and listens through the sound server.
std::unique_ptr<CableProbe> makeCableProbe();
