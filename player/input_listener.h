#pragma once

#include <QString>
#include <QtGlobal>
#include <functional>
#include <memory>

// Hears an input of the sound server on threads of its own, for as long as a run
// lasts: what a recorder received.
class InputListener {
public:
    // Interleaved stereo at 44.1 kHz, full scale being 1.
    using Take = std::function<void(const float* interleavedStereo, qint64 frames)>;
    using Failed = std::function<void(const QString& message)>;

    virtual ~InputListener() = default;
    // take and failed are called on the listener's threads, failed also for an input
    // that cannot be opened; after it, nothing more is heard. Throws a Failure when
    // nothing can be listened on at all on this computer.
    virtual void start(const QString& input, Take take, Failed failed) = 0;
    // Nothing is taken once it returns; stopping a listener that is not on does nothing.
    virtual void stop() = 0;
};

// The listener that records through the sound server.
std::unique_ptr<InputListener> makeInputListener();
