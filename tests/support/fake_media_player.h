#pragma once

#include "common/failure.h"
#include "player/media_player.h"

#include <QHash>
#include <QStringList>
#include <functional>
#include <utility>

// A player without sound: durations come from a table, positions are set by the
// test, and the test says when a played file is heard to start, end or fail.
class FakeMediaPlayer : public MediaPlayer {
public:
    QHash<QString, double> durations; // path -> seconds; a path not listed fails to open
    QStringList opened, played;
    QList<SoundSource> playedSources;
    QList<double> silences, gains, resumes; // what each play (each resume) asked for
    int stops = 0;
    double position = 0;
    QString output; // as last set
    StereoPeak heardPeak; // what the next takeHeardPeak gives
    std::function<void()> onOpen; // runs as each file opens

    void setFileName(const QString& path) override
    {
        opened << path;
        if (onOpen)
            onOpen();
        if (!durations.contains(path))
            throw Failure(QStringLiteral("Cannot open ") + path);
        m_current = path;
    }
    double duration() const override { return durations.value(m_current); }
    using MediaPlayer::play;
    void play(const SoundSource& source, double silenceMs, double gainDb) override
    {
        gains << gainDb; played << source.path; playedSources << source; silences << silenceMs;
    }
    void resume(double silenceMs) override { resumes << silenceMs; }
    void stop() override { ++stops; }
    double currentPosition() const override { return position; }
    void setOutput(const QString& outputName) override { output = outputName; }
    StereoPeak takeHeardPeak() override { return std::exchange(heardPeak, {}); }

    // The output takes the last file played, before it is heard.
    void take() { ++m_takenAhead; Q_EMIT soundTaken(); }
    // The next file taken, or else the last one played, is heard to start.
    void start()
    {
        if (m_takenAhead == 0)
            Q_EMIT soundTaken();
        else
            --m_takenAhead;
        position = 0;
        Q_EMIT soundStarted();
    }
    void finish() { Q_EMIT endOfStream(0); }
    // The last file played starts and, at once, its end is heard.
    void playThrough() { start(); finish(); }
    void breakOff(const QString& description) { Q_EMIT failed(description); }
    void breakAt(double seconds) { Q_EMIT breakHeard(seconds); }

private:
    QString m_current;
    int m_takenAhead = 0;
};
