#pragma once

#include <QObject>
#include <QString>
#include <memory>

// MediaPlayer1: opens, measures and plays one media file at a time.
class MediaPlayer : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // Opens the file at once, without playing, so that duration() is right
    // immediately after. A file that cannot be opened throws a Failure whose
    // description says why.
    virtual void setFileName(const QString& path) = 0;
    // Length of the open file in seconds.
    virtual double duration() const = 0;
    // Plays the open file from its beginning, so that its sound begins silenceMs
    // after the sound of the file played before it ended; as soon as it can when
    // that moment has passed, or when nothing played since the player was stopped.
    virtual void play(double silenceMs) = 0;
    // Ends any playback; harmless when nothing plays.
    virtual void stop() = 0;
    // Play position in seconds from the file's start.
    virtual double currentPosition() const = 0;
    // How long before its sound is due play() must be called for the silence to
    // come out exact.
    virtual double startLeadMs() const = 0;

Q_SIGNALS:
    // Once per played file, on the user-interface thread, when it has played to its end.
    void endOfStream(int result);
};

// The player that plays through the computer's sound output.
std::unique_ptr<MediaPlayer> makeMediaPlayer();
