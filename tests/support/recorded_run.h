#pragma once

#include "recording/recording_run.h"
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
