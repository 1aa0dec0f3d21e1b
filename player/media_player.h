#pragma once

#include "discs/sound_source.h"

#include <QObject>
#include <QString>
#include <limits>
#include <memory>

// The loudest sample of each channel, as a fraction of full scale.
struct StereoPeak {
    float left = 0;
    float right = 0;
};

// Measures media files, and plays them one after another with exact silences
// between them.
class MediaPlayer : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // Opens the file at once, without playing, so that duration() is right
    // immediately after. A file that cannot be opened throws a Failure whose
    // description says why. Measuring never touches what plays.
    virtual void setFileName(const QString& path) = 0;
    // Length of the file last opened by setFileName, in seconds.
    virtual double duration() const = 0;
    // Plays the file so that its sound begins silenceMs after the sound of the
    // file before it ended, or silenceMs after the output starts when nothing
    // played since the player was stopped; as soon as it can when that moment
    // has passed. It never waits for the file to open. Called while a file sounds
    // or waits, the new file waits behind it, so even a silence of 0 comes out
    // exact; up to kFilesWaiting wait, opened and decoded ahead, and one handed
    // beyond that replaces the last.
    // Every sample of it is raised or lowered by gainDb; at 0 they are left as they are.
    // Throws a Failure when the sound output cannot start.
    virtual void play(const SoundSource& source, double silenceMs, double gainDb) = 0;
    void play(const SoundSource& source, double silenceMs) { play(source, silenceMs, 0); }
    void play(const QString& path, double silenceMs) { play(SoundSource { .path = path }, silenceMs, 0); }
    // A silence that lasts until resume(): the file waits, opened and decoded ahead.
    static constexpr double kHeld = std::numeric_limits<double>::infinity();
    // The file held by kHeld is due silenceMs after what is heard now, to the sample,
    // however much silence the output has sent ahead meanwhile.
    virtual void resume(double silenceMs) = 0;
    // Files waiting to sound: with two, the next but one is handed over a whole
    // file ahead, so a window thread kept busy a while never makes a gap longer.
    static constexpr int kFilesWaiting = 2;
    // Ends any playback and drops a waiting file; harmless when nothing plays.
    virtual void stop() = 0;
    // Play position of the file being heard, in seconds from its start.
    virtual double currentPosition() const = 0;
    // Where the sound goes from the next play after a stop on: the sound server's
    // name of an output, or empty for the system's default output.
    virtual void setOutput(const QString& outputName) = 0;
    // The loudest sample of each channel heard since the last call; 0 when
    // nothing sounded.
    virtual StereoPeak takeHeardPeak() = 0;

Q_SIGNALS:
    // On the user-interface thread, once per played file, when the output has begun
    // to take its sound, some time before it is heard: it waits no more.
    void soundTaken();
    // On the user-interface thread, once per played file, when its first sample is heard.
    void soundStarted();
    // On the user-interface thread, when a break in the sound of the file being
    // heard is heard: the computer was too busy to feed the output in time, and
    // silence stands in the file's sound from position seconds on.
    void breakHeard(double position);
    // Once per played file, when it has been heard to its end.
    void endOfStream(int result);
    // A played file could not be opened or broke off, or the sound output failed:
    // the description says why. Nothing more plays until the next play().
    void failed(const QString& description);
};

// The player that plays through the computer's sound output.
std::unique_ptr<MediaPlayer> makeMediaPlayer();
