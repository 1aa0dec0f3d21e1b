#pragma once

// Where a run learns the gain each entry plays at, in dB, as things stand when it starts
// playing it.
class GainSource {
public:
    virtual double gainDb(int index) = 0;

protected:
    ~GainSource() = default;
};
