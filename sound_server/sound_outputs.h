#pragma once

#include "sound_server/sound_output.h"

#include <QObject>
#include <memory>
#include <vector>

// The outputs the sound server offers, kept up to date as devices come and go.
class SoundOutputs : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    virtual std::vector<SoundOutput> outputs() const = 0;
    // Why the outputs cannot be listed (no sound server to ask); empty when they can.
    virtual QString problem() const = 0;

Q_SIGNALS:
    // On the user-interface thread: an output came, went or changed, or the sound
    // server came or went.
    void changed();
};

// The outputs of the sound server the program plays through.
std::unique_ptr<SoundOutputs> makeSoundOutputs();
// The same for the server's inputs, which the program may listen on: line and
// microphone inputs, and the monitors of its outputs.
std::unique_ptr<SoundOutputs> makeSoundInputs();
