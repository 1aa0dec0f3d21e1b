// The CPU a run's listening costs: the input heard for a while, as during a run, on a
// private PulseAudio whose second null sink's monitor is the input, with a tone
// playing into it all the time; then the report made of what was heard.
#include "cpu_time.h"
#include "player/input_listener.h"
#include "listening/received_sound.h"
#include "support/pulse_null_sink.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QThread>
#include <cstdio>
#include <mutex>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const double seconds = argc > 1 ? std::atof(argv[1]) : 60;
    PulseNullSink server;
    if (!server.ready() || !server.addSink("line_in", "Line-in")) {
        std::fprintf(stderr, "no PulseAudio to listen on\n");
        return 1;
    }
    QProcess tone;
    tone.start(QStringLiteral("gst-launch-1.0"),
               {"-q", "audiotestsrc", "freq=1000", "volume=0.25", "!", "pulsesink", "device=line_in"});
    tone.waitForStarted(5000);
    QThread::msleep(500);

    std::mutex mutex;
    ReceivedSound heard;
    const std::unique_ptr<InputListener> listener = makeInputListener();
    const double cpuBefore = cpuSeconds();
    QElapsedTimer clock;
    clock.start();
    double firstMs = 0;
    listener->start(QStringLiteral("line_in.monitor"), [&](const float* samples, qint64 frames) {
        const std::lock_guard lock(mutex);
        if (heard.envelope.frames == 0)
            firstMs = double(clock.nsecsElapsed()) / 1e6;
        heard.append(samples, frames);
    }, [](const QString& message) { std::fprintf(stderr, "lost: %s\n", qPrintable(message)); });
    QThread::msleep(qint64(seconds * 1000));
    listener->stop();
    const double wall = double(clock.nsecsElapsed()) / 1e9;
    const double cpu = cpuSeconds() - cpuBefore;
    QElapsedTimer reportClock;
    reportClock.start();
    const std::vector<SentEntry> sent(20, SentEntry{QStringLiteral("Track"), seconds / 20, 2});
    const QStringList report = receivedReport(findReceived(heard, sent, {}), sent, {});
    tone.kill();
    tone.waitForFinished(2000);
    std::printf("heard %.1f s of %.1f s, the first sound %.0f ms after the start\n", heard.envelope.seconds(), wall,
                firstMs);
    std::printf("CPU while listening: %.3f s in %.1f s = %.2f%% of one core\n", cpu, wall, cpu / wall * 100);
    std::printf("report of %lld lines made in %.1f ms\n", qlonglong(report.size()),
                double(reportClock.nsecsElapsed()) / 1e6);
    return 0;
}
