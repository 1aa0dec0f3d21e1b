#pragma once

#include "recording/keep_awake.h"

// Tells whether the computer is being kept awake.
class FakeKeepAwake : public KeepAwake {
public:
    bool held = false;

    void hold() override { held = true; }
    void release() override { held = false; }
};
