#pragma once

#include <memory>

// Keeps the computer from sleeping and the screen from blanking while a run
// records: an hour with no keyboard use looks idle to the desktop, and a
// suspended computer ruins the recording.
class KeepAwake {
public:
    virtual ~KeepAwake() = default;

    // Nothing more while held; never waits for an answer.
    virtual void hold() = 0;
    // Lets the computer sleep again; harmless when nothing is held.
    virtual void release() = 0;
};

// Through the desktop portal, else logind, each asked without waiting for it.
std::unique_ptr<KeepAwake> makeKeepAwake();
