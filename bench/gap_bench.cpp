// Plays a recording run of WAV files through a PulseAudio null sink, records the
// sink's monitor and prints the silences heard between the tracks against their
// gaps, the breaks heard inside tracks, and the program's CPU time per minute of
// playing. With a sink name as its argument it uses that sink of the sound server
// already running instead, e.g.
//   pactl load-module module-null-sink sink_name=deck && gap_bench deck
// GAP_BENCH_LOAD set: the run plays on a busy computer, two processes a core
// spinning at the program's own priority and the window's thread stalling a
// second every few seconds; GAP_BENCH_LOAD=real: two decodes of a long file and a
// compiler running over and over instead.
#include "cpu_time.h"
#include "support/die_with_parent.h"
#include "support/generated_media.h"
#include "support/pulse_null_sink.h"
#include "support/sound_stretches.h"
#include "support/sounding_run.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QProcess>
#include <algorithm>
#include <cstdio>

namespace {

// A busy computer for as long as it lives: processes spinning, two a core, and the
// window's thread stalling a second every few seconds; or, real, loaded the way real
// programs load it, with their threads and disk reads: two decodes of a long file and
// a compiler, each started again as it ends.
class Load {
public:
    Load(bool real, GeneratedMedia& media)
    {
        if (!real) {
            for (int i = 0; i < 2 * QThread::idealThreadCount(); ++i)
                run(QStringLiteral("sh"), {QStringLiteral("-c"), QStringLiteral("while :; do :; done")});
            m_stall.setInterval(2300);
            QObject::connect(&m_stall, &QTimer::timeout, [] { QThread::msleep(1000); });
            m_stall.start();
            return;
        }
        const QString longFile = media.make(QStringLiteral("ffmpeg"),
                                            {"-v", "quiet", "-f", "lavfi", "-i", "sine=frequency=440:duration=300",
                                             "-ac", "2", "-c:a", "libmp3lame", "long.mp3"},
                                            QStringLiteral("long.mp3"));
        QFile source(media.path(QStringLiteral("busy.cpp")));
        if (source.open(QIODevice::WriteOnly))
            source.write("#include <iostream>\n#include <map>\n#include <regex>\n"
                         "int main() { std::map<std::string, std::regex> m; std::cout << m.size(); }\n");
        source.close();
        for (int i = 0; i < 2; ++i)
            run(QStringLiteral("ffmpeg"), {"-nostdin", "-v", "quiet", "-i", longFile, "-f", "null", "-"});
        run(QStringLiteral("c++"), {"-O2", "-c", source.fileName(), "-o", "/dev/null"});
    }
    ~Load()
    {
        for (const auto& process : m_processes) {
            process->disconnect();
            process->kill();
            process->waitForFinished();
        }
    }
    Load(const Load&) = delete;
    Load& operator=(const Load&) = delete;

private:
    void run(const QString& program, const QStringList& arguments)
    {
        QProcess* process = m_processes.emplace_back(std::make_unique<QProcess>()).get();
        dieWithParent(*process);
        process->setProgram(program);
        process->setArguments(arguments);
        process->setStandardOutputFile(QProcess::nullDevice());
        process->setStandardErrorFile(QProcess::nullDevice());
        QObject::connect(process, &QProcess::finished, [process] { process->start(); });
        process->start();
    }

    std::vector<std::unique_ptr<QProcess>> m_processes;
    QTimer m_stall;
};

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Before the application, so every client finds it.
    const std::unique_ptr<PulseNullSink> sinkOwner = argc > 1
        ? std::make_unique<PulseNullSink>(QString::fromLocal8Bit(argv[1]))
        : std::make_unique<PulseNullSink>();
    PulseNullSink& sink = *sinkOwner;
    QApplication app(argc, argv);
    if (!sink.ready()) {
        std::fprintf(stderr, "no PulseAudio null sink\n");
        return 1;
    }
    const double trackSeconds = 3;
    const std::vector<double> gapsMs = {0, 50, 250, 500, 1000, 2000, 3000, 4000, 5000, 50, 250, 0};
    GeneratedMedia media;
    const QString wav = SoundingRun::makeTone(media, QStringLiteral("tone.wav"), trackSeconds, 440);
    // GAP_BENCH_FLAC set: the same tone as FLAC tracks, whose decoding costs more.
    const QString track = qEnvironmentVariableIsSet("GAP_BENCH_FLAC")
        ? media.make(QStringLiteral("ffmpeg"), {"-v", "quiet", "-i", wav, "tone.flac"}, QStringLiteral("tone.flac"))
        : wav;
    SoundingRun run;
    for (double gap : gapsMs)
        run.add(track, trackSeconds, gap);

    const std::unique_ptr<Load> load = qEnvironmentVariableIsSet("GAP_BENCH_LOAD")
        ? std::make_unique<Load>(qgetenv("GAP_BENCH_LOAD") == "real", media)
        : nullptr;
    const QString recording = media.path(QStringLiteral("deck.wav"));
    sink.startRecording(recording);
    QElapsedTimer wall;
    wall.start();
    const double cpuBefore = cpuSeconds();
    // The first file also loads its decoder and connects to the sound server;
    // from its end on the run is in its steady state.
    double cpuAfterFirst = 0;
    qint64 wallAfterFirst = 0;
    QObject::connect(run.player.get(), &MediaPlayer::endOfStream, [&] {
        if (wallAfterFirst == 0) {
            cpuAfterFirst = cpuSeconds();
            wallAfterFirst = wall.elapsed();
        }
    });
    run.play(300000);
    const double cpuEnd = cpuSeconds();
    const double cpu = cpuEnd - cpuBefore;
    const double minutes = double(wall.elapsed()) / 60000;
    const double steadyCpu = cpuEnd - cpuAfterFirst;
    const double steadyMinutes = double(wall.elapsed() - wallAfterFirst) / 60000;
    QThread::msleep(300);
    sink.stopRecording();

    // Tracks with no gap between them sound as one stretch; its length tells
    // whether any silence came between them.
    const std::vector<SoundStretch> sounds = soundStretches(recording, 0.02);
    size_t expected = 1;
    for (size_t i = 0; i + 1 < gapsMs.size(); ++i)
        expected += gapsMs[i] > 0 ? 1 : 0;
    // A break inside a track splits its stretch; one shorter than 20 ms shows only unbridged.
    const size_t unbridged = soundStretches(recording, 0).size();
    std::printf("stretches heard: %zu of %zu; breaks inside tracks: %zu\n", sounds.size(), expected,
                unbridged > expected ? unbridged - expected : 0);
    for (const FakeDialogs::Message& message : run.dialogs.messages)
        std::printf("the run said: %s\n", qPrintable(QString(message.text).replace(u'\n', u' ')));
    std::printf("CPU: %.2f s in %.2f min of playing = %.2f s per minute (%.2f%% of one core)\n", cpu, minutes,
                cpu / minutes, cpu / minutes / 60 * 100);
    if (sounds.size() != expected)
        return 1;
    std::vector<double> over;
    size_t stretch = 0;
    double joined = trackSeconds; // seconds of the tracks joined in the current stretch
    for (size_t i = 0; i + 1 < gapsMs.size(); ++i) {
        double heard = 0;
        if (gapsMs[i] > 0) {
            heard = (sounds[stretch + 1].start - sounds[stretch].end) * 1000;
            ++stretch;
            joined = trackSeconds;
        } else {
            joined += trackSeconds;
            heard = (sounds[stretch].length() - joined) * 1000;
        }
        over.push_back(heard - gapsMs[i]);
        std::printf("gap %5.0f ms: heard %8.2f ms (%+7.2f)\n", gapsMs[i], heard, heard - gapsMs[i]);
    }
    std::sort(over.begin(), over.end());
    std::printf("silence beyond the gap: median %+.2f ms, least %+.2f ms, most %+.2f ms over %zu gaps\n",
                over[over.size() / 2], over.front(), over.back(), over.size());
    std::printf("CPU after the first file: %.2f s per minute (%.2f%% of one core)\n", steadyCpu / steadyMinutes,
                steadyCpu / steadyMinutes / 60 * 100);

    // "Stop recording" at moments spread over tracks, gaps and the opening of files.
    qint64 slowestStopUs = 0;
    for (int i = 0; i < 20; ++i) {
        run.window.ui.startRecording->click();
        QDeadlineTimer until(100 + i * 230);
        while (!until.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QElapsedTimer stopping;
        stopping.start();
        run.window.ui.stopRecording->click();
        slowestStopUs = std::max(slowestStopUs, stopping.nsecsElapsed() / 1000);
    }
    std::printf("Stop recording: slowest of 20 stops %.1f ms\n", double(slowestStopUs) / 1000);
    return 0;
}
