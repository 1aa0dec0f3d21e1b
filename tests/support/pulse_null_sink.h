#pragma once

#include "support/die_with_parent.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <list>

// A PulseAudio server of the test's own with one null sink, "deck", whose monitor
// hears what a recorder on the line output would hear; more sinks stand for more
// sound cards. The server lives in a
// temporary runtime folder and is stopped by its process id, never by name.
// Clients of this process (GStreamer's pulsesink, parec) reach it through
// PULSE_SERVER and PULSE_SINK, set here before any player is made.
class PulseNullSink {
public:
    PulseNullSink()
    {
        const QString runtime = m_runtime.path();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
        env.insert(QStringLiteral("HOME"), runtime); // keeps the server's cookie and state out of the user's
        m_server.setProcessEnvironment(env);
        m_server.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        dieWithParent(m_server);
        m_server.start(QStringLiteral("pulseaudio"),
                       {QStringLiteral("-n"), QStringLiteral("--daemonize=no"), QStringLiteral("--exit-idle-time=-1"),
                        QStringLiteral("--system=false"), QStringLiteral("--use-pid-file=no"),
                        QStringLiteral("-L"), QStringLiteral("module-null-sink sink_name=deck"),
                        QStringLiteral("-L"), QStringLiteral("module-native-protocol-unix auth-anonymous=1"),
                        QStringLiteral("-L"), QStringLiteral("module-always-sink")});
        if (!m_server.waitForStarted(5000))
            return;
        const QString address = QStringLiteral("unix:") + runtime + QStringLiteral("/pulse/native");
        qputenv("PULSE_SERVER", address.toUtf8());
        qputenv("PULSE_SINK", "deck");
        QElapsedTimer waited;
        waited.start();
        while (waited.elapsed() < 10000 && m_server.state() == QProcess::Running) {
            QProcess info;
            info.start(QStringLiteral("pactl"), {QStringLiteral("info")});
            if (info.waitForFinished(2000) && info.exitCode() == 0) {
                m_ready = true;
                return;
            }
            QThread::msleep(100);
        }
    }

    // Uses a sound server that already runs (PULSE_SERVER, or the user's own) and
    // one of its sinks instead, to measure on another server such as PipeWire's.
    explicit PulseNullSink(const QString& existingSink)
        : m_sink(existingSink)
    {
        qputenv("PULSE_SINK", existingSink.toUtf8());
        QProcess info;
        info.start(QStringLiteral("pactl"), {QStringLiteral("info")});
        m_ready = info.waitForFinished(5000) && info.exitCode() == 0;
    }

    ~PulseNullSink()
    {
        stopRecording();
        stopServer();
    }

    // Ends the server, as a sound server that crashes or is restarted would end.
    void stopServer()
    {
        if (m_server.state() != QProcess::NotRunning) {
            m_server.terminate();
            if (!m_server.waitForFinished(5000))
                m_server.kill();
            m_server.waitForFinished(2000);
        }
    }

    bool ready() const { return m_ready; }
    qint64 serverProcessId() const { return m_server.processId(); }

    // Another null sink, named name, that the sound server lists as description.
    bool addSink(const QString& name, const QString& description)
    {
        QProcess load;
        load.start(QStringLiteral("pactl"), {QStringLiteral("load-module"), QStringLiteral("module-null-sink"),
                                             QStringLiteral("sink_name=") + name,
                                             QStringLiteral("sink_properties=device.description=") + description});
        return load.waitForFinished(5000) && load.exitCode() == 0;
    }

    // Records the monitor of the sink (the first one unless named) as 16-bit WAV at
    // 44100 Hz into wavPath, until stopRecording; several may record at once.
    bool startRecording(const QString& wavPath, int channels = 1, const QString& sink = {})
    {
        QProcess& recorder = m_recorders.emplace_back();
        recorder.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        dieWithParent(recorder);
        recorder.start(QStringLiteral("parec"),
                       {QStringLiteral("-d"), (sink.isEmpty() ? m_sink : sink) + QStringLiteral(".monitor"),
                        QStringLiteral("--file-format=wav"), QStringLiteral("--format=s16le"),
                        QStringLiteral("--rate=44100"), QStringLiteral("--channels=%1").arg(channels),
                        QStringLiteral("--latency-msec=10"), wavPath});
        if (!recorder.waitForStarted(5000))
            return false;
        // Wait until the recording has begun to grow, so no sound is missed.
        QElapsedTimer waited;
        waited.start();
        while (waited.elapsed() < 5000 && QFileInfo(wavPath).size() <= 44)
            QThread::msleep(20);
        return QFileInfo(wavPath).size() > 44;
    }

    void stopRecording()
    {
        for (QProcess& recorder : m_recorders) {
            if (recorder.state() == QProcess::NotRunning)
                continue;
            recorder.terminate(); // parec completes the file on SIGTERM
            if (!recorder.waitForFinished(5000))
                recorder.kill();
            recorder.waitForFinished(2000);
        }
        m_recorders.clear();
    }

private:
    QString m_sink = QStringLiteral("deck");
    QTemporaryDir m_runtime;
    QProcess m_server;
    std::list<QProcess> m_recorders;
    bool m_ready = false;
};
