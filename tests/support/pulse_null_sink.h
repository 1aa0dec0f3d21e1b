#pragma once

#include "support/die_with_parent.h"

#include <QDeadlineTimer>
#include <QElapsedTimer> // benchmarks count on it
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <list>

// A PulseAudio server of the test's own with one null sink, "deck", whose monitor hears
// what a recorder on the line output would; more sinks stand for more sound cards. It
// lives in a temporary runtime folder and is stopped by its process id, never by name.
// This process's clients (pulsesink, parec) reach it through PULSE_SERVER and
// PULSE_SINK, set here before any player is made.
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
        m_server.start("pulseaudio", {"-n", "--daemonize=no", "--exit-idle-time=-1", "--system=false",
                                      "--use-pid-file=no", "-L", "module-null-sink sink_name=deck", "-L",
                                      "module-native-protocol-unix auth-anonymous=1", "-L", "module-always-sink"});
        if (!m_server.waitForStarted(5000))
            return;
        qputenv("PULSE_SERVER", "unix:" + QFile::encodeName(runtime) + "/pulse/native");
        qputenv("PULSE_SINK", "deck");
        for (const QDeadlineTimer deadline(10000);
             !(m_ready = pactlWorks({"info"})) && !deadline.hasExpired() && m_server.state() == QProcess::Running;)
            QThread::msleep(100);
    }

    // Uses a sound server that already runs (PULSE_SERVER, or the user's own) and
    // one of its sinks instead, to measure on another server such as PipeWire's.
    explicit PulseNullSink(const QString& existingSink) : m_sink(existingSink)
    {
        qputenv("PULSE_SINK", existingSink.toUtf8());
        m_ready = pactlWorks({"info"});
    }
    ~PulseNullSink() { stopRecording(); stopServer(); }

    // Ends the server, as a sound server that crashes or is restarted would end.
    void stopServer() { end(m_server); }

    bool ready() const { return m_ready; }
    qint64 serverProcessId() const { return m_server.processId(); }

    // Another null sink, named name, that the sound server lists as description.
    bool addSink(const QString& name, const QString& description)
    {
        return pactlWorks({"load-module", "module-null-sink", "sink_name=" + name,
                           "sink_properties=device.description=" + description});
    }

    // Takes a sink added by addSink away again, as an unplugged sound card goes.
    bool removeSink(const QString& name)
    {
        QProcess modules;
        modules.start("pactl", {"list", "short", "modules"});
        modules.waitForFinished(5000);
        for (const QByteArray& line : modules.readAllStandardOutput().split('\n')) {
            if (line.contains("sink_name=" + name.toUtf8() + ' '))
                return pactlWorks({"unload-module", QString::fromUtf8(line.split('\t').first())});
        }
        return false;
    }
    // Records the monitor of the sink (the first one unless named) as 16-bit WAV at
    // 44100 Hz into wavPath, until stopRecording; several may record at once.
    bool startRecording(const QString& wavPath, int channels = 1, const QString& sink = {})
    {
        QProcess& recorder = m_recorders.emplace_back();
        recorder.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        dieWithParent(recorder);
        recorder.start("parec", {"-d", (sink.isEmpty() ? m_sink : sink) + ".monitor", "--file-format=wav",
                                 "--format=s16le", "--rate=44100", QStringLiteral("--channels=%1").arg(channels),
                                 "--latency-msec=10", wavPath});
        if (!recorder.waitForStarted(5000))
            return false;
        // Wait until the recording has begun to grow, so no sound is missed.
        for (const QDeadlineTimer deadline(5000); !deadline.hasExpired() && QFileInfo(wavPath).size() <= 44;)
            QThread::msleep(20);
        return QFileInfo(wavPath).size() > 44;
    }

    void stopRecording()
    {
        std::for_each(m_recorders.begin(), m_recorders.end(), end); // parec completes the file on SIGTERM
        m_recorders.clear();
    }

private:
    static bool pactlWorks(const QStringList& arguments)
    {
        QProcess pactl;
        pactl.start("pactl", arguments);
        return pactl.waitForFinished(5000) && pactl.exitCode() == 0;
    }
    static void end(QProcess& process)
    {
        process.terminate();
        if (!process.waitForFinished(5000))
            process.kill();
        process.waitForFinished(2000);
    }

    QString m_sink = QStringLiteral("deck");
    QTemporaryDir m_runtime;
    QProcess m_server;
    std::list<QProcess> m_recorders;
    bool m_ready = false;
};
