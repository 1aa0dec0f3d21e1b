#pragma once

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

// A PulseAudio server of the test's own with one null sink, "deck", whose monitor
// hears what a recorder on the line output would hear. The server lives in a
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

    // Records the sink's monitor as 16-bit mono WAV at 44100 Hz into wavPath.
    bool startRecording(const QString& wavPath)
    {
        m_recorder.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_recorder.start(QStringLiteral("parec"),
                         {QStringLiteral("-d"), m_sink + QStringLiteral(".monitor"), QStringLiteral("--file-format=wav"),
                          QStringLiteral("--format=s16le"), QStringLiteral("--rate=44100"),
                          QStringLiteral("--channels=1"), QStringLiteral("--latency-msec=10"), wavPath});
        if (!m_recorder.waitForStarted(5000))
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
        if (m_recorder.state() == QProcess::NotRunning)
            return;
        m_recorder.terminate(); // parec completes the file on SIGTERM
        if (!m_recorder.waitForFinished(5000))
            m_recorder.kill();
        m_recorder.waitForFinished(2000);
    }

private:
    QString m_sink = QStringLiteral("deck");
    QTemporaryDir m_runtime;
    QProcess m_server;
    QProcess m_recorder;
    bool m_ready = false;
};
