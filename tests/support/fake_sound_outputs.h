#pragma once

#include "sound_server/sound_outputs.h"

// The sound server's outputs as the test sets them.
class FakeSoundOutputs : public SoundOutputs {
public:
    std::vector<SoundOutput> list;
    QString trouble;

    std::vector<SoundOutput> outputs() const override { return list; }
    QString problem() const override { return trouble; }

    // Devices came or went: the list is now this.
    void become(std::vector<SoundOutput> outputs) { list = std::move(outputs); Q_EMIT changed(); }
};
