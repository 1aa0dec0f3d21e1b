#pragma once

#include <QString>
#include <memory>

// Keeps other programs' sound off the output a recording goes to.
class OtherSounds {
public:
    virtual ~OtherSounds() = default;

    // Mutes every stream of other programs on the output (by its name; empty: the
    // default output), and those that start on it later, until restore(). Empty
    // when done; else why it cannot be done, and the recording goes on anyway.
    virtual QString keepOff(const QString& outputName) = 0;
    // Unmutes exactly the streams keepOff muted that are still there; harmless
    // when nothing is kept off.
    virtual void restore() = 0;
};

// Keeps the list of muted streams in listPath until they are unmuted, so that
// what a program that ended during a recording left muted is unmuted here, first.
std::unique_ptr<OtherSounds> makeOtherSounds(const QString& listPath);
