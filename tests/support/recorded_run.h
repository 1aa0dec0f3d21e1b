#pragma once

#include "playlist/playlist.h"
#include "recording/recording_run.h"
#include "support/generated_media.h"
#include "support/pulse_null_sink.h"

#include <QEventLoop>
#include <QTimer>

// Plays the run to its end while the sink's monitor is recorded into recordingPath,
// and settleMs more for the last samples to reach the monitor; false when the
// recording did not start or the run did not end within limitMs.
inline bool recordRunToItsEnd(PulseNullSink& sink, RecordingRun& run, const QString& recordingPath, int settleMs = 300,
                              int limitMs = 30000)
{
    if (!sink.startRecording(recordingPath))
        return false;
    QEventLoop loop;
    QObject::connect(&run, &RecordingRun::ended, &loop, &QEventLoop::quit);
    QTimer::singleShot(limitMs, &loop, &QEventLoop::quit);
    run.start();
    loop.exec();
    const bool ended = !run.isRunning();
    QThread::msleep(settleMs);
    sink.stopRecording();
    return ended;
}

// A tone of the seconds for each frequency on the playlist, gapMs apart; false when
// one could not be made.
inline bool appendTones(GeneratedMedia& media, Playlist& playlist, double seconds, double gapMs,
                        std::initializer_list<int> frequencies)
{
    for (const int frequency : frequencies) {
        const QString path = media.tone(QStringLiteral("tone%1.wav").arg(frequency), seconds, frequency);
        if (path.isEmpty())
            return false;
        playlist.append({path, qint64(seconds), gapMs});
    }
    return true;
}
