#pragma once

#include "common/failure.h"
#include "recording/media_player.h"

#include <QHash>
#include <QStringList>
#include <functional>

// A player without sound: durations come from a table, positions are set by the
// test, and the test ends a file with finish().
class FakeMediaPlayer : public MediaPlayer {
public:
    QHash<QString, double> durations; // path -> seconds; a path not listed fails to open
    QStringList opened;
    QStringList played;
    QList<double> silences; // what each play asked for
    double lead = 0;
    int stops = 0;
    double position = 0;
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
    void play(double silenceMs) override
    {
        played << m_current;
        silences << silenceMs;
        position = 0;
    }
    void stop() override { ++stops; }
    double currentPosition() const override { return position; }
    double startLeadMs() const override { return lead; }

    void finish() { Q_EMIT endOfStream(0); }

private:
    QString m_current;
};
