#pragma once

#include <QString>
#include <memory>

// Keeps other programs' sound off an output, each call waiting for the sound
// server's answer (a bounded wait): for a thread that may wait.
class WaitingOtherSounds {
public:
    virtual ~WaitingOtherSounds() = default;

    // Empty when done, else why it cannot be done.
    virtual QString keepOff(const QString& outputName) = 0;
    virtual void restore() = 0;
};

// On the PulseAudio (or PipeWire) server; unmutes what a list left in listPath
// names, and restores in its destructor.
std::unique_ptr<WaitingOtherSounds> makePulseOtherSounds(const QString& listPath);
