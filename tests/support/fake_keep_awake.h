#pragma once

#include "recording/keep_awake.h"

// Tells whether the computer is being kept awake, and how often it was asked.
class FakeKeepAwake : public KeepAwake {
public:
    bool held = false;
    int holds = 0;

    void hold() override
    {
        holds += held ? 0 : 1;
        held = true;
    }
    void release() override { held = false; }
};
