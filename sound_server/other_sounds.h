#pragma once

#include <QString>
#include <functional>
#include <memory>

// Keeps other programs' sound off the output a recording goes to. Nothing here
// waits for the sound server: one that stops answering holds no window up.
class OtherSounds {
public:
    // Called on the thread that asked: empty when done, else why it cannot be done.
    using Told = std::function<void(const QString& problem)>;

    virtual ~OtherSounds() = default;

    // Mutes every stream of other programs on the output (by its name; empty: the
    // default output), and those that start on it later, until restore(). A
    // recording goes on whatever told says.
    virtual void keepOff(const QString& outputName, Told told) = 0;
    // Unmutes exactly the streams keepOff muted that are still there; harmless
    // when nothing is kept off.
    virtual void restore() = 0;
};

// Keeps the list of muted streams in listPath until they are unmuted, so that
// what a program that ended during a recording left muted is unmuted here, first.
// The server is asked on a thread of its own, in order; the last restore is done
// before this goes.
std::unique_ptr<OtherSounds> makeOtherSounds(const QString& listPath);
